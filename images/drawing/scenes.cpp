#include "drawings.h"
#include "parts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

using style::Ink;

namespace scenes {

namespace {

// Where things stand in the room plan, in units of its size.
const QPointF kMicPositions[] = {{0.5, 0.44}, {0.3, 0.6}, {0.7, 0.6}, {0.5, 0.75}};
const QPointF kMixPosition(0.5, 0.9);

QPointF at(const QSizeF& size, const QPointF& unit)
{
    return QPointF(unit.x() * size.width(), unit.y() * size.height());
}

// A PA speaker from above: the cabinet and its horn's mouth flaring towards the audience.
void speakerFromAbove(QPainter& painter, const QPointF& centre, double width)
{
    const double depth = width * 0.7;
    painter.setPen(style::pen(Ink::Line));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(centre.x() - width / 2, centre.y() - depth / 2, width, depth), 2,
                            2);
    painter.drawPolyline(
        QPolygonF(QVector<QPointF>{{centre.x() - width * 0.3, centre.y() + depth / 2},
                                   {centre.x() - width * 0.4, centre.y() + depth * 0.75},
                                   {centre.x() + width * 0.4, centre.y() + depth * 0.75},
                                   {centre.x() + width * 0.3, centre.y() + depth / 2}}));
}

// The level dial: 0 % at 225 degrees (clockwise from twelve o'clock), 100 % at 135 degrees,
// 2.7 degrees a percent, as the page turns the pointer.
constexpr double kZeroAngle = -135.0;
constexpr double kDegreesPerPercent = 2.7;

QPointF polar(const QPointF& centre, double radius, double angle)
{
    const double radians = qDegreesToRadians(angle - 90.0);
    return centre + QPointF(std::cos(radians), std::sin(radians)) * radius;
}

// A microphone at `centre` on a disc of light, as a place to measure is marked.
void markedMicrophone(QPainter& painter, const QPointF& centre, double radius)
{
    // An accent tint over the page's ground, opaque, so that the plan's mark of the position
    // does not show through the microphone.
    const QColor accent = style::colour(Ink::Accent);
    const QColor ground = style::colour(Ink::Ground);
    const auto tint = [](int over, int under) { return qRound(0.25 * over + 0.75 * under); };
    const QColor glow(tint(accent.red(), ground.red()), tint(accent.green(), ground.green()),
                      tint(accent.blue(), ground.blue()));
    painter.setPen(style::pen(Ink::Accent));
    painter.setBrush(glow);
    painter.drawEllipse(centre, radius, radius);
    parts::microphone(painter, centre - QPointF(0, radius * 0.72), radius * 1.44, Ink::Accent);
}

} // namespace

