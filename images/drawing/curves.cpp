#include "drawings.h"
#include "parts.h"

#include "curvecalculator.h"
#include "logfrequencyaxis.h"

#include <QPainter>
#include <QPainterPath>

using style::Ink;

namespace curves {

namespace {

// The summed response of `calculator`'s bands in dB at `columns` points of `axis`.
QVector<double> response(CurveCalculator calculator, const LogFrequencyAxis& axis, int columns)
{
    QVector<double> levels(columns, 0.0);
    for (int band = 0; band < calculator.bandCount; ++band) {
        calculator.prep(band);
        for (int x = 0; x < columns; ++x)
            levels[x] += calculator.gainForFreq(axis.frequencyAt(x, columns - 1));
    }
    return levels;
}

CurveCalculator shelves(double lowGain, double highFrequency, double highGain)
{
    CurveCalculator calculator;
    calculator.mode = 1;
    calculator.bandCount = 2;
    calculator.bands[0] = {1.0, 6.0, lowGain, 120.0, CurveCalculator::LowShelf};
    calculator.bands[1] = {1.0, 6.0, highGain, highFrequency, CurveCalculator::HighShelf};
    return calculator;
}

// `levels` (dB, one per column of `frame`) as a polyline, +-`rangeDb` over the frame's height.
QPolygonF levelLine(const QVector<double>& levels, const QRectF& frame, double zeroY,
                    double rangeDb)
{
    QPolygonF points;
    const double step = frame.width() / qMax(1, levels.size() - 1);
    for (int x = 0; x < levels.size(); ++x)
        points << QPointF(frame.left() + x * step,
                          zeroY - levels[x] / rangeDb * frame.height() / 2);
    return points;
}

} // namespace

void target(QPainter& painter, const QSizeF& size, Target target)
{
    // House curves: a lift in the lows and a falling top; a reflective room gets less of the
    // first, which the room adds itself, and more of the second.
    const CurveCalculator calculator = target == Target::Recommended ? shelves(6.0, 4000.0, -4.0)
                                       : target == Target::Flat      ? CurveCalculator{}
                                                                     : shelves(2.0, 2000.0, -8.0);
    const QRectF frame = QRectF(QPointF(), size).adjusted(3, 3, -3, -3);
    constexpr double kRangeDb = 12.0;
    const double zeroY = frame.center().y();
    parts::frequencyGrid(painter, frame, zeroY);
    const QVector<double> levels =
        response(calculator, LogFrequencyAxis(20.0, 20000.0), qRound(frame.width()) + 1);
    painter.setPen(style::pen(Ink::Accent, 2.5));
    painter.drawPolyline(levelLine(levels, frame, zeroY, kRangeDb));
}

void equaliser(QPainter& painter, const QRectF& frame, double strokeWidth)
{
    CurveCalculator calculator;
    calculator.mode = 1;
    calculator.bandCount = 4;
    calculator.bands[0] = {1.0, 9.0, 5.0, 90.0, CurveCalculator::LowShelf};
    calculator.bands[1] = {4.0, 0.0, -7.0, 320.0, CurveCalculator::Bell};
    calculator.bands[2] = {1.4, 0.0, 4.0, 2800.0, CurveCalculator::Bell};
    calculator.bands[3] = {1.0, 6.0, -5.0, 11000.0, CurveCalculator::HighShelf};
    const double zeroY = frame.center().y();
    parts::frequencyGrid(painter, frame, zeroY);
    const QVector<double> levels =
        response(calculator, LogFrequencyAxis(20.0, 20000.0), qRound(frame.width()) + 1);
    painter.setPen(style::pen(Ink::Accent, strokeWidth));
    painter.drawPolyline(levelLine(levels, frame, zeroY, 15.0));
}

void nuqWidth(QPainter& painter, const QSizeF& size, double q)
{
    // As on the Nuq graph: notches hang from the 0 dB line at the top. Four octaves around the
    // notch, so that the narrowest one still shows its shape.
    CurveCalculator calculator;
    calculator.mode = 3;
    calculator.bandCount = 1;
    calculator.bands[0].Frequency = 1000.0;
    calculator.bands[0].Gain = -15.0;
    calculator.bands[0].Q = q;
    const QRectF frame = QRectF(QPointF(), size).adjusted(3, 3, -3, -3);
    const double zeroY = frame.top() + frame.height() * 0.12;
    const double dbToY = (frame.bottom() - zeroY) / 18.0;
    painter.setPen(style::pen(Ink::Faint, style::kThinStroke));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
    for (const double db : {-6.0, -12.0})
        painter.drawLine(QPointF(frame.left(), zeroY - db * dbToY),
                         QPointF(frame.right(), zeroY - db * dbToY));
    const LogFrequencyAxis axis(250.0, 4000.0);
    const int columns = qRound(frame.width()) * 4 + 1;
    const QVector<double> levels = response(calculator, axis, columns);
    QPainterPath path(QPointF(frame.left(), zeroY));
    for (int x = 0; x < columns; ++x)
        path.lineTo(frame.left() + x / 4.0, zeroY - levels[x] * dbToY);
    path.lineTo(frame.right(), zeroY);
    QColor fill = style::colour(Ink::Accent);
    fill.setAlphaF(0.3);
    painter.setPen(style::pen(Ink::Accent));
    painter.setBrush(fill);
    painter.drawPath(path);
}

} // namespace curves
