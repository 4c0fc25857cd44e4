#include "drawings.h"
#include "parts.h"

#include <QPainter>
#include <QtMath>
#include <functional>

using style::Ink;

namespace icons {

namespace {

// A curve over t in [0, 1] from x = left to x = right, y in units of the icon's size.
QPolygonF curve(const std::function<double(double)>& y, double s, double left = 0.12,
                double right = 0.88, int steps = 60)
{
    QPolygonF points;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        points << QPointF((left + (right - left) * t) * s, y(t) * s);
    }
    return points;
}

std::function<double(double)> bell(double centre, double height, double width)
{
    return [=](double t) { return 0.6 - height * std::exp(-std::pow((t - centre) / width, 2)); };
}

void mute(QPainter& painter, double s)
{
    painter.setPen(style::pen(Ink::Alert, s * 0.06));
    painter.drawLine(QPointF(0.6 * s, 0.6 * s), QPointF(0.9 * s, 0.9 * s));
    painter.drawLine(QPointF(0.9 * s, 0.6 * s), QPointF(0.6 * s, 0.9 * s));
}

void axes(QPainter& painter, double s)
{
    painter.setPen(style::pen(Ink::Faint));
    painter.drawLine(QPointF(0.15 * s, 0.85 * s), QPointF(0.85 * s, 0.85 * s));
    painter.drawLine(QPointF(0.15 * s, 0.15 * s), QPointF(0.15 * s, 0.85 * s));
}

void transfer(QPainter& painter, double s, const QVector<QPointF>& unitPoints)
{
    axes(painter, s);
    QPolygonF points;
    for (const QPointF& point : unitPoints)
        points << point * s;
    painter.setPen(style::pen(Ink::Line));
    painter.drawPolyline(points);
}

void speakerFront(QPainter& painter, double s)
{
    painter.setPen(style::pen(Ink::Line));
    painter.drawPolygon(QPolygonF(QVector<QPointF>{{0.2 * s, 0.4 * s},
                                                   {0.35 * s, 0.4 * s},
                                                   {0.55 * s, 0.22 * s},
                                                   {0.55 * s, 0.78 * s},
                                                   {0.35 * s, 0.6 * s},
                                                   {0.2 * s, 0.6 * s}}));
}

} // namespace

void logo(QPainter& painter, const QSizeF& size)
{
    const QString text = QStringLiteral("SPANDRELL QX8");
    QFont font = style::fittedFont(text, size.width() * 0.96, size.height() * 0.8, true);
    font.setItalic(true);
    painter.setFont(font);
    painter.setPen(style::colour(Ink::Brand));
    painter.drawText(QRectF(QPointF(), size), Qt::AlignCenter, text);
}

