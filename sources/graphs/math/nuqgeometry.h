#pragma once

#include "levelmapping.h"

// Pixel frame of the Nuq graph: the notches hang from the top edge; a curve value is the
// height above the bottom of the upper half (0 dB at H, -20 dB at -H, so the item's bottom).
class NuqGeometry
{
public:
    static constexpr double kRangeDb = 20.0;

    NuqGeometry(double width, double halfHeight);

    // Curve samples: heights above the bottom of the upper half, levels held inside +-20 dB.
    LevelMapping levelMapping() const;

private:
    double m_width;
    double m_halfHeight;
};
