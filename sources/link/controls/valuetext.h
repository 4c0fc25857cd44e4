#pragma once

#include <QString>

#include <optional>

// The number in a value text as the device writes it: a number with a unit after it ("kHz",
// "Hz", "dB", "dB/s", "%", ":1", " deg", "ms", "s"), with the ratio prefix "1:" before it, or
// one of the words "On" (1), "Off" (0) and "Inf" (+infinity). Units are matched in any letter
// case, with or without a blank before them; kHz counts in Hz. Every bound control reads device
// numbers through it, each adding the exceptions its own reading has.
class ValueText
{
public:
    // Nothing for a text that holds no number (empty, "Out", "abc").
    static std::optional<double> number(const QString& text);
};
