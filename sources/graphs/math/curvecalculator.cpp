#include "curvecalculator.h"

void CurveCalculator::prep(int band)
{
    samplePeriod = 1.0 / QtPEQ::kSampleRate;
    if (band < 0 || band >= kMaxBands) {
        coefs = QtPEQ::sBiquadCoefs{};
        return;
    }
    const Band& r = bands[band];
    const double shape = r.Type == Bell ? r.Q : r.Slope;
    const double gain = shape == 0.0 ? 0.0 : r.Gain;
    QtPEQ::FilterDesign(r.Frequency, gain, shape, QtPEQ::kSampleRate, filterTypeFor(mode, r.Type),
                        &coefs);
}

double CurveCalculator::gainForFreq(double frequency) const
{
    return QtPEQ::biquadGainDB(coefs, frequency, samplePeriod);
}

bool CurveCalculator::setValue(int band, Parameter parameter, double value)
{
    if (band < 0 || band >= kMaxBands)
        return false;
    Band& r = bands[band];
    double& field = parameter == Frequency ? r.Frequency
                    : parameter == Gain    ? r.Gain
                    : parameter == Q       ? r.Q
                                           : r.Slope;
    if (field == value)
        return false;
    field = value;
    return true;
}

bool CurveCalculator::setType(int band, int bandType)
{
    if (band < 0 || band >= kMaxBands)
        return false;
    bands[band].Type = bandType;
    return true;
}

int CurveCalculator::bandTypeForWord(std::string_view word)
{
    if (word == "Bell")
        return Bell;
    if (word == "Low Shelf")
        return LowShelf;
    if (word == "High Shelf")
        return HighShelf;
    return OtherType;
}

QtPEQ::eFilterType CurveCalculator::filterTypeFor(int mode, int bandType)
{
    using namespace QtPEQ;
    switch (mode) {
    case 1:
        return bandType == LowShelf    ? LowShelfDowl
               : bandType == HighShelf ? HighShelfDowl
                                       : PeakingDowl;
    case 2:
        return bandType == LowShelf    ? LowShelfJqPlus
               : bandType == HighShelf ? HighShelfJqPlus
                                       : PeakingJqPlus;
    case 3:
        return PeakingNuq;
    default:
        return bandType == LowShelf    ? LowShelfDowl
               : bandType == HighShelf ? HighShelfDowl
                                       : PeakingMorla;
    }
}
