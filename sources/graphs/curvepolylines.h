#pragma once

#include "curves.h"

#include <QPolygonF>
#include <QVector>

// The polyline of each curve of an item in item pixels, rebuilt only for curves the plotter has
// written since the last paint or when the frame moved. The copy kept of each curve shares its
// data with the plotter's until the plotter writes to it, so an unchanged curve costs a compare.
class CurvePolylines
{
public:
    // Curve `index` from (0, edgeY) through (x, originY - height) for every point to
    // (last x, edgeY); empty for a curve without points.
    const QPolygonF& polyline(int index, const Curve& curve, qreal edgeY, qreal originY);
    // Changes whenever the polyline of curve `index` is rebuilt.
    quint64 stamp(int index) const { return m_entries.at(index).stamp; }

private:
    struct Entry
    {
        Curve source;
        qreal edgeY = 0;
        qreal originY = 0;
        QPolygonF polyline;
        quint64 stamp = 0;
    };
    QVector<Entry> m_entries;
    quint64 m_lastStamp = 0;
};
