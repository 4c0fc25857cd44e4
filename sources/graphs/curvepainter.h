#pragma once

#include <QMap>
#include <QPainterPath>

class QColor;
class QPainter;

// Turns a curve (pixel x to height in pixels) into a path and draws it as the graphs do.
class CurvePainter
{
public:
    // From (0, edgeY) through (x, originY - height) for every point to (last x, edgeY).
    static QPainterPath curvePath(const QMap<float, float>& curve, qreal edgeY, qreal originY);
    // Strokes the path in `color` with a bevel-joined pen, then closes it and fills it with the
    // colour at half opacity.
    static void drawFilledCurve(QPainter& painter, QPainterPath path, const QColor& color);
};
