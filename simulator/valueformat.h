#pragma once

#include "devicemodel.h"

#include <QList>
#include <QString>

#include <optional>

// How the device writes a number of one variable: a unit after it ("dB", "ms", ":1"), a prefix
// ("1:"), words at the ends of the range ("Off", "Out", "Inf:1"), several units at once
// ("10ms/11.3ft/3.43m") or minutes and seconds ("1m 30s"). Reads back every form it writes.
class ValueFormat
{
public:
    ValueFormat() = default;
    explicit ValueFormat(const DeviceModel::Variable& description);

    // A number as the device writes it (6 significant digits), and read back.
    static QString numberText(double value);
    static std::optional<double> parseNumber(const QString& text);

    QString text(double value, double minimum, double maximum) const;
    std::optional<double> parse(const QString& text, double minimum, double maximum) const;

private:
    QString plainText(double value) const;
    std::optional<double> parseClock(const QString& text) const;
    std::optional<double> parseUnits(const QString& text) const;

    QString m_unit;
    QString m_prefix;
    QString m_minimumText;
    QString m_maximumText;
    QList<DeviceModel::DisplayUnit> m_units;
    bool m_clock = false;
};
