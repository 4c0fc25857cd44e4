#include "analyserbands.h"

#include <cmath>

namespace AnalyserBands {

namespace {

constexpr int kOneKilohertzBand = 18;

} // namespace

double centreHz(int band)
{
    return 1000.0 * std::exp2((band - kOneKilohertzBand) / 3.0);
}

double lowerEdgeHz(int band)
{
    return centreHz(band) * std::exp2(-1.0 / 6.0);
}

double upperEdgeHz(int band)
{
    return centreHz(band) * std::exp2(1.0 / 6.0);
}

} // namespace AnalyserBands
