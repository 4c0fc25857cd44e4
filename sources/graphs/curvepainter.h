#pragma once

class QColor;
class QPainter;
class QPen;
class QPolygonF;

// Draws curves as the graphs do.
class CurvePainter
{
public:
    // The opacity of a band's fill: half, so that the bands behind it still show.
    static constexpr int kFillAlpha = 127;

    // A band: the polyline stroked in `color` with a bevel-joined pen of width 1, and the area it
    // encloses (closed back to its start) filled with the colour at half opacity.
    static void drawFilledCurve(QPainter& painter, const QPolygonF& polyline, const QColor& color);
    // A polyline with a pen wider than a pixel, the same picture as stroking it whole.
    static void drawWidePolyline(QPainter& painter, const QPolygonF& polyline, const QPen& pen);
};
