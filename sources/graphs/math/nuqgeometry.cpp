#include "nuqgeometry.h"

#include <algorithm>
#include <cmath>

NuqGeometry::NuqGeometry(double width, double halfHeight)
    : m_width(width), m_halfHeight(halfHeight), m_axis(LogFrequencyAxis::nuq())
{
}

double NuqGeometry::curveValue(double gainDb) const
{
    if (!(m_width > 0.0) || !(m_halfHeight > 0.0))
        return 0.0;
    const double gain = std::isnan(gainDb) ? 0.0 : std::clamp(gainDb, -kRangeDb, kRangeDb);
    return gain * m_halfHeight / (kRangeDb / 2.0) + m_halfHeight;
}
