#pragma once

#include <QtGlobal>

class QColor;
class QPainter;
class QPen;
class QPolygonF;

// Draws curves as the graphs do.
class CurvePainter
{
public:
    // The opacity of a band's fill: faint, so that the curves over it, the bands behind it and
    // the scale's labels still read.
    static constexpr int kFillAlpha = 56;

    // A band: the area the polyline encloses (closed back to its start) filled faintly in
    // `color`, and the polyline stroked over it in `color` with a bevel-joined pen of `penWidth`.
    static void drawFilledCurve(QPainter& painter, const QPolygonF& polyline, const QColor& color,
                                qreal penWidth = 1);
    // A polyline with a pen wider than a pixel, the same picture as stroking it whole.
    static void drawWidePolyline(QPainter& painter, const QPolygonF& polyline, const QPen& pen);
};
