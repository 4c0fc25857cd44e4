#include "curvepathcache.h"

const QPainterPath& CurvePathCache::path(int index, const Curve& curve, qreal edgeY, qreal originY)
{
    if (index >= m_entries.size())
        m_entries.resize(index + 1);
    Entry& entry = m_entries[index];
    // While the plotter has not written the curve, both copies point at the same data.
    if (entry.source.constData() == curve.constData() && entry.edgeY == edgeY &&
        entry.originY == originY)
        return entry.path;
    entry.source = curve;
    entry.edgeY = edgeY;
    entry.originY = originY;
    entry.path = QPainterPath();
    if (curve.isEmpty())
        return entry.path;
    entry.path.reserve(curve.size() + 2);
    entry.path.moveTo(0, edgeY);
    for (const QPointF& point : curve)
        entry.path.lineTo(point.x(), originY - point.y());
    entry.path.lineTo(curve.last().x(), edgeY);
    return entry.path;
}
