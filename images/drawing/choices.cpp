#include "drawings.h"
#include "parts.h"

#include <QPainter>
#include <algorithm>

using style::Ink;

namespace choices {

namespace {

// The choices' labels: the pages' label size, bold and light, so that they read at a glance on a
// row's raised ground and on a selected row's fill alike.
constexpr double kChoiceLabelSize = 14;

void choiceLabel(QPainter& painter, const QRectF& box, const QString& text,
                 int alignment = Qt::AlignCenter, Ink ink = Ink::Line)
{
    style::label(painter, box, text, ink, kChoiceLabelSize, alignment, true);
}

// Names of the amplifier channels feeding `count` drivers, the lowest band last.
QStringList bandNames(int count)
{
    if (count == 3)
        return {QStringLiteral("HI"), QStringLiteral("MID"), QStringLiteral("LO")};
    if (count == 2)
        return {QStringLiteral("HI"), QStringLiteral("LO")};
    return {QString()};
}

} // namespace

void speakerMode(QPainter& painter, const QSizeF& size, int drivers, int amplifiers)
{
    const double w = size.width();
    const double h = size.height();
    const QRectF box(w * 0.6, h * 0.06, w * 0.3, h * 0.88);
    const QVector<QPointF> centres = parts::cabinet(painter, box, drivers);
    // One channel drives the whole cabinet through its own crossover; otherwise one channel a
    // band, each wired to its own driver.
    const QStringList names = bandNames(amplifiers);
    for (int i = 0; i < amplifiers; ++i) {
        const double y = amplifiers == 1 ? h / 2 : centres[i].y();
        const QPointF input(w * 0.32, y);
        const QPointF output(w * 0.45, y);
        parts::amplifierSymbol(painter, input, output);
        const QPointF end = amplifiers == 1 ? QPointF(box.left(), y) : centres[i];
        parts::wire(painter, {output, QPointF(box.left() - w * 0.04, y), end}, Ink::Accent);
        choiceLabel(painter, QRectF(0, y - h * 0.12, w * 0.28, h * 0.24), names[i],
                    Qt::AlignRight | Qt::AlignVCenter);
    }
}

void monitorMode(QPainter& painter, const QSizeF& size, int drivers, int amplifiers)
{
    const double w = size.width();
    const double h = size.height();
    const QRectF face(w * 0.06, h * 0.44, w * 0.88, h * 0.44);
    const QVector<QPointF> centres = parts::wedge(painter, face, drivers);
    // The channels stand above the drivers they feed, the lowest band on the left, each named
    // over its amplifier.
    QStringList names = bandNames(amplifiers);
    std::reverse(names.begin(), names.end());
    const double slot = face.width() / 3;
    for (int i = 0; i < amplifiers; ++i) {
        const double x = amplifiers == 1 ? w / 2 : centres[i].x();
        const QPointF input(x, h * 0.2);
        const QPointF output(x, h * 0.33);
        parts::amplifierSymbol(painter, input, output);
        parts::wire(painter, {output, QPointF(x, face.top() - 2)}, Ink::Accent);
        choiceLabel(painter, QRectF(x - slot / 2, 0, slot, h * 0.19), names[i]);
    }
}

void paSystem(QPainter& painter, const QSizeF& size)
{
    const double w = size.width();
    const double h = size.height();
    const QSizeF cabinet(w * 0.2, h * 0.42);
    painter.setPen(style::pen(Ink::Faint));
    painter.drawLine(QPointF(0, h * 0.95), QPointF(w, h * 0.95));
    parts::speakerOnStand(painter, w * 0.2, h * 0.95, cabinet, Ink::Accent);
    parts::speakerOnStand(painter, w * 0.8, h * 0.95, cabinet, Ink::Accent);
    choiceLabel(painter, QRectF(w * 0.32, h * 0.05, w * 0.14, h * 0.2), QStringLiteral("L"));
    choiceLabel(painter, QRectF(w * 0.54, h * 0.05, w * 0.14, h * 0.2), QStringLiteral("R"));
}

void stageMonitors(QPainter& painter, const QSizeF& size)
{
    const double w = size.width();
    const double h = size.height();
    painter.setPen(style::pen(Ink::Faint));
    painter.drawLine(QPointF(0, h * 0.95), QPointF(w, h * 0.95));
    // A vocal microphone on its stand between two wedges that face it.
    parts::micStand(painter, w * 0.5, h * 0.95, h * 0.85);
    parts::wedgeProfile(painter, QRectF(w * 0.04, h * 0.6, w * 0.3, h * 0.35), false, Ink::Accent);
    parts::wedgeProfile(painter, QRectF(w * 0.66, h * 0.6, w * 0.3, h * 0.35), true, Ink::Accent);
}

void paSystemAndStageMonitors(QPainter& painter, const QSizeF& size)
{
    const double w = size.width();
    const double h = size.height();
    painter.setPen(style::pen(Ink::Faint));
    painter.drawLine(QPointF(0, h * 0.95), QPointF(w, h * 0.95));
    const QSizeF cabinet(w * 0.16, h * 0.36);
    parts::speakerOnStand(painter, w * 0.11, h * 0.95, cabinet, Ink::Accent);
    parts::speakerOnStand(painter, w * 0.89, h * 0.95, cabinet, Ink::Accent);
    parts::micStand(painter, w * 0.5, h * 0.95, h * 0.75);
    parts::wedgeProfile(painter, QRectF(w * 0.24, h * 0.7, w * 0.2, h * 0.25), false, Ink::Accent);
    parts::wedgeProfile(painter, QRectF(w * 0.56, h * 0.7, w * 0.2, h * 0.25), true, Ink::Accent);
}

void outputFormat(QPainter& painter, const QSizeF& size, int outputs)
{
    const double w = size.width();
    const double h = size.height();
    // The mono mix at the top, wired down to each speaker.
    const QPointF source(w / 2, h * 0.16);
    const double radius = h * 0.12;
    const QSizeF cabinet(w * 0.16, h * 0.42);
    const double gap = w / (outputs + 1);
    for (int i = 0; i < outputs; ++i) {
        const double x = gap * (i + 1);
        const QRectF box(x - cabinet.width() / 2, h * 0.94 - cabinet.height(), cabinet.width(),
                         cabinet.height());
        parts::wire(painter,
                    {source + QPointF(0, radius), QPointF(source.x(), h * 0.4), QPointF(x, h * 0.4),
                     QPointF(x, box.top())},
                    Ink::Accent);
        parts::cabinet(painter, box, 2);
    }
    painter.setPen(style::pen(Ink::Accent));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(source, radius, radius);
    choiceLabel(painter, QRectF(source - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius)),
                QStringLiteral("M"), Qt::AlignCenter, Ink::Accent);
}

