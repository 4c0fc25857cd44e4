#include "overlaycurve.h"

#include <cmath>
#include <iterator>

namespace {

const double kDecade[] = {
    10,   10.15, 10.3, 10.45, 10.6, 10.75, 10.9, 11.05, 11.2, 11.35, 11.5, 11.65, 11.8, 12,
    12.2, 12.35, 12.5, 12.65, 12.8, 13,    13.2, 13.4,  13.6, 13.8,  14,   14.25, 14.5, 14.75,
    15,   15.25, 15.5, 15.75, 16,   16.25, 16.5, 16.75, 17,   17.25, 17.5, 17.75, 18,   18.25,
    18.5, 18.75, 19,   19.25, 19.5, 19.75, 20,   20.3,  20.6, 20.9,  21.2, 21.5,  21.8, 22.1,
    22.4, 22.7,  23,   23.3,  23.6, 23.9,  24.3, 24.6,  25,   25.4,  25.8, 26.1,  26.5, 26.8,
    27.2, 27.6,  28,   28.5,  29,   29.5,  30,   30.3,  30.7, 31.1,  31.5, 32,    32.5, 33,
    33.5, 34,    34.5, 35,    35.5, 36,    36.5, 37,    37.5, 38.1,  38.7, 39.3,  40,   40.6,
    41.2, 41.8,  42.5, 43.1,  43.7, 44.3,  45,   45.6,  46.2, 46.8,  47.5, 48.1,  48.7, 49.3,
    50,   50.7,  51.5, 52.2,  53,   53.7,  54.5, 55.2,  56,   57,    58,   59,    60,   60.7,
    61.5, 62.2,  63,   64,    65,   66,    67,   68,    69,   70,    71,   72,    73,   74,
    75,   76.2,  77.5, 78.7,  80,   81.2,  82.5, 83.7,  85,   86.2,  87.5, 88.7,  90,   91.2,
    92.5, 93.7,  95,   96.2,  97.5, 98.7,
};
constexpr int kPointsPerDecade = 160;
constexpr int kFirstTablePoint = 95; // 10 Hz
static_assert(std::size(kDecade) == kPointsPerDecade, "one decade of points");

} // namespace

OverlayCurve::OverlayCurve(const QString& text)
{
    if (text.isEmpty())
        return;
    const QStringList pieces = text.split(QLatin1Char(' '));
    m_levels.reserve(pieces.size());
    for (const QString& piece : pieces)
        m_levels.append(piece.toFloat());
}

double OverlayCurve::frequency(int i)
{
    // Below 10 Hz the table rises in 0.1 Hz steps; those points are never drawn.
    if (i < kFirstTablePoint)
        return i < 0 ? 0.0 : 0.1 * i;
    const int offset = i - kFirstTablePoint;
    return kDecade[offset % kPointsPerDecade] * std::pow(10.0, offset / kPointsPerDecade);
}
