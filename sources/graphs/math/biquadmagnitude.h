#pragma once

#include "qtpeq.h"

#include <cfloat>
#include <cstdint>
#include <cstring>

// The per-pixel arithmetic of the band curves, inline so that the sampling loops vectorise:
// |H|^2 in closed form and a cubic base-10 logarithm, no library sin or log per pixel.
namespace QtPEQ {

// Base-10 logarithm from the exponent and a cubic in the mantissa (in [0.5, 1)); within
// 4.0e-4 decades of the true value, so a level in dB from two of them is within 0.006 dB.
// Zero reads as m = 0.5, e = -32, which is 2^-33; so does anything else without a normal
// exponent (a tiny negative residue of rounding, a subnormal, NaN).
inline double fastLog10(double x)
{
    constexpr double kZero = 0x1p-33;
    const double v = x >= DBL_MIN ? x : kZero;
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    // v is positive, so the top bits are the biased exponent alone; placed in the mantissa of
    // 2^52 they turn into a double without an integer conversion.
    const std::uint64_t exponentBits = (bits >> 52) | 0x4330000000000000ULL;
    const std::uint64_t mantissaBits = (bits & 0x000fffffffffffffULL) | 0x3fe0000000000000ULL;
    double biasedExponent;
    double m;
    std::memcpy(&biasedExponent, &exponentBits, sizeof biasedExponent);
    std::memcpy(&m, &mantissaBits, sizeof m);
    const double e = biasedExponent - (0x1p52 + 1022.0);
    return 0.30103 * (e + ((1.2313379 * m - 4.1180587) * m + 6.021541) * m - 3.1338398);
}

// |H|^2 of one section as numerator and denominator quadratics in phi = sin^2(pi f T):
// N = n0 + phi (n1 + phi n2), D likewise. The denominator is the numerator's formula applied to
// (1, -a1, -a2), so a section whose poles cancel its zeros gives N and D bit for bit equal.
struct MagnitudeTerms
{
    double n0, n1, n2;
    double d0, d1, d2;

    static MagnitudeTerms of(const sBiquadCoefs& c)
    {
        MagnitudeTerms terms;
        quadratic(c.b0, c.b1, c.b2, &terms.n0, &terms.n1, &terms.n2);
        quadratic(1.0, -c.a1, -c.a2, &terms.d0, &terms.d1, &terms.d2);
        return terms;
    }

    double db(double phi) const
    {
        const double n = n0 + phi * (n1 + phi * n2);
        const double d = d0 + phi * (d1 + phi * d2);
        return 10.0 * (fastLog10(n) - fastLog10(d));
    }

private:
    static void quadratic(double c0, double c1, double c2, double* q0, double* q1, double* q2)
    {
        *q0 = (c0 + c1 + c2) * (c0 + c1 + c2);
        *q1 = -4.0 * (c0 * c1 + 4.0 * c0 * c2 + c1 * c2);
        *q2 = 16.0 * c0 * c2;
    }
};

} // namespace QtPEQ
