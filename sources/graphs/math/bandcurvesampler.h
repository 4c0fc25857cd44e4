#pragma once

#include <vector>

class LogFrequencyAxis;
struct CurveCalculator;

// Per-pixel sampling of parametric bands, shared by the parametric-EQ and Nuq plotters.
class BandCurveSampler
{
public:
    // Frequency of every whole pixel column 0 .. width-1.
    static std::vector<double> pixelFrequencies(const LogFrequencyAxis& axis, int width);

    // Response of `band` in dB at each of `frequencies`; all 0 when the band's gain is exactly 0
    // or the band is outside the calculator's records.
    static std::vector<double> sampleDb(CurveCalculator& calculator, int band,
                                        const std::vector<double>& frequencies);

    // The total of band curves over `width` pixels: at each x the sum over the bands of the mean
    // of the point and its right-hand neighbour (the point itself at the right edge); the last
    // point is 0. Curves shorter than `width` (left from an older width) count as 0 where missing.
    static std::vector<double> smoothedTotal(const std::vector<std::vector<double>>& curves,
                                             int width);
};
