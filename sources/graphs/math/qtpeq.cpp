#include "qtpeq.h"

#include "biquadmagnitude.h"

#include <algorithm>
#include <cmath>

namespace QtPEQ {

namespace {

constexpr double kPi = 3.141592653589793;
// The device's bell width factor: 10^0.75 times its own scale.
constexpr double kDowlQFactor = 5.623413 * 0.1837329873930997;

// Keeps tan() away from its pole and the log axis away from 0 Hz.
double safeFrequency(double frequency, double sampleRate)
{
    return std::clamp(frequency, 1.0, 0.45 * sampleRate);
}

// Shelf slope to the analogue prototype's k; slopes past ~29.6 would divide by zero.
double shelfK(double slope)
{
    const double s = std::clamp(slope, 0.0, 29.0);
    return std::sqrt(5.623413 * s / (55.671444 - 1.8806658 * s));
}

void setNormalised(double n0, double n1, double n2, double d, double e1, double e2,
                   sBiquadCoefs* out)
{
    out->b0 = n0 / d;
    out->b1 = n1 / d;
    out->b2 = n2 / d;
    out->a1 = e1 / d;
    out->a2 = e2 / d;
}

void designPeaking(double t, double A, double q, sBiquadCoefs* out)
{
    const double alpha = t * t * q;
    const double beta = 4.0 * q;
    const double gamma = 2.0 * t;
    if (A >= 1.0) {
        setNormalised(alpha + beta + A * gamma, 2.0 * (alpha - beta), alpha + beta - A * gamma,
                      alpha + beta + gamma, -2.0 * (alpha - beta), gamma - alpha - beta, out);
    } else {
        setNormalised(A * (alpha + beta + gamma), 2.0 * A * (alpha - beta),
                      A * (alpha + beta - gamma), gamma + A * (alpha + beta),
                      -2.0 * A * (alpha - beta), gamma - A * (alpha + beta), out);
    }
}

void designLowShelf(double t, double gainDB, double slope, sBiquadCoefs* out)
{
    const double A = std::pow(10.0, 0.05 * std::fabs(gainDB));
    const double r = std::sqrt(A);
    const double k = shelfK(slope);
    const double P = t * t * k;
    const double M = 4.0 * k * r;
    const double flatSide[3] = {P + 2.0 * r * t + M, 2.0 * (P - M), P - 2.0 * r * t + M};
    const double liftSide[3] = {A * P + 2.0 * A * t + M, 2.0 * (A * P - M),
                                A * P - 2.0 * A * t + M};
    const double* num = gainDB >= 0.0 ? liftSide : flatSide;
    const double* den = gainDB >= 0.0 ? flatSide : liftSide;
    setNormalised(num[0], num[1], num[2], den[0], -den[1], -den[2], out);
}

void designHighShelf(double t, double gainDB, double slope, sBiquadCoefs* out)
{
    const double A = std::pow(10.0, 0.05 * std::fabs(gainDB));
    const double r = std::sqrt(A);
    const double k = shelfK(slope);
    const double R = r * t * t * k;
    const double F = 4.0 * k;
    const double flatSide[3] = {R + 2.0 * r * t + F, 2.0 * (R - F), R - 2.0 * r * t + F};
    const double liftSide[3] = {R + 2.0 * A * t + A * F, 2.0 * (R - A * F),
                                R - 2.0 * A * t + A * F};
    const double* num = gainDB >= 0.0 ? liftSide : flatSide;
    const double* den = gainDB >= 0.0 ? flatSide : liftSide;
    setNormalised(num[0], num[1], num[2], den[0], -den[1], -den[2], out);
}

// The Nuq notch widens its bandwidth rule beyond +-6 dB.
double nuqWidth(double gainDB, double A)
{
    if (gainDB >= 6.0)
        return std::sqrt(A * A - 2.0);
    if (gainDB <= -6.0)
        return std::sqrt(1.0 / (A * A) - 2.0);
    return 1.0;
}

} // namespace

void FilterDesign(double frequency, double gainDB, double qOrSlope, double sampleRate,
                  eFilterType type, sBiquadCoefs* out)
{
    *out = sBiquadCoefs{};
    if (!std::isfinite(frequency) || !std::isfinite(gainDB) || !std::isfinite(qOrSlope) ||
        !(sampleRate > 0.0) || qOrSlope < 0.0)
        return;
    const double t = 2.0 * std::tan(kPi * safeFrequency(frequency, sampleRate) / sampleRate);
    const double A = std::pow(10.0, 0.05 * gainDB);
    switch (type) {
    case PeakingDowl:
        designPeaking(t, A, qOrSlope * kDowlQFactor, out);
        break;
    case PeakingNuq:
        designPeaking(t, A, qOrSlope * nuqWidth(gainDB, A), out);
        break;
    case LowShelfDowl:
        designLowShelf(t, gainDB, qOrSlope, out);
        break;
    case HighShelfDowl:
        designHighShelf(t, gainDB, qOrSlope, out);
        break;
    default:
        break;
    }
}

void BilinearTx2nd(double N2, double N1, double N0, double E2, double E1, double E0, double c,
                   sBiquadCoefs* out)
{
    const double c2 = 4.0 * c * c;
    const double D = E2 * c2 + 2.0 * E1 * c + E0;
    out->b0 = (N2 * c2 + 2.0 * N1 * c + N0) / D;
    out->b1 = (2.0 * N0 - 2.0 * N2 * c2) / D;
    out->b2 = (N2 * c2 - 2.0 * N1 * c + N0) / D;
    out->a1 = -(2.0 * E0 - 2.0 * E2 * c2) / D;
    out->a2 = -(E2 * c2 - 2.0 * E1 * c + E0) / D;
}

double biquadGainDB(const sBiquadCoefs& c, double frequency, double T)
{
    const double s = std::sin(kPi * frequency * T);
    return MagnitudeTerms::of(c).db(s * s);
}

} // namespace QtPEQ
