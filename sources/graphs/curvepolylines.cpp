#include "curvepolylines.h"

const QPolygonF& CurvePolylines::polyline(int index, const Curve& curve, qreal edgeY, qreal originY)
{
    if (index >= m_entries.size())
        m_entries.resize(index + 1);
    Entry& entry = m_entries[index];
    // While the plotter has not written the curve, both copies point at the same data.
    if (entry.stamp != 0 && entry.source.constData() == curve.constData() && entry.edgeY == edgeY &&
        entry.originY == originY)
        return entry.polyline;
    entry.source = curve;
    entry.edgeY = edgeY;
    entry.originY = originY;
    entry.stamp = ++m_lastStamp;
    entry.polyline.clear();
    if (curve.isEmpty())
        return entry.polyline;
    entry.polyline.reserve(curve.size() + 2);
    entry.polyline.append(QPointF(0, edgeY));
    for (const QPointF& point : curve)
        entry.polyline.append(QPointF(point.x(), originY - point.y()));
    entry.polyline.append(QPointF(curve.last().x(), edgeY));
    return entry.polyline;
}
