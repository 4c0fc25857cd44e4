#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The step of a nudge button: by processing-object class, state-variable class and the
// sub-range in which the value lies ("<poClass>:<svClass>:<range>", "-1" without sub-ranges).
// One table shared by every button.
class NudgeSteps
{
public:
    // The step under `key`; 0 for a key that is not in the table.
    static float step(const QString& key);
    // Every key of the table, in table order.
    static QStringList keys();

    // The key for a nudge in `direction` from `value`, given the variable's range list (JSON
    // text, "[]" for none): the first sub-range with room left in that direction. Nothing when
    // the list has no such entry.
    static std::optional<QString> keyFor(const QString& poClass, const QString& svClass,
                                         const QString& rangeList, int direction, double value);
};
