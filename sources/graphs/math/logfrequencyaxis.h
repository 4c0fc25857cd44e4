#pragma once

// A logarithmic frequency axis from `low` Hz at x = 0 to `high` Hz at x = width.
class LogFrequencyAxis
{
public:
    LogFrequencyAxis(double lowHz, double highHz);

    static LogFrequencyAxis parametricEq() { return {20.0, 22000.0}; }
    static LogFrequencyAxis nuq() { return {20.0, 20000.0}; }
    static LogFrequencyAxis crossover() { return {16.0, 20000.0}; }

    double low() const { return m_low; }
    double high() const { return m_high; }

    // 0 for an empty width; x is held inside [0, width].
    double frequencyAt(double x, double width) const;
    // 0 for an empty width or a frequency that is not a positive number; else held inside the axis.
    double xFor(double frequency, double width) const;

private:
    double m_low;
    double m_high;
    double m_logLow;
    double m_logSpan;
};
