#pragma once

#include "valueformat.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

// One variable of the device: a number with range and unit, an enumeration or a text.
// Knows how its value reads and writes in each form a console path can ask for. A moving
// variable (a level meter, a clip indicator) reads differently every time, by the clock.
class StateVariable
{
public:
    enum class Kind { Number, Enumeration, Text };
    // What a path below the variable addresses: the value itself, the value in percent of the
    // range, the range limits, or the list of enumeration entries.
    enum class Aspect { Value, Percent, Minimum, Maximum, Entries };

    // Builds a variable from its model entry; returns nothing and sets `error` when the entry
    // is inconsistent (unknown type, empty range, default outside the entries).
    static std::optional<StateVariable> fromJson(const QString& path, const QJsonObject& entry,
                                                 QString* error);

    QString path() const { return m_path; }
    Kind kind() const { return m_kind; }
    QStringList entries() const { return m_entries; }

    bool supports(Aspect aspect) const;
    // The value as the device writes it for `aspect` (not for Entries).
    QString text(Aspect aspect) const;
    // Takes a value written in the form of `aspect` (Value or Percent). Numbers are clamped
    // to the range; an enumeration accepts only one of its entries.
    bool assign(Aspect aspect, const QString& text, QString* error);

private:
    double currentNumber() const;
    QString currentText() const;

    QString m_path;
    Kind m_kind = Kind::Text;
    double m_minimum = 0;
    double m_maximum = 0;
    double m_number = 0;
    ValueFormat m_format;
    int m_motionPeriodMs = 0;
    QStringList m_entries;
    QString m_text;
};
