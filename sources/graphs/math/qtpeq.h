#pragma once

// Biquad design for the equaliser graphs. Plain C++ over doubles: no Qt, no allocation.
// Designed and evaluated in double precision; in single precision high-Q bands at low
// frequencies come out tens of dB wrong.
namespace QtPEQ {

enum eFilterType {
    Peaking = 0,
    PeakingDowl = 1,
    Bandpass = 2,
    Notch = 3,
    Lowpass1 = 4,
    Lowpass2 = 5,
    LowpassResonant = 6,
    Highpass1 = 7,
    Highpass2 = 8,
    HighpassResonant = 9,
    LowShelf1 = 10,
    LowShelf2 = 11,
    LowShelfDowl = 12,
    HighShelf1 = 13,
    HighShelf2 = 14,
    HighShelfDowl = 15,
    Allpass1 = 16,
    Allpass2 = 17,
    PeakingNuq = 18,
    Flat = 19,
    PeakingJqPlus = 20,
    PeakingMorla = 21,
    LowShelfJqPlus = 22,
    HighShelfJqPlus = 23,
};

// One second-order section. a1 and a2 are stored negated: the section computes
// y[n] = b0 x[n] + b1 x[n-1] + b2 x[n-2] + a1 y[n-1] + a2 y[n-2].
struct sBiquadCoefs
{
    double b0 = 1.0;
    double b1 = 0.0;
    double b2 = 0.0;
    double a1 = 0.0;
    double a2 = 0.0;
};

constexpr double kSampleRate = 72000.0;

// Designs the peaking and shelving types the graphs use (PeakingDowl, LowShelfDowl,
// HighShelfDowl, PeakingNuq). Any other type, and any non-finite input, gives a flat section.
void FilterDesign(double frequency, double gainDB, double qOrSlope, double sampleRate,
                  eFilterType type, sBiquadCoefs* out);

// Bilinear transform of (N2 s^2 + N1 s + N0) / (E2 s^2 + E1 s + E0) with s = 2c (1-z^-1)/(1+z^-1).
void BilinearTx2nd(double N2, double N1, double N0, double E2, double E1, double E0, double c,
                   sBiquadCoefs* out);

// Magnitude of the section in dB at `frequency` Hz for the sample period `T` seconds, by the
// closed form and the fast logarithm of biquadmagnitude.h (within 0.006 dB of the exact level).
double biquadGainDB(const sBiquadCoefs& coefs, double frequency, double T);

} // namespace QtPEQ
