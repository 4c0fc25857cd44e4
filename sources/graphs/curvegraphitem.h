#pragma once

#include "bandlayers.h"
#include "curvepolylines.h"
#include "curves.h"
#include "graphitembase.h"

#include <functional>

// A graph item that paints curves owned by its plotter (pixel x to height in pixels).
class CurveGraphItem : public GraphItemBase
{
    Q_OBJECT

public:
    using GraphItemBase::GraphItemBase;

public slots:
    // The plotter keeps the curves; the item holds the reference and reads them when it paints.
    virtual void onCurvesChanged(Curves& curves);

protected:
    // Completed, and a non-empty curve list has arrived.
    bool canPaint() const { return isCompleted() && m_curves != nullptr && !m_curves->isEmpty(); }
    const Curves& curves() const { return *m_curves; }
    // Curve `index` as a polyline from (0, edgeY) through (x, originY - height) for every point
    // to (last x, edgeY), kept until the curve or the frame changes.
    const QPolygonF& polyline(int index, qreal edgeY, qreal originY)
    {
        return m_polylines.polyline(index, curves().at(index), edgeY, originY);
    }
    // Curves 0 .. count - 1 as filled bands in the colours `colorOf` gives; while one band is
    // dragged, only that band is drawn anew.
    void drawBands(QPainter& painter, int count, qreal edgeY, qreal originY,
                   const std::function<QColor(int band)>& colorOf);

private:
    const Curves* m_curves = nullptr;
    CurvePolylines m_polylines;
    BandLayers m_bandLayers;
};
