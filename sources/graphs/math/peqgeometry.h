#pragma once

#include "levelmapping.h"
#include "logfrequencyaxis.h"

#include <optional>

// Pixel frame of the parametric-EQ graph: width W, and H = half the item height, the 0 dB
// line lying H below the top. H pixels are 20 dB.
class PeqGeometry
{
public:
    static constexpr double kRangeDb = 20.0;

    struct Handle
    {
        int x;
        int y; // up from the 0 dB line
    };
    struct Setting
    {
        double frequency;
        double gain;
    };

    PeqGeometry(double width, double halfHeight);

    double width() const { return m_width; }
    double halfHeight() const { return m_halfHeight; }

    // Curve samples: heights above the 0 dB line, levels held inside +-20 dB.
    LevelMapping levelMapping() const;
    // Handle of a band; none while the frame is empty or the values are not real readings
    // (a frequency that is not positive, or a value that is not finite).
    std::optional<Handle> handle(double frequency, double gainDb) const;
    // Band setting for a handle dragged to (x, y), y down from the top of the item.
    std::optional<Setting> settingForHandle(double x, double y) const;
    // Overlay curves: x of a frequency, and y up from the bottom of the item of a level.
    double overlayX(double frequency) const;
    double overlayY(double gainDb) const;

private:
    bool isEmpty() const { return !(m_width > 0.0) || !(m_halfHeight > 0.0); }

    double m_width;
    double m_halfHeight;
    LogFrequencyAxis m_axis;
};
