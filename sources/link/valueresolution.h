#pragma once

#include "devicemodel.h"

#include <QList>

// The resolution of a number variable of the device model (0.1 dB; 1 Hz below 1 kHz and 10 Hz
// above): a value the user sets is written rounded to it, and a read-out shows no more decimals
// than it has. Without steps nothing is rounded.
class ValueResolution
{
public:
    explicit ValueResolution(const QList<DeviceModel::Step>& steps) : m_steps(steps) {}

    // The step at `value`; 0 without steps.
    double stepAt(double value) const;
    // `value` on the nearest multiple of its step; unchanged when there is no step or no number.
    double rounded(double value) const;
    // The decimals of the step at `value` shown in a unit `scale` times the variable's own
    // (a step of 10 Hz in kHz has 2).
    int decimalsAt(double value, double scale = 1.0) const;

private:
    QList<DeviceModel::Step> m_steps;
};
