#pragma once

#include "qtpeq.h"

#include <array>
#include <string_view>

// The band parameters of one parametric-EQ or Nuq graph and the biquad of the band last
// prepared. A plotter holds one by value and copies device values into `bands`.
struct CurveCalculator
{
    static constexpr int kMaxBands = 20;

    enum BandType { Bell = 0, LowShelf = 1, HighShelf = 2, OtherType = -1 };
    enum Parameter { Frequency, Gain, Q, Slope };

    struct Band
    {
        double Q = 1.0;
        double Slope = 0.0;
        double Gain = 0.0;
        double Frequency = 22000.0;
        int Type = Bell;
    };

    int mode = 1;
    QtPEQ::sBiquadCoefs coefs;
    int bandCount = 0;
    double samplePeriod = 1.0 / QtPEQ::kSampleRate;
    std::array<Band, kMaxBands> bands{};

    // Designs record `band` into `coefs`; a band outside the records designs a flat section.
    void prep(int band);
    // Magnitude in dB of the band last prepared.
    double gainForFreq(double frequency) const;

    // Stores a device value into band `band`; false when it equals the stored one (a NaN on
    // either side counts as a change) or the band is outside the records.
    bool setValue(int band, Parameter parameter, double value);
    bool setType(int band, int bandType);

    static int bandTypeForWord(std::string_view word);
    static QtPEQ::eFilterType filterTypeFor(int mode, int bandType);
};
