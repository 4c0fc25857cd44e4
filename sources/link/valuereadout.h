#pragma once

#include "devicemodel.h"

#include <QStringList>

#include <optional>

// What a read-out shows of a value of one variable: the number at the variable's resolution,
// with exactly as many decimals as its step has, so that it keeps its width while it changes,
// and the unit beside it, kHz from 1 kHz up ("1.89908kHz" shows "1.90" and "kHz"). A word ("Off",
// "Inf:1"), minutes and seconds, a value in several units at once, and any value of a variable the
// model does not have show as they come, the unit apart.
class ValueReadout
{
public:
    explicit ValueReadout(const DeviceModel::Variable* variable) : m_variable(variable) {}

    // {number, unit} of a device value text.
    QStringList partsOf(const QString& deviceText) const;
    // {number, unit} of a number in the variable's own unit.
    QStringList partsOf(double value) const;
    // The value of the variable that reads widest, among its ends, the number next to an end
    // the device writes as a word ("Inf"), and the last value before each change of resolution
    // ("99.9" Hz before "100"): a cell sized for it shows every value whole. Nothing for a
    // variable whose values show as they come (a word, minutes and seconds, several units).
    std::optional<double> widestValue() const;
    // {number, unit} of the device's text for `value`: the variable's word at an end of its
    // range ("Out", "Inf"), else its number.
    QStringList shownAt(double value) const;

private:
    bool showsAsItComes(const QString& deviceText) const;
    QStringList withUnitApart(const QString& text) const;

    const DeviceModel::Variable* m_variable;
};