void rearPanel(QPainter& painter, const QSizeF& size, bool optionCard)
{
    const double w = size.width();
    const QRectF panel(8, 24, w - 16, 110);
    painter.setPen(style::pen(Ink::Line));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(panel, 3, 3);
    const double headingY = panel.top() + 6;
    const double numberY = panel.top() + 24;
    const double connectorY = panel.top() + 66;
    // What plugs in hangs below the panel, each cable straight down to where it comes from or
    // goes to.
    const double equipmentTop = 236;
    const QSizeF labelSize(200, 18);
    const auto caption = [&](const QRectF& equipment, const QString& text) {
        style::label(painter,
                     QRectF(equipment.center().x() - labelSize.width() / 2, equipment.bottom() + 4,
                            labelSize.width(), labelSize.height()),
                     text, Ink::Label, 14, Qt::AlignCenter, true);
    };

    // A numbered row of XLR connectors, each cabled to `equipment` below: the signal goes up
    // into sockets and down out of plugs.
    const auto connectors = [&](int count, double firstX, double spacing, bool sockets,
                                const QRectF& equipment) {
        const double radius = sockets ? 15 : 13;
        for (int i = 0; i < count; ++i) {
            const QPointF centre(firstX + spacing * i, connectorY);
            parts::xlr(painter, centre, radius, sockets, Ink::Accent);
            style::label(painter, QRectF(centre.x() - 10, numberY, 20, 14), QString::number(i + 1));
            const QPointF cable = centre + QPointF(0, radius + 2);
            const QPointF end(centre.x(), equipment.top());
            parts::arrow(painter, sockets ? end : cable, sockets ? cable : end);
        }
    };

    style::label(painter, QRectF(18, headingY, 124, 16), QStringLiteral("INPUTS"));
    const QRectF mixer(16, equipmentTop, 126, 84);
    connectors(3, 40, 40, true, mixer);
    painter.setPen(style::pen(Ink::Line));
    painter.drawRoundedRect(mixer, 3, 3);
    parts::faders(painter, mixer.adjusted(10, 10, -10, -10), {0.6, 0.4, 0.7, 0.5, 0.3, 0.55});
    painter.setBrush(Qt::NoBrush);
    caption(mixer, QStringLiteral("MIXER"));

    const Ink cardInk = optionCard ? Ink::Accent : Ink::Faint;
    const Ink cardLabelInk = optionCard ? Ink::Label : Ink::Faint;
    const QRectF card(150, panel.top() + 40, 84, panel.height() - 48);
    painter.setPen(style::pen(cardInk));
    painter.drawRoundedRect(card, 2, 2);
    style::label(painter, QRectF(card.left() - 6, headingY, card.width() + 12, 16),
                 QStringLiteral("OPTION CARD"), cardLabelInk);
    const QRectF network(card.center().x() - 35, equipmentTop + 22, 70, 40);
    for (int i = 0; i < 2; ++i) {
        const QRectF port(card.left() + 12 + 36 * i, connectorY - 12, 24, 18);
        parts::rj45(painter, port, cardInk);
        style::label(painter, QRectF(port.center().x() - 16, numberY, 32, 14),
                     i == 0 ? QStringLiteral("PRI") : QStringLiteral("SEC"), cardLabelInk);
        if (optionCard)
            parts::wire(painter, {QPointF(port.center().x(), port.bottom() + 4),
                                  QPointF(port.center().x(), network.top())});
    }
    if (optionCard) {
        // The card's network ports to the audio network's switch.
        painter.setPen(style::pen(Ink::Line));
        painter.drawRoundedRect(network, 3, 3);
        for (int i = 0; i < 4; ++i)
            parts::rj45(painter, QRectF(network.left() + 6 + 15 * i, network.top() + 12, 12, 10));
        caption(network, QStringLiteral("NETWORK"));
    }

    style::label(painter, QRectF(248, headingY, 200, 16), QStringLiteral("OUTPUTS"));
    const QRectF amplifiers(250, equipmentTop, 196, 84);
    connectors(6, 264, 34, false, amplifiers);
    for (int i = 0; i < 3; ++i) {
        const QRectF unit(amplifiers.left(), amplifiers.top() + 30 * i, amplifiers.width(), 24);
        painter.setPen(style::pen(Ink::Line));
        painter.drawRoundedRect(unit, 2, 2);
        for (int k = 0; k < 2; ++k)
            parts::knob(painter, QPointF(unit.left() + 20 + 24 * k, unit.center().y()), 7,
                        30 + 60 * k);
    }
    caption(amplifiers.adjusted(0, 0, 0, 6), QStringLiteral("AMPLIFIERS"));
    // The mains inlet.
    painter.setPen(style::pen(Ink::Faint));
    painter.drawRoundedRect(QRectF(w - 26, connectorY - 8, 12, 16), 2, 2);
}

void roomPlan(QPainter& painter, const QSizeF& size)
{
    const double w = size.width();
    const double h = size.height();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(style::pen(Ink::Line));
    const QRectF stage(w * 0.2, h * 0.04, w * 0.6, h * 0.17);
    painter.drawRect(stage);
    style::label(painter, stage, QStringLiteral("STAGE"), Ink::Label, 14, Qt::AlignCenter, true);
    for (const double x : {0.12, 0.88})
        speakerFromAbove(painter, QPointF(w * x, h * 0.16), w * 0.08);
    style::label(painter, QRectF(0, h * 0.02, w * 0.2, h * 0.08), QStringLiteral("L"), Ink::Line,
                 14, Qt::AlignCenter, true);
    style::label(painter, QRectF(w * 0.8, h * 0.02, w * 0.2, h * 0.08), QStringLiteral("R"),
                 Ink::Line, 14, Qt::AlignCenter, true);

    QPen dashed = style::pen(Ink::Faint);
    dashed.setStyle(Qt::DashLine);
    painter.setPen(dashed);
    const QRectF audience(w * 0.06, h * 0.3, w * 0.88, h * 0.54);
    painter.drawRect(audience);
    style::label(painter, audience.adjusted(8, 4, -8, -4), QStringLiteral("AUDIENCE"), Ink::Faint,
                 style::kLabelSize, Qt::AlignLeft | Qt::AlignTop);

    const QPointF mix = at(size, kMixPosition);
    painter.setPen(style::pen(Ink::Line));
    const QRectF desk(mix.x() - w * 0.07, mix.y() - h * 0.04, w * 0.14, h * 0.08);
    painter.drawRoundedRect(desk, 2, 2);
    style::label(painter, desk, QStringLiteral("QX8"), Ink::Label, style::kLabelSize,
                 Qt::AlignCenter, true);

    for (int i = 0; i < 4; ++i) {
        const QPointF centre = at(size, kMicPositions[i]);
        painter.setPen(style::pen(Ink::Faint));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, h * 0.045, h * 0.045);
        style::label(painter,
                     QRectF(centre - QPointF(h * 0.045, h * 0.045), QSizeF(h * 0.09, h * 0.09)),
                     QString::number(i + 1), Ink::Faint, 14, Qt::AlignCenter, true);
    }
}

