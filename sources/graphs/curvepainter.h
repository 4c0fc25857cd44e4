#pragma once

class QColor;
class QPainter;
class QPainterPath;

// Draws a band curve as the graphs do.
class CurvePainter
{
public:
    // Strokes the path in `color` with a bevel-joined pen of width 1, then fills the area it
    // encloses (closed back to its start) with the colour at half opacity.
    static void drawFilledCurve(QPainter& painter, const QPainterPath& path, const QColor& color);
};
