#pragma once

#include "devicemodel.h"

#include <QString>

#include <optional>

// A number the user typed for a number variable of the device model, in the unit of the field
// it was typed into (the variable's own, or one of the units it is shown in: "ms", "ft", "m").
// Taken only when it is written as digits with an optional sign and a point for decimals (the
// field's unit may follow) and lies inside the variable's range once put on its resolution; it
// is then written in the variable's own unit. Anything else is refused with a reason that names
// the range in the field's unit. An exponent or a decimal comma is refused too: "1e3" may be a
// slip for "13", and "1,000" may mean one or a thousand.
class TypedNumber
{
public:
    struct Reading
    {
        std::optional<QString> written; // the value text to write ("3.46ms")
        QString refusal;                // why nothing is written
    };

    static Reading read(const DeviceModel::Variable& variable, const QString& unit,
                        const QString& typed);
};