bool block(QPainter& painter, const QSizeF& size, const QString& name)
{
    const double s = size.width();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(style::pen(Ink::Line));
    if (name == QLatin1String("Mixer") || name == QLatin1String("MixerMute")) {
        parts::faders(painter, QRectF(0.16 * s, 0.16 * s, 0.68 * s, 0.68 * s), {0.7, 0.35, 0.55});
        if (name == QLatin1String("MixerMute"))
            mute(painter, s);
    } else if (name == QLatin1String("ParaEQ")) {
        painter.drawPolyline(curve(bell(0.5, 0.3, 0.18), s));
    } else if (name == QLatin1String("Nuq")) {
        painter.drawPolyline(curve(
            [](double t) {
                return 0.3 + 0.4 * std::exp(-std::pow((t - 0.35) / 0.03, 2)) +
                       0.3 * std::exp(-std::pow((t - 0.7) / 0.025, 2));
            },
            s, 0.12, 0.88, 120));
    } else if (name == QLatin1String("GraphicEQ")) {
        parts::geqBlock(painter, QRectF(0.12 * s, 0.2 * s, 0.76 * s, 0.6 * s),
                        {0.5, 0.65, 0.4, 0.7, 0.55, 0.35, 0.6});
    } else if (name == QLatin1String("SubSynth")) {
        painter.drawPolyline(
            curve([](double t) { return 0.5 - 0.28 * std::sin(2 * M_PI * t); }, s));
        painter.setPen(style::pen(Ink::Faint));
        painter.drawPolyline(
            curve([](double t) { return 0.5 - 0.12 * std::sin(4 * M_PI * t); }, s));
    } else if (name == QLatin1String("AutoEQ")) {
        painter.drawPolyline(curve(bell(0.35, -0.2, 0.15), s));
        parts::microphone(painter, QPointF(0.72 * s, 0.14 * s), 0.42 * s, Ink::Line);
    } else if (name == QLatin1String("Compressor")) {
        transfer(painter, s, {{0.15, 0.85}, {0.5, 0.5}, {0.85, 0.38}});
    } else if (name == QLatin1String("Limiter")) {
        transfer(painter, s, {{0.15, 0.85}, {0.55, 0.45}, {0.85, 0.45}});
    } else if (name == QLatin1String("AGC")) {
        transfer(painter, s, {{0.15, 0.65}, {0.35, 0.45}, {0.85, 0.4}});
    } else if (name == QLatin1String("Gate")) {
        transfer(painter, s, {{0.15, 0.85}, {0.45, 0.85}, {0.45, 0.55}, {0.85, 0.2}});
    } else if (name == QLatin1String("Crossover")) {
        painter.drawPolyline(
            curve([](double t) { return 0.3 + 0.5 / (1 + std::exp(-(t - 0.55) * 14)); }, s));
        painter.setPen(style::pen(Ink::Faint));
        painter.drawPolyline(
            curve([](double t) { return 0.3 + 0.5 / (1 + std::exp((t - 0.45) * 14)); }, s));
    } else if (name == QLatin1String("AlignmentDelay")) {
        painter.drawEllipse(QPointF(0.5 * s, 0.5 * s), 0.32 * s, 0.32 * s);
        painter.drawLine(QPointF(0.5 * s, 0.5 * s), QPointF(0.5 * s, 0.28 * s));
        painter.drawLine(QPointF(0.5 * s, 0.5 * s), QPointF(0.66 * s, 0.58 * s));
    } else if (name == QLatin1String("RTAmic")) {
        painter.setPen(style::pen(Ink::Faint, s * 0.05));
        const double levels[] = {0.6, 0.45, 0.55, 0.35};
        for (int i = 0; i < 4; ++i) {
            const double x = (0.16 + 0.1 * i) * s;
            painter.drawLine(QPointF(x, 0.85 * s), QPointF(x, levels[i] * s));
        }
        parts::microphone(painter, QPointF(0.74 * s, 0.15 * s), 0.7 * s, Ink::Line);
    } else if (name == QLatin1String("Input")) {
        parts::xlr(painter, QPointF(0.5 * s, 0.54 * s), 0.3 * s, true);
    } else if (name == QLatin1String("Output") || name == QLatin1String("OutputMute")) {
        speakerFront(painter, s);
        if (name == QLatin1String("OutputMute")) {
            mute(painter, s);
        } else {
            painter.setPen(style::pen(Ink::Faint));
            for (const double radius : {0.15, 0.27})
                painter.drawArc(QRectF(0.55 * s - radius * s, 0.5 * s - radius * s, 2 * radius * s,
                                       2 * radius * s),
                                -45 * 16, 90 * 16);
        }
    } else {
        return false;
    }
    return true;
}

void mixerType(QPainter& painter, const QSizeF& size, const QString& label)
{
    const double h = size.height();
    const QPointF sum(h * 0.62, h * 0.5);
    const double radius = h * 0.1;
    painter.setPen(style::pen(Ink::Line));
    for (int i = 0; i < 4; ++i)
        painter.drawLine(QPointF(h * 0.08, h * (0.16 + 0.227 * i)), sum);
    painter.setBrush(style::colour(Ink::Line).darker(400));
    painter.drawEllipse(sum, radius, radius);
    painter.drawLine(sum - QPointF(radius * 0.55, 0), sum + QPointF(radius * 0.55, 0));
    painter.drawLine(sum - QPointF(0, radius * 0.55), sum + QPointF(0, radius * 0.55));
    const QRectF box(h * 0.82, 0, size.width() - h * 0.82, h);
    painter.setFont(style::fittedFont(label, box.width(), h * 0.4, true));
    painter.setPen(style::colour(Ink::Accent));
    painter.drawText(box, Qt::AlignCenter, label);
}

