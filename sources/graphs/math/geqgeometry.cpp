#include "geqgeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

double finiteOr(double value, double fallback)
{
    return std::isfinite(value) ? value : fallback;
}

} // namespace

const char* GeqGeometry::label(int band)
{
    static const char* const labels[kBandCount] = {
        "20 Hz",   "25 Hz",   "31.5 Hz",  "40 Hz",    "50 Hz",    "63 Hz",    "80 Hz",    "100 Hz",
        "125 Hz",  "160 Hz",  "200 Hz",   "250 Hz",   "315 Hz",   "400 Hz",   "500 Hz",   "630 Hz",
        "800 Hz",  "1.0 kHz", "1.25 kHz", "1.6 kHz",  "2.0 kHz",  "2.5 kHz",  "3.15 kHz", "4.0 kHz",
        "5.0 kHz", "6.3 kHz", "8.0 kHz",  "10.0 kHz", "12.5 kHz", "16.0 kHz", "20.0 kHz",
    };
    return band >= 0 && band < kBandCount ? labels[band] : nullptr;
}

GeqGeometry::GeqGeometry(double width, double height) : m_width(width), m_height(height) {}

double GeqGeometry::columnWidth() const
{
    return isEmpty() ? 0.0 : m_width / kBandCount;
}

GeqGeometry::Rect GeqGeometry::bar(int band, double gainDb) const
{
    const double c = columnWidth();
    const double left = c / 3.0 * 0.5 + band * c;
    double p = m_height * finiteOr(gainDb, 0.0) * -0.5 / kRangeDb;
    if (p == 0.0)
        p = 2.0;
    Rect r{static_cast<int>(left), static_cast<int>(m_height * 0.5 + 2.0),
           static_cast<int>(c - c / 3.0), static_cast<int>(std::clamp(p, -m_height, m_height))};
    if (r.height < 0) {
        r.top += r.height;
        r.height = -r.height;
    }
    return r;
}

GeqGeometry::Handle GeqGeometry::handle(int band, double gainDb) const
{
    const double gain = std::clamp(finiteOr(gainDb, 0.0), -1e3, 1e3);
    return {static_cast<int>(m_width * band * 0.03125),
            static_cast<int>(gain * (m_height * 0.5 / kRangeDb))};
}

double GeqGeometry::gainForHandle(double y, double lowDb, double highDb) const
{
    if (isEmpty() || !std::isfinite(y))
        return 0.0;
    const double half = m_height * 0.5;
    return std::clamp((half - y) * kRangeDb / half, lowDb, highDb);
}

double GeqGeometry::gainForSweep(double y, double lowDb, double highDb) const
{
    if (!std::isfinite(y))
        return 0.0;
    return std::clamp((m_height * 0.5 - y) * kSweepDbPerPixel, lowDb, highDb);
}

int GeqGeometry::columnAt(double x) const
{
    // Held a little outside the histogram so the cast is defined and the range stays short.
    return static_cast<int>(std::clamp(x / columnWidth(), -2.0, kBandCount + 1.0));
}

std::vector<int> GeqGeometry::sweepColumns(double previousX, double x) const
{
    std::vector<int> columns;
    if (isEmpty() || !std::isfinite(previousX) || !std::isfinite(x))
        return columns;
    const int k = columnAt(x);
    const int j = columnAt(previousX);
    if (previousX == 0.0 || std::abs(k - j) < 2) {
        columns.push_back(k);
    } else {
        const int direction = k > j ? 1 : -1;
        for (int m = j; m != k + direction; m += direction)
            columns.push_back(m);
    }
    columns.erase(std::remove_if(columns.begin(), columns.end(),
                                 [](int m) { return m < 0 || m >= kBandCount; }),
                  columns.end());
    return columns;
}
