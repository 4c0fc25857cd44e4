#pragma once

#include <QColor>
#include <QFont>
#include <QPen>
#include <QRectF>
#include <QString>

class QPainter;

// The house style of every picture, in design units (pixels at a window of 1024 x 768): light
// strokes two units wide on a transparent ground, one accent colour for what a picture is about,
// labels in the page font. The colours are those of the pages' theme.
namespace style {

enum class Ink {
    Line,   // outlines of things
    Faint,  // grids, floors, what is only context
    Accent, // the signal path, the choice, the microphone: what the picture is about
    Label,  // text beside things
    Alert,  // mute, clip, a stop
    On,     // lit, done
    Brand,  // the logo
    Ground, // the page under a picture, for what must hide what lies under it
};

constexpr double kStroke = 2.0;
constexpr double kThinStroke = 1.2;
// The page's smallest text: nothing in a picture is smaller at the size the page shows it.
constexpr int kLabelSize = 12;

QColor colour(Ink ink);
QColor bandColour(int band); // the graphs' band colours, from band 0, repeating after twelve
QPen pen(Ink ink, double width = kStroke);
QFont font(double pixelSize, bool bold = false);
// The page font at `pixelSize`, or smaller where `text` would not fit `width`.
QFont fittedFont(const QString& text, double width, double pixelSize, bool bold = false);

// `text` in `box`, in the page font.
void label(QPainter& painter, const QRectF& box, const QString& text, Ink ink = Ink::Label,
           double pixelSize = kLabelSize, int alignment = Qt::AlignCenter, bool bold = false);

} // namespace style