void micPosition(QPainter& painter, const QSizeF& size, int position)
{
    const double h = size.height();
    const QPointF centre = at(size, kMicPositions[position - 1]);
    markedMicrophone(painter, centre, h * 0.09);
    style::label(painter, QRectF(centre.x() + h * 0.09, centre.y() - h * 0.06, h * 0.1, h * 0.12),
                 QString::number(position), Ink::Accent, 20, Qt::AlignCenter, true);
}

void measuringMic(QPainter& painter, const QSizeF& size)
{
    const double w = size.width();
    const double h = size.height();
    const QPointF mix = at(size, kMixPosition);
    const QPointF mic(mix.x() + w * 0.24, mix.y() - h * 0.02);
    parts::wire(painter, {mic + QPointF(0, h * 0.09), QPointF(mic.x(), h - 4),
                          QPointF(mix.x() + w * 0.04, h - 4),
                          QPointF(mix.x() + w * 0.04, mix.y() + h * 0.04)});
    markedMicrophone(painter, mic, h * 0.09);
    style::label(painter, QRectF(mic.x() + h * 0.11, mic.y() - h * 0.04, w * 0.2, h * 0.08),
                 QStringLiteral("RTA MIC"), Ink::Accent, 14, Qt::AlignLeft | Qt::AlignVCenter,
                 true);
}

void mixerOutputs(QPainter& painter, const QSizeF& size, bool raise)
{
    const double w = size.width();
    const double h = size.height();
    const QRectF desk = QRectF(QPointF(), size).adjusted(2, 2, -2, -2);
    painter.setPen(style::pen(Ink::Faint));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(desk, 4, 4);
    const QStringList names = {QStringLiteral("L"), QStringLiteral("R"), QStringLiteral("MON 1"),
                               QStringLiteral("MON 2")};
    // Each fader's slot holds its name with a gap to the next, however small the picture.
    const QFontMetricsF metrics(style::font(style::kLabelSize));
    const double widestName = metrics.horizontalAdvance(QStringLiteral("MON 1"));
    const double slot = qMax(w * 0.72 / names.size(), widestName + 10);
    const QRectF faderArea(desk.left() + 10, desk.top() + 12, slot * names.size(), h - 64);
    const double level = raise ? 0.55 : 0.0;
    parts::faders(painter, faderArea, {level, level, level, level}, Ink::Accent);
    for (int i = 0; i < names.size(); ++i)
        style::label(painter, QRectF(faderArea.left() + slot * i, faderArea.bottom() + 6, slot, 18),
                     names[i]);
    style::label(painter, QRectF(faderArea.left(), desk.bottom() - 22, faderArea.width(), 18),
                 QStringLiteral("MIXER OUTPUTS"), Ink::Label, style::kLabelSize, Qt::AlignCenter,
                 true);
    const double x = faderArea.right() + (desk.right() - faderArea.right()) / 2;
    const QPointF top(x, faderArea.top() + 6);
    const QPointF bottom(x, faderArea.bottom() - 6);
    parts::arrow(painter, raise ? bottom : top, raise ? top : bottom, Ink::Accent, 5,
                 qMin(w, h) * 0.12);
}

void dialScale(QPainter& painter, const QSizeF& size)
{
    const QPointF centre(size.width() / 2, size.height() / 2);
    const double radius = qMin(size.width(), size.height()) / 2;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(style::pen(Ink::Faint, 6));
    const double arcRadius = radius * 0.7;
    // Qt's arcs run counter-clockwise from three o'clock.
    painter.drawArc(QRectF(centre - QPointF(arcRadius, arcRadius), QSizeF(2, 2) * arcRadius),
                    qRound((90 - kZeroAngle) * 16), -270 * 16);
    for (int percent = 0; percent <= 100; percent += 5) {
        const double angle = kZeroAngle + percent * kDegreesPerPercent;
        const bool major = percent % 10 == 0;
        painter.setPen(style::pen(major ? Ink::Line : Ink::Faint, major ? 3 : 2));
        painter.drawLine(polar(centre, radius * (major ? 0.74 : 0.76), angle),
                         polar(centre, radius * 0.82, angle));
        if (!major)
            continue;
        const QPointF at = polar(centre, radius * 0.91, angle);
        style::label(painter, QRectF(at - QPointF(20, 10), QSizeF(40, 20)),
                     QString::number(percent), Ink::Label, 16);
    }
}

