#include "curvegraphitem.h"

#include "curvepainter.h"
#include "curveplotterbase.h"

#include <QColor>

void CurveGraphItem::drawFrom(CurvePlotterBase* plotter)
{
    m_plotter = plotter;
    connect(plotter, &CurvePlotterBase::curvesChanged, this, &CurveGraphItem::onCurvesChanged);
    connect(plotter, &CurvePlotterBase::allValuesArrivedChanged, this,
            &CurveGraphItem::allValuesArrivedChanged);
}

bool CurveGraphItem::allValuesArrived() const
{
    return m_plotter != nullptr && m_plotter->allValuesArrived();
}

bool CurveGraphItem::isGuess(int band) const
{
    return m_plotter != nullptr && m_plotter->isGuess(band);
}

bool CurveGraphItem::hasGuesses() const
{
    return m_plotter != nullptr && m_plotter->hasGuesses();
}

void CurveGraphItem::onCurvesChanged(Curves& curves)
{
    m_curves = &curves;
    markDirty();
}

void CurveGraphItem::drawBands(QPainter& painter, int count, qreal edgeY, qreal originY,
                               const std::function<QColor(int band)>& colorOf)
{
    QVector<QColor> colors(count);
    QVector<BandLayers::Look> looks(count); // a guess keeps the empty look
    QVector<bool> shown(count);
    for (int band = 0; band < count; ++band) {
        shown[band] = !isGuess(band);
        if (!shown[band])
            continue;
        polyline(band, edgeY, originY);
        colors[band] = colorOf(band);
        looks[band] = {m_polylines.stamp(band), colors[band].rgba()};
    }
    m_bandLayers.draw(painter, looks, [&](QPainter& target, int band) {
        if (!shown[band])
            return;
        const QPolygonF& points = polyline(band, edgeY, originY);
        if (!points.isEmpty())
            CurvePainter::drawFilledCurve(target, points, colors[band]);
    });
}
