#include "bandcurvesampler.h"

#include "biquadmagnitude.h"
#include "curvecalculator.h"
#include "logfrequencyaxis.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// Processors with AVX2 and FMA run a clone of the column loop four lanes wide instead of two. Not
// under ThreadSanitizer: the clone resolver runs at load time, before its runtime is ready.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && !defined(__SANITIZE_THREAD__)
#define QX8_CLONED_FOR_AVX2 __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define QX8_CLONED_FOR_AVX2
#endif

QX8_CLONED_FOR_AVX2 void sampleColumns(const double* phi, std::size_t count,
                                       const QtPEQ::MagnitudeTerms& terms,
                                       const LevelMapping& mapping, double* out)
{
    // Local copies: writes through `out` cannot touch them, so the loop vectorises.
    const QtPEQ::MagnitudeTerms t = terms;
    const LevelMapping m = mapping;
    for (std::size_t x = 0; x < count; ++x)
        out[x] = m.apply(t.db(phi[x]));
}

} // namespace

void BandCurveSampler::setAxis(const LogFrequencyAxis& axis, int width)
{
    m_phi.resize(width > 0 ? static_cast<std::size_t>(width) : 0);
    const double radiansPerHz = 3.141592653589793 / QtPEQ::kSampleRate;
    for (std::size_t x = 0; x < m_phi.size(); ++x) {
        const double s = std::sin(radiansPerHz * axis.frequencyAt(double(x), width));
        m_phi[x] = s * s;
    }
}

void BandCurveSampler::sampleBand(CurveCalculator& calculator, int band,
                                  const LevelMapping& mapping, std::vector<double>& out) const
{
    out.resize(m_phi.size());
    if (band < 0 || band >= CurveCalculator::kMaxBands || calculator.bands[band].Gain == 0.0) {
        std::fill(out.begin(), out.end(), mapping.apply(0.0));
        return;
    }
    calculator.prep(band);
    sample(QtPEQ::MagnitudeTerms::of(calculator.coefs), mapping, out.data());
}

void BandCurveSampler::sample(const QtPEQ::MagnitudeTerms& terms, const LevelMapping& mapping,
                              double* out) const
{
    sampleColumns(m_phi.data(), m_phi.size(), terms, mapping, out);
}

void BandCurveSampler::smoothedTotal(const std::vector<std::vector<double>>& curves, int width,
                                     std::vector<double>& total)
{
    total.assign(width > 0 ? static_cast<std::size_t>(width) : 0, 0.0);
    double* sum = total.data();
    for (const std::vector<double>& curve : curves) {
        const std::size_t count = std::min(curve.size(), total.size());
        if (count == 0)
            continue;
        const double* point = curve.data();
        for (std::size_t x = 0; x + 1 < count; ++x)
            sum[x] += (point[x] + point[x + 1]) * 0.5;
        sum[count - 1] += point[count - 1];
    }
    if (!total.empty())
        total.back() = 0.0;
}
