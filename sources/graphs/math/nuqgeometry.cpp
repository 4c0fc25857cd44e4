#include "nuqgeometry.h"

NuqGeometry::NuqGeometry(double width, double halfHeight) : m_width(width), m_halfHeight(halfHeight)
{
}

LevelMapping NuqGeometry::levelMapping() const
{
    if (!(m_width > 0.0) || !(m_halfHeight > 0.0))
        return {kRangeDb, 0.0, 0.0};
    return {kRangeDb, m_halfHeight / (kRangeDb / 2.0), m_halfHeight};
}
