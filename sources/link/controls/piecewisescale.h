#pragma once

#include <QList>
#include <optional>

// A travel of 0..100 % laid over a native scale in segments: segment j runs from boundary B[j]
// to B[j+1] and takes L[j] percent of the travel. Lists that do not fit each other are cut to
// the segments both describe; segments without width or without travel are stepped over, so
// no conversion divides by zero or leaves the lists.
class PiecewiseScale
{
public:
    PiecewiseScale(const QList<double>& boundaries, const QList<double>& lengths);

    // At least one segment.
    bool isUsable() const { return m_segments > 0; }

    // The position that shows `value`; a value below the first boundary is taken unchanged.
    std::optional<double> positionOf(double value) const;
    // The native value at `position`; the last boundary when the lengths run out first.
    std::optional<double> valueAt(double position) const;

private:
    QList<double> m_boundaries;
    QList<double> m_lengths;
    int m_segments;
};