void subAmplifier(QPainter& painter, const QSizeF& size, bool bridged)
{
    const double w = size.width();
    const double h = size.height();
    const QRectF amplifier(w * 0.04, h * 0.22, w * 0.34, h * 0.56);
    painter.setPen(style::pen(Ink::Line));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(amplifier, 2, 2);
    const QPointF outputA(amplifier.right() - w * 0.06, h * 0.37);
    const QPointF outputB(amplifier.right() - w * 0.06, h * 0.63);
    for (const auto& [output, name] : {std::make_pair(outputA, QStringLiteral("A")),
                                       std::make_pair(outputB, QStringLiteral("B"))}) {
        painter.setPen(style::pen(Ink::Line));
        painter.drawEllipse(output, h * 0.05, h * 0.05);
        choiceLabel(painter, QRectF(amplifier.left(), output.y() - h * 0.1, w * 0.16, h * 0.2),
                    name);
    }
    if (bridged) {
        // Both channels in series: one output across the two, to one sub.
        const QRectF box(w * 0.6, h * 0.2, w * 0.36, h * 0.6);
        const double joinX = amplifier.right() + w * 0.08;
        parts::wire(painter,
                    {outputA, QPointF(joinX, outputA.y()), QPointF(joinX, outputB.y()), outputB});
        parts::wire(painter, {QPointF(joinX, h / 2), QPointF(box.left(), h / 2)});
        parts::sub(painter, box);
        return;
    }
    const QRectF boxA(w * 0.62, h * 0.04, w * 0.34, h * 0.42);
    const QRectF boxB(w * 0.62, h * 0.54, w * 0.34, h * 0.42);
    parts::wire(painter,
                {outputA, QPointF(w * 0.5, outputA.y()), QPointF(w * 0.5, boxA.center().y()),
                 QPointF(boxA.left(), boxA.center().y())});
    parts::wire(painter,
                {outputB, QPointF(w * 0.5, outputB.y()), QPointF(w * 0.5, boxB.center().y()),
                 QPointF(boxB.left(), boxB.center().y())});
    parts::sub(painter, boxA);
    parts::sub(painter, boxB);
}

