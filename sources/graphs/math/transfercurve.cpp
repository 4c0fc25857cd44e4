#include "transfercurve.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace TransferCurve {

namespace {

// 1/ratio, 0 for an infinite ratio; a ratio below 1 (or not a number) acts as 1:1.
double slopeAbove(double ratio)
{
    return ratio >= 1.0 ? 1.0 / ratio : 1.0;
}

} // namespace

double kneeWidthForOverEasy(double overEasy)
{
    return std::isfinite(overEasy) ? 2.0 * std::max(0.0, overEasy) : 0.0;
}

double Compression::outputLevel(double inputDb) const
{
    const double slope = slopeAbove(ratio);
    const double halfKnee = std::max(0.0, kneeWidthDb) / 2.0;
    const double over = inputDb - thresholdDb;
    double output = inputDb;
    if (over > halfKnee) {
        output = thresholdDb + over * slope;
    } else if (over > -halfKnee) {
        const double intoKnee = over + halfKnee;
        output = inputDb + (slope - 1.0) * intoKnee * intoKnee / (4.0 * halfKnee);
    }
    return output + makeUpGainDb;
}

double Expansion::outputLevel(double inputDb) const
{
    if (inputDb >= thresholdDb)
        return inputDb;
    const double expanded = std::isinf(ratio)
                                ? -std::numeric_limits<double>::infinity()
                                : thresholdDb + (inputDb - thresholdDb) * std::max(1.0, ratio);
    return std::max(expanded, inputDb - std::max(0.0, rangeDb));
}

double Levelling::outputLevel(double inputDb) const
{
    double output = inputDb;
    if (inputDb >= lowThresholdDb) {
        const double halfWindow = std::max(0.0, windowDb) / 2.0;
        const double wanted = std::clamp(inputDb, targetDb - halfWindow, targetDb + halfWindow);
        const double reach = std::max(0.0, maximumGainDb);
        output = inputDb + std::clamp(wanted - inputDb, -reach, reach);
    }
    return std::min(output, limiterThresholdDb);
}

} // namespace TransferCurve
