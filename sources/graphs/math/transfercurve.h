#pragma once

#include <vector>

// The steady-state laws of the dynamics processors: the output level (dB) at which a steady
// input level (dB) leaves them. A ratio or range may be +infinity (the device writes "Inf"): a
// limiter is a compressor whose ratio is infinite.
namespace TransferCurve {

// Width in dB of the soft knee, centred on the threshold, for an OverEasy setting (0 is a hard
// knee, each step 2 dB softer).
double kneeWidthForOverEasy(double overEasy);

// Compressor and limiter: above the threshold the level rises by 1 dB for every `ratio` dB in,
// through a quadratic knee; then the make-up gain.
struct Compression
{
    double thresholdDb = 0.0;
    double ratio = 1.0;
    double kneeWidthDb = 0.0;
    double makeUpGainDb = 0.0;

    double outputLevel(double inputDb) const;
};

// Noise gate: below the threshold the level falls by `ratio` dB for every dB in (1:ratio),
// never more than `rangeDb` below the input.
struct Expansion
{
    double thresholdDb = 0.0;
    double ratio = 1.0;
    double rangeDb = 0.0;

    double outputLevel(double inputDb) const;
};

// Automatic gain control: an input from the low threshold up is moved into the window around
// the target by at most the maximum gain either way; below the low threshold it passes as it
// is. The AGC's limiter holds every output at its threshold.
struct Levelling
{
    double targetDb = 0.0;
    double windowDb = 0.0;
    double maximumGainDb = 0.0;
    double lowThresholdDb = 0.0;
    double limiterThresholdDb = 0.0;

    double outputLevel(double inputDb) const;
};

struct Point
{
    double inputDb;
    double outputDb;
};

// The law at every `stepDb` from `fromDb` up to `toDb`, both ends included; empty for an empty
// or reversed span or a step that is not positive.
template<typename Law>
std::vector<Point> sample(const Law& law, double fromDb, double toDb, double stepDb)
{
    std::vector<Point> points;
    if (!(stepDb > 0.0) || !(toDb >= fromDb))
        return points;
    const int steps = static_cast<int>((toDb - fromDb) / stepDb + 0.5);
    points.reserve(steps + 1);
    for (int i = 0; i <= steps; ++i) {
        const double input = i == steps ? toDb : fromDb + i * stepDb;
        points.push_back({input, law.outputLevel(input)});
    }
    return points;
}

} // namespace TransferCurve
