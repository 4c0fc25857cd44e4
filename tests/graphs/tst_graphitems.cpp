// The painted graph items rendered offscreen and probed at known pixels, and their repaint
// policies in a real (software-rendered) Qt Quick window.
#include "bandcurvesampler.h"
#include "crossovercurvecalculator.h"
#include "crossovergraphitem.h"
#include "curvecalculator.h"
#include "geqgeometry.h"
#include "nuqgeometry.h"
#include "peqgeometry.h"
#include "qx8geqgraphitem.h"
#include "qx8nuqgraphitem.h"
#include "qx8peqgraphitem.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QQuickItemGrabResult>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

using Curves = QList<QMap<float, float>>;

QImage render(QQuickPaintedItem& item)
{
    QImage image(int(item.width()), int(item.height()), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    item.paint(&painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

// The parametric-EQ curves as the plotter builds them: a curve per band and the total.
Curves peqCurves(int width, double halfHeight, const QVector<CurveCalculator::Band>& bands)
{
    const PeqGeometry geometry(width, halfHeight);
    const auto frequencies = BandCurveSampler::pixelFrequencies(geometry.axis(), width);
    CurveCalculator calculator;
    std::vector<std::vector<double>> heights;
    Curves curves;
    for (int band = 0; band < bands.size(); ++band) {
        calculator.bands[band] = bands[band];
        std::vector<double> curve = BandCurveSampler::sampleDb(calculator, band, frequencies);
        QMap<float, float> map;
        for (int x = 0; x < width; ++x) {
            curve[x] = geometry.curveHeight(curve[x]);
            map.insert(x, float(curve[x]));
        }
        heights.push_back(curve);
        curves.append(map);
    }
    const std::vector<double> total = BandCurveSampler::smoothedTotal(heights, width);
    QMap<float, float> map;
    for (int x = 0; x < width; ++x)
        map.insert(x, float(total[x]));
    curves.append(map);
    return curves;
}

Curves nuqCurves(int width, double halfHeight, const QVector<CurveCalculator::Band>& bands)
{
    const NuqGeometry geometry(width, halfHeight);
    const auto frequencies = BandCurveSampler::pixelFrequencies(geometry.axis(), width);
    CurveCalculator calculator;
    calculator.mode = 3;
    Curves curves;
    for (int band = 0; band < bands.size(); ++band) {
        calculator.bands[band] = bands[band];
        const std::vector<double> curve = BandCurveSampler::sampleDb(calculator, band, frequencies);
        QMap<float, float> map;
        for (int x = 0; x < width; ++x)
            map.insert(x, float(geometry.curveValue(curve[x])));
        curves.append(map);
    }
    curves.append(QMap<float, float>());
    return curves;
}

Curves crossoverCurves(CrossoverCurveCalculator& calculator, int count)
{
    Curves curves;
    for (int band = 0; band < count; ++band) {
        QMap<float, float> map;
        for (const auto& point : calculator.curvePoints(band))
            map.insert(float(point.x), float(point.y));
        curves.append(map);
    }
    return curves;
}

bool near(QRgb pixel, QColor expected, int tolerance = 40)
{
    return qAbs(qRed(pixel) - expected.red()) <= tolerance &&
           qAbs(qGreen(pixel) - expected.green()) <= tolerance &&
           qAbs(qBlue(pixel) - expected.blue()) <= tolerance &&
           qAbs(qAlpha(pixel) - expected.alpha()) <= tolerance;
}

QString describe(QRgb pixel)
{
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(qRed(pixel))
        .arg(qGreen(pixel))
        .arg(qBlue(pixel))
        .arg(qAlpha(pixel));
}

bool isBlank(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return false;
    return true;
}

QString levels(int count, double level)
{
    QStringList pieces;
    for (int i = 0; i < count; ++i)
        pieces << QString::number(level);
    return pieces.join(QLatin1Char(' '));
}

// Half-transparent colour as it lands on a transparent image (premultiplied, then read back).
QColor halfOf(QColor color)
{
    color.setAlpha(127);
    return color;
}

} // namespace

class TestGraphItems : public QObject
{
    Q_OBJECT

private slots:
    void nothingBeforeComponentCompleted();
    void peqBellAndTotal();
    void peqRoomTargetAndResult();
    void peqOverlayNeedsMoreThan624Pieces();
    void crossoverColours_data();
    void crossoverColours();
    void nuqNotchesHangFromTop();
    void geqBars();
    void geqHandlesFromValues();
    void peqRendersInWindow();
    void peqRepaintsCoalesce();
    void crossoverRepaintsAtOnce();
    void geqRepaintsAfterBurst();

private:
    std::unique_ptr<QQuickWindow> showInWindow(QQuickItem& item);
};

void TestGraphItems::nothingBeforeComponentCompleted()
{
    Curves curves = peqCurves(300, 100, {{1.0, 0.0, 6.0, 1000.0, 0}});
    QX8PEQGraphItem peq;
    peq.setSize({300, 200});
    peq.onCurvesChanged(curves);
    QSignalSpy repainted(&peq, &QX8PEQGraphItem::repainted);
    QVERIFY(isBlank(render(peq)));
    QCOMPARE(repainted.count(), 0);
    peq.componentCompleted();
    QVERIFY(!isBlank(render(peq)));
    QCOMPARE(repainted.count(), 1);

    CrossoverGraphItem crossover;
    crossover.setSize({300, 200});
    crossover.onCurvesChanged(curves);
    QVERIFY(isBlank(render(crossover)));
    QX8NuqGraphItem nuq;
    nuq.setSize({300, 200});
    nuq.onCurvesChanged(curves);
    QVERIFY(isBlank(render(nuq)));
    QMap<QString, float> values{{QStringLiteral("20 Hz"), 6.0f}};
    QX8GEQGraphItem geq;
    geq.setSize({300, 200});
    geq.onCurvesChanged(values);
    QVERIFY(isBlank(render(geq)));

    // Completed, but no curves yet (or an empty list): still nothing.
    QX8PEQGraphItem empty;
    empty.setSize({300, 200});
    empty.componentCompleted();
    QVERIFY(isBlank(render(empty)));
    Curves none;
    empty.onCurvesChanged(none);
    QVERIFY(isBlank(render(empty)));
}

void TestGraphItems::peqBellAndTotal()
{
    // +6 dB at 1 kHz on an item 1100 x 400: the total peaks 6 * H/20 = 60 px above the middle.
    Curves curves = peqCurves(1100, 200, {{1.0, 0.0, 6.0, 1000.0, 0}});
    QX8PEQGraphItem item;
    item.setSize({1100, 400});
    item.setBandColors(QStringList{QStringLiteral("red")});
    item.componentCompleted();
    item.onCurvesChanged(curves);
    const QImage image = render(item);

    const auto peak = std::max_element(curves.last().cbegin(), curves.last().cend());
    QVERIFY(qAbs(peak.key() - 614) <= 1);
    QVERIFY(qAbs(peak.value() - 60) <= 1);
    bool whiteAtPeak = false;
    for (int y = 138; y <= 142; ++y)
        whiteAtPeak = whiteAtPeak || near(image.pixel(614, y), Qt::white, 60);
    QVERIFY2(whiteAtPeak, qPrintable(describe(image.pixel(614, 140))));
    QVERIFY2(near(image.pixel(614, 170), halfOf(Qt::red)),
             qPrintable(describe(image.pixel(614, 170))));
    QCOMPARE(qAlpha(image.pixel(614, 100)), 0);
    QCOMPARE(qAlpha(image.pixel(614, 250)), 0);
    // Far from the bell the band is flat on the middle line: nothing filled above or below it.
    QCOMPARE(qAlpha(image.pixel(50, 190)), 0);
    QCOMPARE(qAlpha(image.pixel(50, 210)), 0);
}

void TestGraphItems::peqRoomTargetAndResult()
{
    // A flat EQ (one band at 0 dB): room at +6 dB, target at -3 dB.
    Curves curves = peqCurves(1000, 150, {{1.0, 0.0, 0.0, 1000.0, 0}});
    QX8PEQGraphItem item;
    item.setSize({1000, 300});
    item.componentCompleted();
    item.onCurvesChanged(curves);
    item.setRoomCurveString(levels(625, 6));
    item.setTargetCurveString(levels(625, -3));
    item.setShowRoomCurve(true);
    item.setFinalResultantVisible(false);
    QImage image = render(item);
    // Room: filled grey between 6 dB (y = 150 - 45 = 105) and the middle line.
    const QColor roomFill = QColor::fromRgbF(0.69, 0.69, 0.69, 147 / 255.0);
    QVERIFY2(near(image.pixel(500, 130), roomFill, 12),
             qPrintable(describe(image.pixel(500, 130))));
    // Target: the gold line at -3 dB, y = 150 + 22.5.
    const QColor gold = QColor::fromRgbF(0.85, 0.72, 0.11);
    QVERIFY2(near(image.pixel(500, 172), gold, 50), qPrintable(describe(image.pixel(500, 172))));
    QCOMPARE(qAlpha(image.pixel(500, 200)), 0);

    // The final resultant lies on the room curve raised by the (flat) total.
    item.setShowRoomCurve(false);
    item.setFinalResultantVisible(true);
    image = render(item);
    const QColor green = QColor::fromRgbF(0.56, 0.79, 0.23);
    QVERIFY2(near(image.pixel(500, 105), green, 50), qPrintable(describe(image.pixel(500, 105))));
    QCOMPARE(qAlpha(image.pixel(500, 130)), 0);

    // With the room text emptied, room and result go together; the target stays.
    item.setShowRoomCurve(true);
    item.setRoomCurveString(QString());
    image = render(item);
    QCOMPARE(qAlpha(image.pixel(500, 105)), 0);
    QCOMPARE(qAlpha(image.pixel(500, 130)), 0);
    QVERIFY(near(image.pixel(500, 172), gold, 50));
}

void TestGraphItems::peqOverlayNeedsMoreThan624Pieces()
{
    Curves curves = peqCurves(1000, 150, {{1.0, 0.0, 0.0, 1000.0, 0}});
    QX8PEQGraphItem item;
    item.setSize({1000, 300});
    item.componentCompleted();
    item.onCurvesChanged(curves);
    item.setRoomCurveString(levels(624, 6));
    QCOMPARE(qAlpha(render(item).pixel(500, 130)), 0);
    item.setRoomCurveString(levels(624, 6) + QLatin1Char(' '));
    QVERIFY(qAlpha(render(item).pixel(500, 130)) > 0);
}

void TestGraphItems::crossoverColours_data()
{
    QTest::addColumn<QStringList>("colours");
    QTest::addColumn<QColor>("subColour");
    QTest::newRow("sub in entry 2") << QStringList{"red", "green", "blue"} << QColor(Qt::blue);
    QTest::newRow("list too short") << QStringList{"red", "lime"} << QColor(Qt::green);
    QTest::newRow("no list") << QStringList{} << QColor(Qt::gray);
}

void TestGraphItems::crossoverColours()
{
    QFETCH(QStringList, colours);
    QFETCH(QColor, subColour);
    // One way (1 kHz low-pass region) and a sub (low-passed at 100 Hz), 0 dB each.
    CrossoverCurveCalculator calculator;
    calculator.width = 800;
    calculator.height = 200;
    calculator.bands[0] = {CrossoverCurveCalculator::LR24, 1000.0,
                           CrossoverCurveCalculator::Unfiltered, 20000.0, 0.0};
    calculator.bands[1] = {CrossoverCurveCalculator::Unfiltered, 16.0,
                           CrossoverCurveCalculator::LR24, 100.0, 0.0};
    Curves curves = crossoverCurves(calculator, 2);
    CrossoverGraphItem item;
    item.setSize({800, 400});
    item.setBandColors(colours);
    item.componentCompleted();
    item.onCurvesChanged(curves);
    const QImage image = render(item);
    // 0 dB is at 2H * 60/80 = 300 above the bottom, y = 100. Below it both bands are filled
    // only where they pass; at 20 Hz only the sub, at 10 kHz only the way.
    const int subX = int(calculator.xForFreq(20.0)) + 2;
    QVERIFY2(near(image.pixel(subX, 300), halfOf(subColour)),
             qPrintable(describe(image.pixel(subX, 300))));
    const int wayX = int(calculator.xForFreq(10000.0));
    const QColor wayColour = colours.isEmpty() ? QColor(Qt::gray) : QColor(colours.first());
    QVERIFY2(near(image.pixel(wayX, 300), halfOf(wayColour)),
             qPrintable(describe(image.pixel(wayX, 300))));
    QCOMPARE(qAlpha(image.pixel(wayX, 90)), 0);
}

void TestGraphItems::nuqNotchesHangFromTop()
{
    // A -20 dB notch at 1 kHz reaches the bottom edge; a 0 dB filter stays on the top edge.
    Curves curves = nuqCurves(600, 100, {{1.0, 0.0, -20.0, 1000.0, 0}, {4.0, 0.0, 0.0, 200.0, 0}});
    QX8NuqGraphItem item;
    item.setSize({600, 200});
    item.setBandColors(QStringList{QStringLiteral("red"), QStringLiteral("blue")});
    item.componentCompleted();
    item.onCurvesChanged(curves);
    const QImage image = render(item);
    const int notchX = int(LogFrequencyAxis::nuq().xFor(1000.0, 600));
    QVERIFY2(near(image.pixel(notchX, 197), halfOf(Qt::red)),
             qPrintable(describe(image.pixel(notchX, 197))));
    QVERIFY(near(image.pixel(notchX, 20), halfOf(Qt::red)));
    const int flatX = int(LogFrequencyAxis::nuq().xFor(200.0, 600));
    QCOMPARE(qAlpha(image.pixel(flatX, 10)), 0);
    QCOMPARE(qAlpha(image.pixel(flatX, 100)), 0);
}

void TestGraphItems::geqBars()
{
    QMap<QString, float> values;
    for (int band = 0; band < GeqGeometry::kBandCount; ++band)
        values.insert(QLatin1String(GeqGeometry::label(band)), 0.0f);
    values[QStringLiteral("1.0 kHz")] = 12.0f; // band 17
    values[QStringLiteral("40 Hz")] = -6.0f;   // band 3
    QX8GEQGraphItem item;
    item.setSize({620, 400});
    item.componentCompleted();
    item.onCurvesChanged(values);
    const QImage image = render(item);
    // 0 dB: a 2-pixel bar below the middle line, in the band's ramp colour.
    QVERIFY2(near(image.pixel(10, 203), QColor(255, 25, 0), 2),
             qPrintable(describe(image.pixel(10, 203))));
    QCOMPARE(qAlpha(image.pixel(10, 206)), 0);
    QCOMPARE(qAlpha(image.pixel(10, 198)), 0);
    // +12 dB fills from the top quarter... to the middle: y 2 .. 202.
    const int x17 = 17 * 20 + 10;
    QVERIFY(near(image.pixel(x17, 5), QColor(255, 25 + 7 * 17, 0), 2));
    QVERIFY(near(image.pixel(x17, 195), QColor(255, 25 + 7 * 17, 0), 2));
    // -6 dB hangs 100 px below.
    const int x3 = 3 * 20 + 10;
    QVERIFY(near(image.pixel(x3, 290), QColor(255, 25 + 21, 0), 2));
    QCOMPARE(qAlpha(image.pixel(x3, 310)), 0);
    // Gaps between the bars stay empty.
    QCOMPARE(qAlpha(image.pixel(20, 203)), 0);
}

void TestGraphItems::geqHandlesFromValues()
{
    QMap<QString, float> values;
    for (int band = 0; band < GeqGeometry::kBandCount; ++band)
        values.insert(QLatin1String(GeqGeometry::label(band)), 0.0f);
    values[QStringLiteral("40 Hz")] = 6.0f;
    QX8GEQGraphItem item;
    item.setSize({620, 400});
    QVERIFY(item.controlPoints().isEmpty());
    item.componentCompleted();
    item.onCurvesChanged(values);
    render(item);
    const QVariantList points = item.controlPoints();
    QCOMPARE(points.size(), 31);
    QCOMPARE(points[3].toPointF(), QPointF(58, 100));
    QCOMPARE(points[0].toPointF(), QPointF(0, 0));
    values[QStringLiteral("40 Hz")] = -12.0f;
    render(item);
    QCOMPARE(item.controlPoints()[3].toPointF(), QPointF(58, -200));
}

std::unique_ptr<QQuickWindow> TestGraphItems::showInWindow(QQuickItem& item)
{
    auto window = std::make_unique<QQuickWindow>();
    window->resize(int(item.width()), int(item.height()));
    item.setParentItem(window->contentItem());
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qFatal("window not exposed");
    return window;
}

void TestGraphItems::peqRendersInWindow()
{
    Curves curves = peqCurves(550, 100, {{1.0, 0.0, -12.0, 1000.0, 0}});
    QX8PEQGraphItem item;
    item.setSize({550, 200});
    item.setBandColors(QStringList{QStringLiteral("yellow")});
    auto window = showInWindow(item);
    QSignalSpy repainted(&item, &QX8PEQGraphItem::repainted);
    item.componentCompleted();
    item.onCurvesChanged(curves);
    QTRY_COMPARE_WITH_TIMEOUT(repainted.count(), 1, 5000);
    const QSharedPointer<QQuickItemGrabResult> grab = window->contentItem()->grabToImage();
    QVERIFY(grab);
    QSignalSpy ready(grab.data(), &QQuickItemGrabResult::ready);
    QVERIFY(ready.wait(5000));
    const QImage frame = grab->image().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(frame.size(), QSize(550, 200));
    // The cut hangs below the middle line, filled yellow at half opacity.
    const int x = int(LogFrequencyAxis::parametricEq().xFor(1000.0, 550));
    QVERIFY2(near(frame.pixel(x, 140), halfOf(Qt::yellow)),
             qPrintable(describe(frame.pixel(x, 140))));
    QCOMPARE(qAlpha(frame.pixel(x, 40)), 0);
}

void TestGraphItems::peqRepaintsCoalesce()
{
    Curves curves = peqCurves(300, 100, {{1.0, 0.0, 6.0, 1000.0, 0}});
    QX8PEQGraphItem item;
    item.setSize({300, 200});
    auto window = showInWindow(item);
    item.componentCompleted();
    QSignalSpy repainted(&item, &QX8PEQGraphItem::repainted);
    QElapsedTimer burst;
    burst.start();
    for (int i = 0; i < 5; ++i)
        item.onCurvesChanged(curves);
    QCOMPARE(repainted.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(repainted.count(), 1, 5000);
    QVERIFY2(burst.elapsed() >= 95, qPrintable(QString::number(burst.elapsed())));
    // No further change: the running timer finds nothing to do.
    QTest::qWait(250);
    QCOMPARE(repainted.count(), 1);
    item.onCurvesChanged(curves);
    QTRY_COMPARE_WITH_TIMEOUT(repainted.count(), 2, 5000);
}

void TestGraphItems::crossoverRepaintsAtOnce()
{
    CrossoverCurveCalculator calculator;
    calculator.width = 300;
    calculator.height = 100;
    Curves curves = crossoverCurves(calculator, 1);
    CrossoverGraphItem item;
    item.setSize({300, 200});
    auto window = showInWindow(item);
    item.componentCompleted();
    QSignalSpy repainted(&item, &CrossoverGraphItem::repainted);
    QElapsedTimer clock;
    clock.start();
    item.onCurvesChanged(curves);
    QTRY_COMPARE_WITH_TIMEOUT(repainted.count(), 1, 5000);
    QVERIFY2(clock.elapsed() < 90, qPrintable(QString::number(clock.elapsed())));
    item.onCurvesChanged(curves);
    QTRY_COMPARE_WITH_TIMEOUT(repainted.count(), 2, 5000);
}

void TestGraphItems::geqRepaintsAfterBurst()
{
    QMap<QString, float> values{{QStringLiteral("20 Hz"), 3.0f}};
    QX8GEQGraphItem item;
    item.setSize({620, 200});
    auto window = showInWindow(item);
    item.componentCompleted();
    QSignalSpy repainted(&item, &QX8GEQGraphItem::repainted);
    // Values every 20 ms keep pushing the repaint away; one comes 50 ms after the last.
    QElapsedTimer sinceLast;
    for (int i = 0; i < 6; ++i) {
        values[QStringLiteral("20 Hz")] = float(i);
        item.onCurvesChanged(values);
        sinceLast.start();
        QTest::qWait(20);
        QCOMPARE(repainted.count(), 0);
    }
    QTRY_COMPARE_WITH_TIMEOUT(repainted.count(), 1, 5000);
    QVERIFY2(sinceLast.elapsed() >= 45, qPrintable(QString::number(sinceLast.elapsed())));
    QTest::qWait(150);
    QCOMPARE(repainted.count(), 1);
}

QTEST_MAIN(TestGraphItems)
#include "tst_graphitems.moc"
