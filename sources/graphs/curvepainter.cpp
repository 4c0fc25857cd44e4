#include "curvepainter.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>

void CurvePainter::drawFilledCurve(QPainter& painter, const QPainterPath& path, const QColor& color)
{
    QPen pen(color, 1);
    pen.setJoinStyle(Qt::BevelJoin);
    painter.strokePath(path, pen);
    QColor fill = color;
    fill.setAlpha(127);
    // Filling closes the path by itself: one path serves both.
    painter.fillPath(path, fill);
}
