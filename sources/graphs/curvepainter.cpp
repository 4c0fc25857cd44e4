#include "curvepainter.h"

#include <QColor>
#include <QPainter>

QPainterPath CurvePainter::curvePath(const QMap<float, float>& curve, qreal edgeY, qreal originY)
{
    QPainterPath path;
    path.moveTo(0, edgeY);
    for (auto point = curve.cbegin(); point != curve.cend(); ++point)
        path.lineTo(point.key(), originY - point.value());
    if (!curve.isEmpty())
        path.lineTo(curve.lastKey(), edgeY);
    return path;
}

void CurvePainter::drawFilledCurve(QPainter& painter, QPainterPath path, const QColor& color)
{
    QPen pen(color, 1);
    pen.setJoinStyle(Qt::BevelJoin);
    painter.strokePath(path, pen);
    QColor fill = color;
    fill.setAlpha(127);
    path.closeSubpath();
    painter.fillPath(path, fill);
}
