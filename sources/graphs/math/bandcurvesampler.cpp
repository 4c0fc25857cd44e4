#include "bandcurvesampler.h"

#include "curvecalculator.h"
#include "logfrequencyaxis.h"

#include <cstddef>

std::vector<double> BandCurveSampler::pixelFrequencies(const LogFrequencyAxis& axis, int width)
{
    std::vector<double> frequencies;
    if (width <= 0)
        return frequencies;
    frequencies.reserve(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        frequencies.push_back(axis.frequencyAt(x, width));
    return frequencies;
}

std::vector<double> BandCurveSampler::sampleDb(CurveCalculator& calculator, int band,
                                               const std::vector<double>& frequencies)
{
    std::vector<double> gains(frequencies.size(), 0.0);
    if (band < 0 || band >= CurveCalculator::kMaxBands || calculator.bands[band].Gain == 0.0)
        return gains;
    calculator.prep(band);
    for (std::size_t x = 0; x < frequencies.size(); ++x)
        gains[x] = calculator.gainForFreq(frequencies[x]);
    return gains;
}

std::vector<double> BandCurveSampler::smoothedTotal(const std::vector<std::vector<double>>& curves,
                                                    int width)
{
    std::vector<double> total(width > 0 ? static_cast<std::size_t>(width) : 0, 0.0);
    for (const std::vector<double>& curve : curves) {
        for (std::size_t x = 0; x < total.size() && x < curve.size(); ++x) {
            const bool hasRight = x + 1 < total.size() && x + 1 < curve.size();
            total[x] += (curve[x] + (hasRight ? curve[x + 1] : curve[x])) * 0.5;
        }
    }
    if (!total.empty())
        total.back() = 0.0;
    return total;
}
