#include "peqgeometry.h"

#include <algorithm>
#include <cmath>

PeqGeometry::PeqGeometry(double width, double halfHeight)
    : m_width(width), m_halfHeight(halfHeight), m_axis(LogFrequencyAxis::parametricEq())
{
}

LevelMapping PeqGeometry::levelMapping() const
{
    return {kRangeDb, isEmpty() ? 0.0 : m_halfHeight / kRangeDb, 0.0};
}

std::optional<PeqGeometry::Handle> PeqGeometry::handle(double frequency, double gainDb) const
{
    if (isEmpty() || !(frequency > 0.0) || !std::isfinite(frequency) || !std::isfinite(gainDb))
        return std::nullopt;
    const double x =
        m_width * std::log(frequency / m_axis.low()) / std::log(m_axis.high() / m_axis.low());
    const double y = gainDb * m_halfHeight / kRangeDb;
    // Far outside the frame a handle is only hidden, but the cast must stay defined.
    const double limit = 1e6;
    return Handle{static_cast<int>(std::clamp(x, -limit, limit)),
                  static_cast<int>(std::clamp(y, -limit, limit))};
}

std::optional<PeqGeometry::Setting> PeqGeometry::settingForHandle(double x, double y) const
{
    if (isEmpty() || !std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    const double frequency =
        m_axis.low() * std::exp(x / m_width * std::log(m_axis.high() / m_axis.low()));
    const double gain = (m_halfHeight - y) * kRangeDb / m_halfHeight;
    return Setting{frequency, gain};
}

double PeqGeometry::overlayX(double frequency) const
{
    return isEmpty() ? 0.0 : m_axis.xFor(frequency, m_width);
}

double PeqGeometry::overlayY(double gainDb) const
{
    if (isEmpty() || std::isnan(gainDb))
        return 0.0;
    return 2.0 * m_halfHeight * (std::clamp(gainDb, -kRangeDb, kRangeDb) + kRangeDb) /
           (2.0 * kRangeDb);
}
