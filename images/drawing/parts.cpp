#include "parts.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

using style::Ink;

namespace parts {

namespace {

void outline(QPainter& painter, Ink ink, double width = style::kStroke)
{
    painter.setPen(style::pen(ink, width));
    painter.setBrush(Qt::NoBrush);
}

} // namespace

void cone(QPainter& painter, const QPointF& centre, double radius, Ink ink)
{
    outline(painter, ink);
    painter.drawEllipse(centre, radius, radius);
    painter.drawEllipse(centre, radius * 0.3, radius * 0.3);
}

void horn(QPainter& painter, const QRectF& mouth, Ink ink)
{
    outline(painter, ink);
    painter.drawRoundedRect(mouth, 1.5, 1.5);
    const QRectF throat(mouth.center() - QPointF(mouth.width() * 0.15, mouth.height() * 0.15),
                        mouth.size() * 0.3);
    painter.drawRect(throat);
    painter.setPen(style::pen(ink, style::kThinStroke));
    painter.drawLine(mouth.topLeft(), throat.topLeft());
    painter.drawLine(mouth.topRight(), throat.topRight());
    painter.drawLine(mouth.bottomLeft(), throat.bottomLeft());
    painter.drawLine(mouth.bottomRight(), throat.bottomRight());
}

QVector<QPointF> cabinet(QPainter& painter, const QRectF& box, int ways, Ink ink)
{
    outline(painter, ink);
    painter.drawRoundedRect(box, 2.0, 2.0);
    const double inset = box.width() * 0.14;
    const QRectF inner = box.adjusted(inset, inset, -inset, -inset);
    QVector<QPointF> centres;
    // The horn takes the top quarter; the cones share the rest, the last one the largest.
    const double hornHeight = inner.height() * (ways > 2 ? 0.22 : 0.3);
    const QRectF mouth(inner.left(), inner.top(), inner.width(), hornHeight);
    horn(painter, mouth, ink);
    centres << mouth.center();
    const int cones = qMax(1, ways - 1);
    double top = mouth.bottom() + inset * 0.6;
    const double rest = inner.bottom() - top;
    for (int i = 0; i < cones; ++i) {
        const double share = cones == 1 ? 1.0 : (i == cones - 1 ? 0.6 : 0.4);
        const double height = rest * share;
        const double radius = qMin(inner.width(), height) / 2.0 - 0.5;
        const QPointF centre(inner.center().x(), top + height / 2.0);
        cone(painter, centre, radius, ink);
        centres << centre;
        top += height;
    }
    return centres;
}

QVector<QPointF> wedge(QPainter& painter, const QRectF& box, int ways, Ink ink)
{
    // The face leans back: its top edge is shorter than its bottom edge.
    const double lean = box.width() * 0.08;
    const QPolygonF face(QVector<QPointF>{box.bottomLeft(), box.bottomRight(),
                                          box.topRight() + QPointF(-lean, 0),
                                          box.topLeft() + QPointF(lean, 0)});
    outline(painter, ink);
    painter.drawPolygon(face);
    painter.drawLine(box.bottomLeft() + QPointF(lean * 0.5, box.height() * 0.12),
                     box.bottomRight() + QPointF(-lean * 0.5, box.height() * 0.12));
    QVector<QPointF> centres;
    const double slot = (box.width() - 2 * lean) / ways;
    const double y = box.center().y() + box.height() * 0.04;
    for (int i = 0; i < ways; ++i) {
        const QPointF centre(box.left() + lean + slot * (i + 0.5), y);
        if (i == ways - 1) {
            const QSizeF size(slot * 0.8, box.height() * 0.42);
            horn(painter, QRectF(centre - QPointF(size.width() / 2, size.height() / 2), size), ink);
        } else {
            const double radius = qMin(slot, box.height()) * (i == 0 ? 0.4 : 0.3);
            cone(painter, centre, radius, ink);
        }
        centres << centre;
    }
    return centres;
}

void wedgeProfile(QPainter& painter, const QRectF& box, bool facingLeft, Ink ink)
{
    // Bottom, the tall back, and the long face sloping down towards the performer.
    QPolygonF side(QVector<QPointF>{{0.0, 1.0}, {1.0, 1.0}, {1.0, 0.08}, {0.88, 0.0}, {0.0, 0.6}});
    for (QPointF& point : side) {
        const double x = facingLeft ? point.x() : 1.0 - point.x();
        point = QPointF(box.left() + x * box.width(), box.top() + point.y() * box.height());
    }
    outline(painter, ink);
    painter.drawPolygon(side);
    // The grille along the face.
    painter.setPen(style::pen(ink, style::kThinStroke));
    const QLineF face(side[4], side[3]);
    QPointF inward = QPointF(face.dy(), -face.dx()) / face.length() * box.height() * 0.12;
    if (QLineF(face.center() + inward, box.center()).length() >
        QLineF(face.center() - inward, box.center()).length())
        inward = -inward;
    painter.drawLine(face.pointAt(0.12) + inward, face.pointAt(0.88) + inward);
}

void sub(QPainter& painter, const QRectF& box, Ink ink)
{
    outline(painter, ink);
    painter.drawRoundedRect(box, 2.0, 2.0);
    const double radius = qMin(box.width(), box.height()) * 0.36;
    cone(painter, box.center(), radius, ink);
}

void speakerOnStand(QPainter& painter, double x, double floorY, const QSizeF& cabinetSize, Ink ink)
{
    const double standHeight = cabinetSize.height() * 0.9;
    const QRectF box(x - cabinetSize.width() / 2, floorY - standHeight - cabinetSize.height(),
                     cabinetSize.width(), cabinetSize.height());
    cabinet(painter, box, 2, ink);
    outline(painter, ink);
    const QPointF foot(x, floorY - standHeight * 0.3);
    painter.drawLine(QPointF(x, box.bottom()), QPointF(x, floorY));
    const double spread = cabinetSize.width() * 0.45;
    painter.drawLine(foot, QPointF(x - spread, floorY));
    painter.drawLine(foot, QPointF(x + spread, floorY));
}

void amplifierSymbol(QPainter& painter, const QPointF& input, const QPointF& output, Ink ink)
{
    const QLineF axis(input, output);
    // Half as wide on each side as it is long.
    const QPointF across = QPointF(-axis.dy(), axis.dx()) * 0.45;
    outline(painter, ink);
    painter.drawPolygon(QPolygonF(QVector<QPointF>{input + across, output, input - across}));
}

void arrow(QPainter& painter, const QPointF& from, const QPointF& to, Ink ink, double width,
           double headLength)
{
    outline(painter, ink, width);
    painter.drawLine(from, to);
    const QLineF back(to, from);
    QLineF left = back;
    left.setLength(headLength);
    left.setAngle(back.angle() + 35);
    QLineF right = back;
    right.setLength(headLength);
    right.setAngle(back.angle() - 35);
    painter.drawPolyline(QPolygonF(QVector<QPointF>{left.p2(), to, right.p2()}));
}

void wire(QPainter& painter, const QVector<QPointF>& points, Ink ink, bool arrowHead)
{
    if (points.size() < 2)
        return;
    outline(painter, ink);
    painter.drawPolyline(QPolygonF(points));
    if (arrowHead)
        arrow(painter, points[points.size() - 2], points.last(), ink);
}

void faders(QPainter& painter, const QRectF& box, const QVector<double>& levels, Ink capInk)
{
    const double slot = box.width() / levels.size();
    const double capHeight = qMin(box.height() * 0.12, slot * 0.5);
    const double travel = box.height() - capHeight;
    for (int i = 0; i < levels.size(); ++i) {
        const double x = box.left() + slot * (i + 0.5);
        outline(painter, Ink::Faint, style::kStroke);
        painter.drawLine(QPointF(x, box.top() + capHeight / 2),
                         QPointF(x, box.bottom() - capHeight / 2));
        const double y = box.bottom() - capHeight / 2 - travel * qBound(0.0, levels[i], 1.0);
        const QRectF cap(x - slot * 0.32, y - capHeight / 2, slot * 0.64, capHeight);
        painter.setPen(style::pen(capInk));
        painter.setBrush(style::colour(capInk).darker(260));
        painter.drawRoundedRect(cap, 1.5, 1.5);
        painter.drawLine(QPointF(cap.left() + 1.5, y), QPointF(cap.right() - 1.5, y));
    }
}

void microphone(QPainter& painter, const QPointF& top, double height, Ink ink, bool foot)
{
    const double width = height * 0.34;
    const QRectF capsule(top.x() - width / 2, top.y(), width, height * 0.52);
    outline(painter, ink);
    painter.drawRoundedRect(capsule, width / 2, width / 2);
    // The holder: a U under the capsule, then the stem and its foot.
    const double holderTop = capsule.top() + capsule.height() * 0.55;
    const double holderBottom = capsule.bottom() + height * 0.1;
    const double holderWidth = width * 1.5;
    QPainterPath holder;
    holder.moveTo(top.x() - holderWidth / 2, holderTop);
    holder.lineTo(top.x() - holderWidth / 2, holderBottom - holderWidth / 2);
    holder.arcTo(
        QRectF(top.x() - holderWidth / 2, holderBottom - holderWidth, holderWidth, holderWidth),
        180, 180);
    holder.lineTo(top.x() + holderWidth / 2, holderTop);
    painter.drawPath(holder);
    const double bottom = top.y() + height;
    painter.drawLine(QPointF(top.x(), holderBottom), QPointF(top.x(), bottom));
    if (foot)
        painter.drawLine(QPointF(top.x() - width * 0.8, bottom),
                         QPointF(top.x() + width * 0.8, bottom));
}

void micStand(QPainter& painter, double x, double floorY, double height, Ink ink)
{
    const double micHeight = height * 0.3;
    const double top = floorY - height;
    microphone(painter, QPointF(x, top), micHeight, ink, false);
    outline(painter, ink);
    const double joint = floorY - height * 0.15;
    painter.drawLine(QPointF(x, top + micHeight), QPointF(x, floorY));
    painter.drawLine(QPointF(x, joint), QPointF(x - height * 0.14, floorY));
    painter.drawLine(QPointF(x, joint), QPointF(x + height * 0.14, floorY));
}

void xlr(QPainter& painter, const QPointF& centre, double radius, bool socket, Ink ink)
{
    outline(painter, ink);
    painter.drawEllipse(centre, radius, radius);
    painter.drawEllipse(centre, radius * 0.72, radius * 0.72);
    const double contact = radius * (socket ? 0.11 : 0.14);
    painter.setBrush(socket ? Qt::NoBrush : QBrush(style::colour(ink)));
    painter.setPen(style::pen(ink, style::kThinStroke));
    for (const double angle : {210.0, 330.0, 90.0}) {
        const double radians = qDegreesToRadians(angle);
        const QPointF at = centre + QPointF(std::cos(radians), std::sin(radians)) * radius * 0.38;
        painter.drawEllipse(at, contact, contact);
    }
    // The latch above a socket, the key in a plug's shell.
    painter.setPen(style::pen(ink));
    painter.setBrush(Qt::NoBrush);
    const QRectF latch(centre.x() - radius * 0.18, centre.y() - radius * 1.0, radius * 0.36,
                       radius * 0.26);
    if (socket)
        painter.drawRect(latch.translated(0, -radius * 0.25));
    else
        painter.drawLine(QPointF(centre.x(), centre.y() - radius * 0.72),
                         QPointF(centre.x(), centre.y() - radius * 0.55));
}

void rj45(QPainter& painter, const QRectF& box, Ink ink)
{
    outline(painter, ink);
    const double w = box.width();
    const double h = box.height();
    QPolygonF shape(QVector<QPointF>{box.bottomLeft(), box.topLeft(), box.topRight(),
                                     box.bottomRight(),
                                     QPointF(box.right() - w * 0.3, box.bottom()),
                                     QPointF(box.right() - w * 0.3, box.bottom() + h * 0.18),
                                     QPointF(box.left() + w * 0.3, box.bottom() + h * 0.18),
                                     QPointF(box.left() + w * 0.3, box.bottom())});
    painter.drawPolygon(shape);
    painter.setPen(style::pen(ink, style::kThinStroke));
    for (int i = 0; i < 4; ++i) {
        const double x = box.left() + w * (0.26 + 0.16 * i);
        painter.drawLine(QPointF(x, box.top() + h * 0.15), QPointF(x, box.top() + h * 0.4));
    }
}

void knob(QPainter& painter, const QPointF& centre, double radius, double angle, Ink ink)
{
    outline(painter, ink);
    painter.drawEllipse(centre, radius, radius);
    const double radians = qDegreesToRadians(angle - 90.0);
    const QPointF direction(std::cos(radians), std::sin(radians));
    painter.drawLine(centre + direction * radius * 0.3, centre + direction * radius * 0.85);
}

void geqBlock(QPainter& painter, const QRectF& box, const QVector<double>& levels, Ink ink)
{
    outline(painter, ink);
    painter.drawRoundedRect(box, 2.0, 2.0);
    const QRectF inner = box.adjusted(box.width() * 0.12, box.height() * 0.18, -box.width() * 0.12,
                                      -box.height() * 0.18);
    const double slot = inner.width() / levels.size();
    for (int i = 0; i < levels.size(); ++i) {
        const double x = inner.left() + slot * (i + 0.5);
        painter.setPen(style::pen(Ink::Faint, style::kThinStroke));
        painter.drawLine(QPointF(x, inner.top()), QPointF(x, inner.bottom()));
        const double y = inner.bottom() - inner.height() * qBound(0.0, levels[i], 1.0);
        painter.setPen(style::pen(ink));
        painter.drawLine(QPointF(x - slot * 0.3, y), QPointF(x + slot * 0.3, y));
    }
}

void chainLink(QPainter& painter, const QPointF& top, const QPointF& bottom, Ink ink)
{
    const double length = QLineF(top, bottom).length();
    const double width = length * 0.32;
    const double linkLength = length * 0.6;
    outline(painter, ink);
    painter.drawRoundedRect(QRectF(top.x() - width / 2, top.y(), width, linkLength), width / 2,
                            width / 2);
    painter.drawRoundedRect(
        QRectF(bottom.x() - width / 2, bottom.y() - linkLength, width, linkLength), width / 2,
        width / 2);
}

void frequencyGrid(QPainter& painter, const QRectF& box, double zeroY)
{
    painter.setPen(style::pen(Ink::Faint, style::kThinStroke));
    painter.setBrush(Qt::NoBrush);
    // 100 Hz, 1 kHz and 10 kHz on a 20 Hz to 20 kHz axis: three decades over log10(1000).
    for (const double hz : {100.0, 1000.0, 10000.0}) {
        const double x = box.left() + box.width() * std::log10(hz / 20.0) / 3.0;
        painter.drawLine(QPointF(x, box.top()), QPointF(x, box.bottom()));
    }
    painter.drawLine(QPointF(box.left(), zeroY), QPointF(box.right(), zeroY));
    painter.drawRect(box);
}

} // namespace parts