void dialPointer(QPainter& painter, const QSizeF& size)
{
    const QPointF centre(size.width() / 2, size.height() / 2);
    const double radius = qMin(size.width(), size.height()) / 2;
    const double knobRadius = radius * 0.58;
    painter.setPen(style::pen(Ink::Line));
    painter.setBrush(QColor(0x1e, 0x1e, 0x1e));
    painter.drawEllipse(centre, knobRadius, knobRadius);
    // Grip marks round the rim, which turn with the knob.
    painter.setPen(style::pen(Ink::Faint));
    for (int i = 0; i < 36; ++i)
        painter.drawLine(polar(centre, knobRadius * 0.92, i * 10.0),
                         polar(centre, knobRadius * 0.98, i * 10.0));
    painter.setPen(style::pen(Ink::Accent, 7));
    painter.drawLine(polar(centre, knobRadius * 0.72, kZeroAngle),
                     polar(centre, radius * 0.7, kZeroAngle));
}

void dialButton(QPainter& painter, const QSizeF& size, bool plus)
{
    const QPointF centre(size.width() / 2, size.height() / 2);
    const double radius = qMin(size.width(), size.height()) / 2 - 3;
    painter.setPen(style::pen(Ink::Line));
    painter.setBrush(QColor(0x2b, 0x2b, 0x2b));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(style::pen(Ink::Accent, 4));
    painter.drawLine(centre - QPointF(radius * 0.45, 0), centre + QPointF(radius * 0.45, 0));
    if (plus)
        painter.drawLine(centre - QPointF(0, radius * 0.45), centre + QPointF(0, radius * 0.45));
}

void splash(QPainter& painter, const QSizeF& size)
{
    const double w = size.width();
    // The response the unit shapes, above the unit itself, between the PA's two sides; the
    // page keeps the lower part for its own texts.
    curves::equaliser(painter, QRectF(150, 110, w - 300, 200), 3.5);
    painter.setPen(style::pen(Ink::Faint));
    painter.drawLine(QPointF(20, 460), QPointF(w - 20, 460));
    for (const double x : {70.0, w - 70.0})
        parts::speakerOnStand(painter, x, 460, QSizeF(80, 150), Ink::Line);

    const QRectF unit(150, 350, w - 300, 80);
    painter.setPen(style::pen(Ink::Line));
    painter.setBrush(QColor(0x1e, 0x1e, 0x1e));
    painter.drawRoundedRect(unit, 4, 4);
    for (const double x : {unit.left() - 22, unit.right()}) {
        const QRectF ear(x, unit.top(), 22, unit.height());
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(ear, 3, 3);
        for (const double y : {0.25, 0.75})
            painter.drawEllipse(QPointF(ear.center().x(), ear.top() + ear.height() * y), 4, 4);
    }
    QFont brand = style::font(24, true);
    brand.setItalic(true);
    painter.setFont(brand);
    painter.setPen(style::colour(Ink::Brand));
    painter.drawText(QRectF(unit.left() + 18, unit.top(), 200, unit.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("SPANDRELL QX8"));
    const QRectF display(unit.left() + 232, unit.top() + 14, 170, unit.height() - 28);
    painter.setPen(style::pen(Ink::Line));
    painter.setBrush(QColor(0x14, 0x14, 0x14));
    painter.drawRoundedRect(display, 3, 3);
    curves::equaliser(painter, display.adjusted(6, 6, -6, -6), 2);
    // Meters, eight channels.
    const double metersLeft = display.right() + 24;
    for (int channel = 0; channel < 8; ++channel) {
        const int lit = 2 + (channel * 5 + 3) % 5;
        for (int led = 0; led < 6; ++led) {
            const QRectF cell(metersLeft + channel * 14, unit.bottom() - 18 - led * 9, 9, 6);
            painter.setPen(Qt::NoPen);
            painter.setBrush(style::colour(led < lit ? Ink::On : Ink::Faint));
            painter.drawRoundedRect(cell, 1, 1);
        }
    }
    const double controlsLeft = metersLeft + 8 * 14 + 30;
    for (int i = 0; i < 2; ++i)
        parts::knob(painter, QPointF(controlsLeft + 20 + 46 * i, unit.center().y()), 17,
                    -60 + 100 * i);
    parts::xlr(painter, QPointF(unit.right() - 40, unit.center().y() - 6), 16, true);
    style::label(painter, QRectF(unit.right() - 76, unit.bottom() - 20, 72, 16),
                 QStringLiteral("RTA MIC"));
}

} // namespace scenes
