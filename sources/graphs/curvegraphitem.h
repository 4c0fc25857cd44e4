#pragma once

#include "bandlayers.h"
#include "curvepolylines.h"
#include "curves.h"
#include "graphitembase.h"

#include <functional>

class CurvePlotterBase;

// A graph item that paints curves owned by its plotter (pixel x to height in pixels). A curve
// the plotter calls a guess (a band whose values have not all come from the device) is not
// painted: a flat band would claim a flat EQ.
class CurveGraphItem : public GraphItemBase
{
    Q_OBJECT
    // Every value its plotter draws from has come from the device; until then the panel says
    // that it waits.
    Q_PROPERTY(bool allValuesArrived READ allValuesArrived NOTIFY allValuesArrivedChanged)

public:
    using GraphItemBase::GraphItemBase;

    bool allValuesArrived() const;

signals:
    void allValuesArrivedChanged(bool arrived);

public slots:
    // The plotter keeps the curves; the item holds the reference and reads them when it paints.
    virtual void onCurvesChanged(Curves& curves);

protected:
    // Paints the curves `plotter` publishes, as far as it knows them.
    void drawFrom(CurvePlotterBase* plotter);
    // Completed, and a non-empty curve list has arrived.
    bool canPaint() const { return isCompleted() && m_curves != nullptr && !m_curves->isEmpty(); }
    const Curves& curves() const { return *m_curves; }
    // The plotter's curve of that band is a guess; so is a total while any band's is.
    bool isGuess(int band) const;
    bool hasGuesses() const;
    // Curve `index` as a polyline from (0, edgeY) through (x, originY - height) for every point
    // to (last x, edgeY), kept until the curve or the frame changes.
    const QPolygonF& polyline(int index, qreal edgeY, qreal originY)
    {
        return m_polylines.polyline(index, curves().at(index), edgeY, originY);
    }
    // Curves 0 .. count - 1 but the guesses as filled bands in the colours `colorOf` gives; while
    // one band is dragged, only that band is drawn anew.
    void drawBands(QPainter& painter, int count, qreal edgeY, qreal originY,
                   const std::function<QColor(int band)>& colorOf);

private:
    const CurvePlotterBase* m_plotter = nullptr;
    const Curves* m_curves = nullptr;
    CurvePolylines m_polylines;
    BandLayers m_bandLayers;
};
