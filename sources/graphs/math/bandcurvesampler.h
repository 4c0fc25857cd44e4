#pragma once

#include "levelmapping.h"

#include <vector>

class LogFrequencyAxis;
struct CurveCalculator;
namespace QtPEQ {
struct MagnitudeTerms;
}

// Samples parametric band responses at every pixel column of a log-frequency axis, for the
// parametric-EQ and Nuq plotters. The per-pixel term that no band changes, sin^2(pi f T), is
// computed once per axis; a band costs one design and a vectorised pass over the columns.
class BandCurveSampler
{
public:
    // Columns 0 .. width-1 of `axis`; none for an empty width.
    void setAxis(const LogFrequencyAxis& axis, int width);
    int width() const { return static_cast<int>(m_phi.size()); }

    // Band `band` of `calculator` mapped at every column into `out`: flat at 0 dB when the
    // band's gain is exactly 0 or the band is outside the records, else as designed by `prep`.
    void sampleBand(CurveCalculator& calculator, int band, const LevelMapping& mapping,
                    std::vector<double>& out) const;

    // The total of band curves into `total` (`width` points): at each x the sum over the bands
    // of the mean of the point and its right-hand neighbour (the point itself at a curve's right
    // edge); the last point is 0. Curves shorter than `width` count as 0 where missing.
    static void smoothedTotal(const std::vector<std::vector<double>>& curves, int width,
                              std::vector<double>& total);

private:
    void sample(const QtPEQ::MagnitudeTerms& terms, const LevelMapping& mapping, double* out) const;

    std::vector<double> m_phi;
};
