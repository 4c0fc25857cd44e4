#include "curvegraphitem.h"

#include "curvepainter.h"

#include <QColor>

void CurveGraphItem::onCurvesChanged(Curves& curves)
{
    m_curves = &curves;
    markDirty();
}

void CurveGraphItem::drawBands(QPainter& painter, int count, qreal edgeY, qreal originY,
                               const std::function<QColor(int band)>& colorOf)
{
    QVector<QColor> colors(count);
    QVector<BandLayers::Look> looks(count);
    for (int band = 0; band < count; ++band) {
        polyline(band, edgeY, originY);
        colors[band] = colorOf(band);
        looks[band] = {m_polylines.stamp(band), colors[band].rgba()};
    }
    m_bandLayers.draw(painter, looks, [&](QPainter& target, int band) {
        const QPolygonF& points = polyline(band, edgeY, originY);
        if (!points.isEmpty())
            CurvePainter::drawFilledCurve(target, points, colors[band]);
    });
}
