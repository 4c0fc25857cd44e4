#include "crossovercurvecalculator.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

const double kLogSpan =
    std::log10(CrossoverCurveCalculator::kHighHz / CrossoverCurveCalculator::kLowHz);

// N(x) = (1 + x^power)^-exponent: Butterworth n is (2n, 1/2), Linkwitz-Riley 2k is (2k, 1).
struct SlopeShape
{
    int power;
    double exponent;
};

SlopeShape shapeOf(CrossoverCurveCalculator::CrossoverSlopeType type)
{
    if (type >= CrossoverCurveCalculator::BW6 && type <= CrossoverCurveCalculator::BW48)
        return {2 * (type + 1), 0.5};
    if (type >= CrossoverCurveCalculator::LR12 && type <= CrossoverCurveCalculator::LR48)
        return {2 * (type - CrossoverCurveCalculator::LR12 + 1), 1.0};
    return {0, 0.0};
}

bool validBand(int band)
{
    return band >= 0 && band < CrossoverCurveCalculator::kMaxBands;
}

} // namespace

CrossoverCurveCalculator::CrossoverSlopeType
CrossoverCurveCalculator::slopeTypeForWord(std::string_view word)
{
    static const std::string_view words[] = {"BW 6",  "BW 12", "BW 18", "BW 24", "BW 30", "BW 36",
                                             "BW 42", "BW 48", "LR 12", "LR 24", "LR 36", "LR 48"};
    const auto* found = std::find(std::begin(words), std::end(words), word);
    if (found == std::end(words))
        return Unfiltered;
    return static_cast<CrossoverSlopeType>(found - std::begin(words));
}

double CrossoverCurveCalculator::ComputeNormalizedResult(CrossoverSlopeType type, double x)
{
    const SlopeShape shape = shapeOf(type);
    if (shape.power == 0)
        return 1.0;
    return std::pow(1.0 + std::pow(x, shape.power), -shape.exponent);
}

double CrossoverCurveCalculator::slopeDb(CrossoverSlopeType type, double x)
{
    // In logarithms, so that far stop bands do not underflow.
    const SlopeShape shape = shapeOf(type);
    if (shape.power == 0)
        return 0.0;
    return -16.0 * shape.exponent * std::log1p(std::pow(x, shape.power)) / std::log(10.0);
}

bool CrossoverCurveCalculator::setValue(int band, Parameter parameter, double value)
{
    if (!validBand(band) || std::isnan(value))
        return false;
    Band& r = bands[band];
    double* field = &r.Gain;
    double stored = std::clamp(value, kLowDb, kHighDb);
    if (parameter == HPFrequency) {
        field = &r.HPFrequency;
        stored = value == 0.0 ? kLowHz : std::clamp(value, kLowHz, kHighHz);
    } else if (parameter == LPFrequency) {
        field = &r.LPFrequency;
        stored = value == 0.0 ? kHighHz : std::clamp(value, kLowHz, kHighHz);
    }
    if (*field == stored)
        return false;
    *field = stored;
    return true;
}

bool CrossoverCurveCalculator::setSlope(int band, Filter filter, CrossoverSlopeType type)
{
    if (!validBand(band))
        return false;
    std::int8_t& field = filter == HighPass ? bands[band].HPType : bands[band].LPType;
    const std::int8_t stored = type >= BW6 && type <= LR48 ? type : Unfiltered;
    if (field == stored)
        return false;
    field = stored;
    return true;
}

double CrossoverCurveCalculator::ComputeGain(double frequency, int band) const
{
    if (isEmpty() || !validBand(band))
        return 0.0;
    return std::pow(10.0, ComputeGainDB(frequency, band) / 16.0);
}

double CrossoverCurveCalculator::ComputeGainDB(double frequency, int band) const
{
    if (isEmpty() || !validBand(band) || !(frequency > 0.0))
        return 0.0;
    const Band& r = bands[band];
    const double hp = std::max(kLowHz, r.HPFrequency) / frequency;
    const double lp = frequency / std::min(kHighHz, r.LPFrequency);
    return r.Gain + slopeDb(static_cast<CrossoverSlopeType>(r.HPType), hp) +
           slopeDb(static_cast<CrossoverSlopeType>(r.LPType), lp);
}

double CrossoverCurveCalculator::xForFreq(double frequency) const
{
    if (isEmpty() || !(frequency > 0.0))
        return 0.0;
    return width * std::log10(std::clamp(frequency, kLowHz, kHighHz) / kLowHz) / kLogSpan;
}

double CrossoverCurveCalculator::frequencyForX(double x) const
{
    if (isEmpty() || std::isnan(x))
        return 0.0;
    return kLowHz * std::pow(10.0, std::clamp(x, 0.0, width) / width * kLogSpan);
}

double CrossoverCurveCalculator::yForGain(double gainDb) const
{
    if (isEmpty() || std::isnan(gainDb))
        return 0.0;
    return 2.0 * height * (std::clamp(gainDb, kLowDb, kHighDb) - kLowDb) / (kHighDb - kLowDb);
}

double CrossoverCurveCalculator::gainForY(double y) const
{
    if (isEmpty() || std::isnan(y))
        return kLowDb;
    return std::clamp(y, 0.0, height) / height * (kHighDb - kLowDb) + kLowDb;
}

std::vector<CrossoverCurveCalculator::Point> CrossoverCurveCalculator::curvePoints(int band) const
{
    std::vector<Point> points;
    if (validBand(band)) {
        for (int x = 0; x < width; x += kSampleStep)
            points.push_back({double(x), yForGain(ComputeGainDB(frequencyForX(x), band))});
    }
    points.push_back({std::max(width, 0.0), 0.0});
    return points;
}

std::pair<CrossoverCurveCalculator::Point, CrossoverCurveCalculator::Point>
CrossoverCurveCalculator::handles(int band) const
{
    if (!validBand(band))
        return {};
    const Band& r = bands[band];
    return {{xForFreq(r.HPFrequency), yForGain(ComputeGainDB(r.HPFrequency, band))},
            {xForFreq(r.LPFrequency), yForGain(ComputeGainDB(r.LPFrequency, band))}};
}
