#include "curvepainter.h"

#include <QColor>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>

namespace {

// Points per run of a wide polyline.
constexpr int kRunLength = 16;

} // namespace

void CurvePainter::drawFilledCurve(QPainter& painter, const QPolygonF& polyline,
                                   const QColor& color)
{
    QPen pen(color, 1);
    pen.setJoinStyle(Qt::BevelJoin);
    painter.setPen(pen);
    painter.drawPolyline(polyline);
    QColor fill = color;
    fill.setAlpha(kFillAlpha);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPolygon(polyline);
    painter.setBrush(Qt::NoBrush);
}

void CurvePainter::drawWidePolyline(QPainter& painter, const QPolygonF& polyline, const QPen& pen)
{
    // The raster engine fills a wide stroke as one outline whose cost grows faster than its
    // length (a 1024-point curve takes milliseconds). Short runs cost half; each run starts one
    // segment back, so that every join is drawn as it would be in one stroke.
    painter.setPen(pen);
    for (int start = 0; start + 1 < polyline.size(); start += kRunLength) {
        const int from = std::max(start - 1, 0);
        const int to = std::min(start + kRunLength, polyline.size() - 1);
        painter.drawPolyline(polyline.constData() + from, to - from + 1);
    }
}
