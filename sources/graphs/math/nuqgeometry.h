#pragma once

#include "logfrequencyaxis.h"

// Pixel frame of the Nuq graph: the notches hang from the top edge; a curve value is the
// height above the bottom of the upper half (0 dB at H, -20 dB at -H, so the item's bottom).
class NuqGeometry
{
public:
    static constexpr double kRangeDb = 20.0;

    NuqGeometry(double width, double halfHeight);

    const LogFrequencyAxis& axis() const { return m_axis; }
    double curveValue(double gainDb) const;

private:
    double m_width;
    double m_halfHeight;
    LogFrequencyAxis m_axis;
};
