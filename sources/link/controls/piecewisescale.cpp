#include "piecewisescale.h"

#include <algorithm>
#include <cmath>

namespace {

std::optional<double> finiteOrNothing(double value)
{
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

} // namespace

PiecewiseScale::PiecewiseScale(const QList<double>& boundaries, const QList<double>& lengths)
    : m_boundaries(boundaries)
    , m_lengths(lengths)
    , m_segments(std::max(0, std::min(int(lengths.size()), int(boundaries.size()) - 1)))
{
}

std::optional<double> PiecewiseScale::positionOf(double value) const
{
    if (!isUsable() || !std::isfinite(value))
        return std::nullopt;
    for (int j = m_segments - 1; j >= 0; --j) {
        if (!(value >= m_boundaries.at(j)))
            continue;
        double travelBefore = 0;
        for (int k = 0; k < j; ++k)
            travelBefore += m_lengths.at(k);
        const double width = m_boundaries.at(j + 1) - m_boundaries.at(j);
        // A segment without width is passed as a whole once its boundary is reached.
        if (width == 0)
            return finiteOrNothing(travelBefore + m_lengths.at(j));
        return finiteOrNothing((value - m_boundaries.at(j)) / width * m_lengths.at(j) +
                               travelBefore);
    }
    return value;
}

std::optional<double> PiecewiseScale::valueAt(double position) const
{
    if (!isUsable() || !std::isfinite(position))
        return std::nullopt;
    double travel = 0;
    for (int j = 0; j < m_segments; ++j) {
        const double length = m_lengths.at(j);
        if (!(length > 0))
            continue;
        travel += length;
        if (travel >= position) {
            const double into = position - (travel - length);
            const double low = m_boundaries.at(j);
            return finiteOrNothing(low + into / length * (m_boundaries.at(j + 1) - low));
        }
    }
    return finiteOrNothing(m_boundaries.at(m_segments));
}
