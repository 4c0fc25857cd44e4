#pragma once

#include "curves.h"

#include <QPainterPath>
#include <QVector>

// The painter path of each curve of an item, rebuilt only for curves the plotter has written
// since the last paint or when the frame moved. The copy kept of each curve shares its data
// with the plotter's until the plotter writes to it, so an unchanged curve costs one compare.
class CurvePathCache
{
public:
    // Path of curve `index`: from (0, edgeY) through (x, originY - height) for every point to
    // (last x, edgeY); empty for a curve without points.
    const QPainterPath& path(int index, const Curve& curve, qreal edgeY, qreal originY);

private:
    struct Entry
    {
        Curve source;
        qreal edgeY = 0;
        qreal originY = 0;
        QPainterPath path;
    };
    QVector<Entry> m_entries;
};
