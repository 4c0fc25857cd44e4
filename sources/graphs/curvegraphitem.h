#pragma once

#include "curvepathcache.h"
#include "curves.h"
#include "graphitembase.h"

// A graph item that paints curves owned by its plotter (pixel x to height in pixels).
class CurveGraphItem : public GraphItemBase
{
    Q_OBJECT

public:
    using GraphItemBase::GraphItemBase;

public slots:
    // The plotter keeps the curves; the item holds the reference and reads them when it paints.
    void onCurvesChanged(Curves& curves);

protected:
    // Completed, and a non-empty curve list has arrived.
    bool canPaint() const { return isCompleted() && m_curves != nullptr && !m_curves->isEmpty(); }
    const Curves& curves() const { return *m_curves; }
    // Path of curve `index` as CurvePathCache draws it, kept until the curve or frame changes.
    const QPainterPath& curvePath(int index, qreal edgeY, qreal originY)
    {
        return m_paths.path(index, curves().at(index), edgeY, originY);
    }

private:
    const Curves* m_curves = nullptr;
    CurvePathCache m_paths;
};