void buttonBackground(QPainter& painter, const QSizeF& size, const QColor& band)
{
    const QRectF box = QRectF(QPointF(), size).adjusted(1, 1, -1, -1);
    painter.setPen(style::pen(Ink::Faint));
    painter.setBrush(QColor(0x2b, 0x2b, 0x2b));
    painter.drawRoundedRect(box, 4, 4);
    painter.setPen(QPen(band, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(box.left() + 6, box.bottom() - 4),
                     QPointF(box.right() - 6, box.bottom() - 4));
}

void tick(QPainter& painter, const QSizeF& size)
{
    const double s = size.width();
    painter.setPen(style::pen(Ink::On, s * 0.12));
    painter.drawPolyline(QPolygonF(
        QVector<QPointF>{{0.18 * s, 0.52 * s}, {0.4 * s, 0.74 * s}, {0.82 * s, 0.28 * s}}));
}

void close(QPainter& painter, const QSizeF& size)
{
    const double s = size.width();
    painter.setPen(style::pen(Ink::Line));
    painter.drawEllipse(QRectF(0.06 * s, 0.06 * s, 0.88 * s, 0.88 * s));
    painter.drawLine(QPointF(0.34 * s, 0.34 * s), QPointF(0.66 * s, 0.66 * s));
    painter.drawLine(QPointF(0.66 * s, 0.34 * s), QPointF(0.34 * s, 0.66 * s));
}

void activity(QPainter& painter, const QSizeF& size)
{
    // Twelve spokes, fading behind the brightest one: turned, the bright end leads.
    const double s = size.width();
    const QPointF centre(s / 2, s / 2);
    for (int i = 0; i < 12; ++i) {
        const double radians = qDegreesToRadians(i * 30.0 - 90.0);
        const QPointF direction(std::cos(radians), std::sin(radians));
        QColor colour = style::colour(Ink::Accent);
        colour.setAlphaF(0.15 + 0.85 * i / 11.0);
        painter.setPen(QPen(colour, s * 0.09, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(centre + direction * s * 0.24, centre + direction * s * 0.42);
    }
}

void play(QPainter& painter, const QSizeF& size)
{
    const double s = size.width();
    painter.setPen(style::pen(Ink::Line));
    painter.drawEllipse(QRectF(0.06 * s, 0.06 * s, 0.88 * s, 0.88 * s));
    painter.setBrush(style::colour(Ink::Accent));
    painter.setPen(style::pen(Ink::Accent, style::kThinStroke));
    painter.drawPolygon(
        QPolygonF(QVector<QPointF>{{0.4 * s, 0.3 * s}, {0.72 * s, 0.5 * s}, {0.4 * s, 0.7 * s}}));
}

void application(QPainter& painter, const QSizeF& size)
{
    const double s = size.width();
    const QRectF tile = QRectF(QPointF(), size).adjusted(0.03 * s, 0.03 * s, -0.03 * s, -0.03 * s);
    painter.setPen(style::pen(Ink::Faint, 0.02 * s));
    painter.setBrush(QColor(0x1e, 0x1e, 0x1e));
    painter.drawRoundedRect(tile, 0.18 * s, 0.18 * s);
    curves::equaliser(painter, QRectF(0.15 * s, 0.16 * s, 0.7 * s, 0.44 * s), 0.04 * s);
    // Six meters, their lit cells rising to different heights.
    const double cellWidth = 0.07 * s;
    const double pitch = 0.7 * s / 6;
    painter.setPen(Qt::NoPen);
    for (int meter = 0; meter < 6; ++meter) {
        const int lit = 1 + (meter * 2 + 1) % 4;
        for (int cell = 0; cell < 4; ++cell) {
            const QRectF box(0.15 * s + meter * pitch + (pitch - cellWidth) / 2,
                             (0.8 - cell * 0.055) * s, cellWidth, 0.035 * s);
            painter.setBrush(style::colour(cell < lit ? Ink::On : Ink::Faint));
            painter.drawRect(box);
        }
    }
}

} // namespace icons
