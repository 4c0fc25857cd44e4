#include "logfrequencyaxis.h"

#include <algorithm>
#include <cmath>

LogFrequencyAxis::LogFrequencyAxis(double lowHz, double highHz)
    : m_low(lowHz)
    , m_high(highHz)
    , m_logLow(std::log10(lowHz))
    , m_logSpan(std::log10(highHz / lowHz))
{
}

double LogFrequencyAxis::frequencyAt(double x, double width) const
{
    if (!(width > 0.0) || !std::isfinite(x))
        return 0.0;
    return std::pow(10.0, m_logLow + m_logSpan * std::clamp(x, 0.0, width) / width);
}

double LogFrequencyAxis::xFor(double frequency, double width) const
{
    if (!(width > 0.0) || !(frequency > 0.0) || !std::isfinite(frequency))
        return 0.0;
    return width * (std::log10(std::clamp(frequency, m_low, m_high)) - m_logLow) / m_logSpan;
}