void inputMixing(QPainter& painter, const QSizeF& size, bool stereo)
{
    const double w = size.width();
    const double h = size.height();
    const double yLeft = h * 0.28;
    const double yRight = h * 0.72;
    const double socket = h * 0.11;
    for (const auto& [y, name] : {std::make_pair(yLeft, QStringLiteral("L")),
                                  std::make_pair(yRight, QStringLiteral("R"))}) {
        parts::xlr(painter, QPointF(w * 0.12, y), socket, true);
        if (stereo) {
            parts::arrow(painter, QPointF(w * 0.12 + socket + 2, y), QPointF(w * 0.74, y));
            choiceLabel(painter, QRectF(w * 0.76, y - h * 0.12, w * 0.22, h * 0.24), name);
        }
    }
    if (stereo)
        return;
    // Both inputs summed into one.
    const QPointF sum(w * 0.55, h / 2);
    const double radius = h * 0.1;
    parts::wire(painter, {QPointF(w * 0.12 + socket + 2, yLeft), QPointF(w * 0.38, yLeft),
                          sum + QPointF(-radius * 0.7, -radius * 0.7)});
    parts::wire(painter, {QPointF(w * 0.12 + socket + 2, yRight), QPointF(w * 0.38, yRight),
                          sum + QPointF(-radius * 0.7, radius * 0.7)});
    painter.setPen(style::pen(Ink::Accent));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(sum, radius, radius);
    painter.drawLine(sum - QPointF(radius * 0.5, 0), sum + QPointF(radius * 0.5, 0));
    painter.drawLine(sum - QPointF(0, radius * 0.5), sum + QPointF(0, radius * 0.5));
    parts::arrow(painter, sum + QPointF(radius, 0), QPointF(w * 0.74, h / 2));
    choiceLabel(painter, QRectF(w * 0.74, h * 0.38, w * 0.26, h * 0.24), QStringLiteral("L+R"));
}

void equaliserFormat(QPainter& painter, const QSizeF& size, bool linked, bool auxSub)
{
    const double w = size.width();
    const double h = size.height();
    const QStringList names = linked ? QStringList{QStringLiteral("L"), QStringLiteral("R")}
                                     : QStringList{QStringLiteral("1"), QStringLiteral("2")};
    // Linked channels share one setting; dual mono ones are set apart.
    const QVector<QVector<double>> levels =
        linked ? QVector<QVector<double>>{{0.6, 0.4, 0.7, 0.5, 0.3}, {0.6, 0.4, 0.7, 0.5, 0.3}}
               : QVector<QVector<double>>{{0.6, 0.4, 0.7, 0.5, 0.3}, {0.3, 0.65, 0.45, 0.6, 0.7}};
    const QVector<double> rows = auxSub ? QVector<double>{0.15, 0.52} : QVector<double>{0.22, 0.76};
    const double blockHeight = h * (auxSub ? 0.24 : 0.3);
    const QRectF block(w * 0.3, 0, w * 0.3, blockHeight);
    const Ink channelInk = auxSub ? Ink::Line : Ink::Accent;
    for (int i = 0; i < 2; ++i) {
        const double y = rows[i] * h;
        const QRectF equaliser = block.translated(0, y - blockHeight / 2);
        choiceLabel(painter, QRectF(0, y - h * 0.12, w * 0.14, h * 0.24), names[i]);
        parts::wire(painter, {QPointF(w * 0.14, y), QPointF(equaliser.left(), y)}, channelInk);
        parts::geqBlock(painter, equaliser, levels[i], channelInk);
        parts::arrow(painter, QPointF(equaliser.right(), y), QPointF(w * 0.94, y), channelInk);
    }
    if (linked)
        parts::chainLink(painter, QPointF(block.center().x(), rows[0] * h + blockHeight / 2 + 1),
                         QPointF(block.center().x(), rows[1] * h - blockHeight / 2 - 1),
                         channelInk);
    if (!auxSub)
        return;
    // The aux send bypasses the mains' processing and feeds the sub alone.
    const double y = h * 0.84;
    choiceLabel(painter, QRectF(0, y - h * 0.12, w * 0.3, h * 0.24), QStringLiteral("AUX"),
                Qt::AlignCenter, Ink::Accent);
    const QRectF box(w * 0.68, y - h * 0.14, w * 0.28, h * 0.28);
    parts::wire(painter, {QPointF(w * 0.3, y), QPointF(box.left(), y)}, Ink::Accent, true);
    parts::sub(painter, box, Ink::Accent);
}

} // namespace choices
