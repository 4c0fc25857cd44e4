#include "valueresolution.h"

#include <QString>
#include <cmath>

double ValueResolution::stepAt(double value) const
{
    for (const DeviceModel::Step& step : m_steps) {
        if (value < step.below)
            return step.size;
    }
    return m_steps.isEmpty() ? 0.0 : m_steps.last().size;
}

double ValueResolution::rounded(double value) const
{
    const double step = stepAt(value);
    if (!(step > 0) || !std::isfinite(value))
        return value;
    const double result = std::round(value / step) * step;
    // No "-0" for a value that rounds to nothing.
    return result == 0.0 ? 0.0 : result;
}

int ValueResolution::decimalsAt(double value, double scale) const
{
    const double step = stepAt(value);
    if (!(step > 0) || !(scale > 0))
        return 0;
    QString text = QString::number(step / scale, 'f', 9);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    const int point = text.indexOf(QLatin1Char('.'));
    return text.size() - point - 1;
}
