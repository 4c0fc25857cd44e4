#pragma once

#include "devicemodel.h"
#include "valueformat.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

// One variable of the device: a number with range and unit, an enumeration or a text.
// Knows how its value reads and writes in each form a console path can ask for. A moving
// variable (a level meter, a clip indicator) reads differently every time, by the clock.
class StateVariable
{
public:
    using Kind = DeviceModel::Kind;
    // What a path below the variable addresses: the value itself, the value in percent of the
    // range, the range limits, or the list of enumeration entries.
    enum class Aspect { Value, Percent, Minimum, Maximum, Entries };

    // Starts at the model's default value.
    explicit StateVariable(const DeviceModel::Variable& description);

    QString path() const { return m_path; }
    Kind kind() const { return m_kind; }
    QStringList entries() const { return m_entries; }

    // A meter or indicator: its value follows the clock, not the settings.
    bool moves() const { return m_motionPeriodMs > 0; }
    bool supports(Aspect aspect) const;
    // The value as the device writes it for `aspect` (not for Entries).
    QString text(Aspect aspect) const;
    // Takes a value written in the form of `aspect` (Value or Percent). Numbers are clamped
    // to the range; an enumeration accepts only one of its entries.
    bool assign(Aspect aspect, const QString& text, QString* error);
    // Gives an enumeration new entries (false for any other kind). A value that is no longer an
    // entry becomes the first entry.
    bool replaceEntries(const QStringList& entries);

    // The number as it reads now, and the bottom of its range.
    double number() const { return currentNumber(); }
    double minimum() const { return m_minimum; }
    // A number that reads another part of the device (an analyser band): `reading` gives it,
    // held inside the range, in place of the stored value.
    void setReading(std::function<double()> reading) { m_reading = std::move(reading); }
    // A text that reads another part of the device (a clip indicator its channel's level).
    void setTextReading(std::function<QString()> reading) { m_textReading = std::move(reading); }

private:
    double currentNumber() const;
    QString currentText() const;

    QString m_path;
    Kind m_kind;
    double m_minimum = 0;
    double m_maximum = 0;
    double m_number = 0;
    ValueFormat m_format;
    int m_motionPeriodMs = 0;
    std::function<double()> m_reading;
    std::function<QString()> m_textReading;
    QStringList m_entries;
    QString m_text;
};
