#pragma once

#include <vector>

// Pixel frame of the graphic-EQ histogram: 31 columns across the item, +-12 dB over half the
// item height above and below the middle line.
class GeqGeometry
{
public:
    static constexpr int kBandCount = 31;
    static constexpr double kRangeDb = 12.0;
    // A sweep moves the gain by 0.05 dB per pixel above the middle line.
    static constexpr double kSweepDbPerPixel = 0.05;

    struct Rect
    {
        int left;
        int top;
        int width;
        int height;
    };
    struct Handle
    {
        int x;
        int y; // up from the middle line
    };

    GeqGeometry(double width, double height);

    // The band's label, which is also its state-variable name; null outside the bands.
    static const char* label(int band);

    double columnWidth() const;
    // The bar of band `band` at `gainDb`, normalised (positive height); 0 dB shows a 2-pixel bar
    // below the middle line.
    Rect bar(int band, double gainDb) const;
    Handle handle(int band, double gainDb) const;
    // Gain for a handle dragged to y (down from the top), held inside [lowDb, highDb].
    double gainForHandle(double y, double lowDb = -kRangeDb, double highDb = kRangeDb) const;
    // Gain for a sweep point at y (down from the top), held inside [lowDb, highDb].
    double gainForSweep(double y, double lowDb = -kRangeDb, double highDb = kRangeDb) const;
    // Columns a sweep from previousX to x sets, in the order of the movement; previousX 0 means
    // the first move after a touch. Columns outside the histogram are left out.
    std::vector<int> sweepColumns(double previousX, double x) const;

private:
    bool isEmpty() const { return !(m_width > 0.0) || !(m_height > 0.0); }
    int columnAt(double x) const;

    double m_width;
    double m_height;
};
