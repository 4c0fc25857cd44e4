#pragma once

#include "style.h"

#include <QPointF>
#include <QRectF>
#include <QVector>

class QPainter;

// The things the pictures are made of, drawn as outlines a sound engineer recognises. Sizes are
// in design units; each part draws inside the box it is given.
namespace parts {

// A loudspeaker cabinet seen from the front: a horn at the top, then `ways` - 1 cones, the
// largest at the bottom. Returns the centres of its drivers from the top.
QVector<QPointF> cabinet(QPainter& painter, const QRectF& box, int ways,
                         style::Ink ink = style::Ink::Line);
// A floor monitor seen from the performer: its sloped face with `ways` drivers side by side,
// cones on the left and the horn on the right. Returns the centres of its drivers from the left.
QVector<QPointF> wedge(QPainter& painter, const QRectF& box, int ways,
                       style::Ink ink = style::Ink::Line);
// A floor monitor from the side, its face turned up towards `facingLeft` ? the left : the right.
void wedgeProfile(QPainter& painter, const QRectF& box, bool facingLeft,
                  style::Ink ink = style::Ink::Line);
// A subwoofer: a wide cabinet with one large cone.
void sub(QPainter& painter, const QRectF& box, style::Ink ink = style::Ink::Line);
// A cabinet of `cabinetSize` on a tripod whose feet stand on `floorY`, centred on `x`.
void speakerOnStand(QPainter& painter, double x, double floorY, const QSizeF& cabinetSize,
                    style::Ink ink = style::Ink::Line);

// A cone (outer rim and dust cap) and a horn (mouth and throat).
void cone(QPainter& painter, const QPointF& centre, double radius, style::Ink ink);
void horn(QPainter& painter, const QRectF& mouth, style::Ink ink);

// An amplifier channel: the triangle of the schematic symbol, pointing from `input` to
// `output`, its length the distance between them.
void amplifierSymbol(QPainter& painter, const QPointF& input, const QPointF& output,
                     style::Ink ink = style::Ink::Accent);
// A line with an open arrow head at `to`.
void arrow(QPainter& painter, const QPointF& from, const QPointF& to,
           style::Ink ink = style::Ink::Accent, double width = style::kStroke,
           double headLength = 7.0);
// A polyline through `points`, with an arrow head at its end.
void wire(QPainter& painter, const QVector<QPointF>& points, style::Ink ink = style::Ink::Accent,
          bool arrowHead = false);

// Channel faders in `box`, one per level (0 at the bottom of the slot, 1 at the top), caps in
// `capInk`.
void faders(QPainter& painter, const QRectF& box, const QVector<double>& levels,
            style::Ink capInk = style::Ink::Line);
// The microphone symbol: capsule, holder and stem, `height` tall, its capsule's top at `top`;
// with `foot`, standing on a short base.
void microphone(QPainter& painter, const QPointF& top, double height,
                style::Ink ink = style::Ink::Accent, bool foot = true);
// A vocal microphone on a tripod stand, `height` tall, its feet on `floorY`, centred on `x`.
void micStand(QPainter& painter, double x, double floorY, double height,
              style::Ink ink = style::Ink::Line);
// An XLR socket (three contacts) or plug (three pins) with its latch on top.
void xlr(QPainter& painter, const QPointF& centre, double radius, bool socket,
         style::Ink ink = style::Ink::Line);
// A network socket seen from the front.
void rj45(QPainter& painter, const QRectF& box, style::Ink ink = style::Ink::Line);
// A rotary knob with its pointer at `angle` degrees clockwise from twelve o'clock.
void knob(QPainter& painter, const QPointF& centre, double radius, double angle,
          style::Ink ink = style::Ink::Line);
// A small block with the graphic equaliser's sliders at `levels` (0 to 1).
void geqBlock(QPainter& painter, const QRectF& box, const QVector<double>& levels,
              style::Ink ink = style::Ink::Line);
// Two chain links between `top` and `bottom`: settings held together.
void chainLink(QPainter& painter, const QPointF& top, const QPointF& bottom,
               style::Ink ink = style::Ink::Accent);
// A faint grid with the decades of a 20 Hz to 20 kHz axis and the 0 dB line across `box`.
void frequencyGrid(QPainter& painter, const QRectF& box, double zeroY);

} // namespace parts
