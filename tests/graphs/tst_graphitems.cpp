// The painted graph items rendered offscreen and probed at known pixels. The curves are drawn
// by hand here; the plotter tests cover how device values become curves.
#include "crossovergraphitem.h"
#include "curvepainter.h"
#include "geqgeometry.h"
#include "qx8geqgraphitem.h"
#include "qx8nuqgraphitem.h"
#include "qx8peqgraphitem.h"
#include "testmain.h"

#include <QPainter>
#include <QPainterPath>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

// The items here are bound to no processing object; their plotters say so once.
void expectNoObjectWarning()
{
    QTest::ignoreMessage(QtWarningMsg, "PONAME EMPTY ABORTING NumSV Creation");
}

// A curve over `width` pixels at `outside`, raised to `inside` on [from, to].
Curve plateau(int width, int from, int to, qreal inside, qreal outside = 0.0)
{
    Curve curve;
    for (int x = 0; x < width; ++x)
        curve.append(QPointF(x, x >= from && x <= to ? inside : outside));
    return curve;
}

QImage render(QQuickPaintedItem& item)
{
    QImage image(int(item.width()), int(item.height()), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    item.paint(&painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

bool isBlank(const QImage& image)
{
    QImage blank(image.size(), image.format());
    blank.fill(Qt::transparent);
    return image == blank;
}

// A band's fill at half opacity as it lands on a transparent image (premultiplied, then read
// back).
QColor fillOf(QColor color)
{
    color.setAlpha(127);
    return color;
}

QString levels(int count, double level)
{
    const QString piece = QString::number(level);
    return (piece + QLatin1Char(' ')).repeated(count - 1) + piece;
}

QMap<QString, float> geqValues(std::initializer_list<std::pair<int, float>> gains)
{
    QMap<QString, float> values;
    for (int band = 0; band < GeqGeometry::kBandCount; ++band)
        values.insert(QLatin1String(GeqGeometry::label(band)), 0.0f);
    for (const auto& gain : gains)
        values[QLatin1String(GeqGeometry::label(gain.first))] = gain.second;
    return values;
}

// Empty when pixel (x, y) is near `expected`, else what is there.
QString offColour(const QImage& image, int x, int y, QColor expected, int tolerance)
{
    const QRgb p = image.pixel(x, y);
    if (qAbs(qRed(p) - expected.red()) <= tolerance &&
        qAbs(qGreen(p) - expected.green()) <= tolerance &&
        qAbs(qBlue(p) - expected.blue()) <= tolerance &&
        qAbs(qAlpha(p) - expected.alpha()) <= tolerance)
        return QString();
    return QString::asprintf("rgba(%d, %d, %d, %d)", qRed(p), qGreen(p), qBlue(p), qAlpha(p));
}

// A bell-like bump of `height` pixels around x = centre.
Curve bump(int width, int centre, qreal height)
{
    Curve curve;
    for (int x = 0; x < width; ++x)
        curve.append(QPointF(x, height / (1.0 + (x - centre) * (x - centre) / 400.0)));
    return curve;
}

// The largest difference of a colour channel between two pictures of one size.
int largestDifference(const QImage& a, const QImage& b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({largest, qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)),
                                qAbs(qBlue(p) - qBlue(q)), qAbs(qAlpha(p) - qAlpha(q))});
        }
    }
    return largest;
}

template<typename Item> void complete(Item& item, QSizeF size, const QStringList& colours = {})
{
    item.setSize(size);
    item.setBandColors(colours);
    expectNoObjectWarning();
    item.componentCompleted();
}

} // namespace

class TestGraphItems : public QObject
{
    Q_OBJECT

private slots:
    void nothingBeforeComponentCompleted();
    void peqBandAndTotal();
    void peqRoomTargetAndResult();
    void peqDraggedBandPaintsAsAWhole();
    void widePolylineInRuns();
    void crossoverColours_data();
    void crossoverColours();
    void crossoverBandsEachInTheirColour();
    void nuqNotchesHangFromTop();
    void geqBars();
    void geqBandNotReportedStaysEmpty();
};

void TestGraphItems::nothingBeforeComponentCompleted()
{
    Curves curves{plateau(300, 100, 200, 60), plateau(300, 100, 200, 60)};
    QX8PEQGraphItem peq;
    peq.setSize({300, 200});
    peq.onCurvesChanged(curves);
    QSignalSpy repainted(&peq, &QX8PEQGraphItem::repainted);
    QVERIFY(isBlank(render(peq)));
    QCOMPARE(repainted.count(), 0);
    expectNoObjectWarning();
    peq.componentCompleted();
    QVERIFY(!isBlank(render(peq)));
    QCOMPARE(repainted.count(), 1);
    Curves none;
    peq.onCurvesChanged(none);
    QVERIFY(isBlank(render(peq)));

    QMap<QString, float> values = geqValues({{0, 6.0f}});
    QX8GEQGraphItem geq;
    geq.setSize({620, 200});
    geq.onCurvesChanged(values);
    QVERIFY(isBlank(render(geq)));
}

void TestGraphItems::peqBandAndTotal()
{
    // One band 60 px above the middle line (y = 200) on x 500 .. 700; the total the same.
    Curves curves{plateau(1100, 500, 700, 60), plateau(1100, 500, 700, 60)};
    QX8PEQGraphItem item;
    complete(item, {1100, 400}, {"red"});
    item.onCurvesChanged(curves);
    const QImage image = render(item);
    QCOMPARE(offColour(image, 600, 140, QColor(Qt::white), 60), QString());
    QCOMPARE(offColour(image, 600, 170, fillOf(Qt::red), 40), QString());
    QCOMPARE(qAlpha(image.pixel(600, 100)), 0);
    QCOMPARE(qAlpha(image.pixel(600, 250)), 0);
    // Away from the band it lies flat on the middle line: nothing filled above or below.
    QCOMPARE(qAlpha(image.pixel(50, 190)), 0);
    QCOMPARE(qAlpha(image.pixel(50, 210)), 0);
}

void TestGraphItems::peqRoomTargetAndResult()
{
    // A flat EQ; room at +6 dB, target at -3 dB (H = 150 px is 20 dB).
    Curves curves{plateau(1000, 0, 0, 0), plateau(1000, 0, 0, 0)};
    QX8PEQGraphItem item;
    complete(item, {1000, 300});
    item.onCurvesChanged(curves);
    item.setTargetCurveString(levels(625, -3));
    item.setShowRoomCurve(true);
    item.setFinalResultantVisible(false);
    // 624 pieces are one short of a drawable curve.
    item.setRoomCurveString(levels(624, 6));
    QCOMPARE(qAlpha(render(item).pixel(500, 130)), 0);
    item.setRoomCurveString(levels(625, 6));
    QImage image = render(item);
    // Room: filled grey between 6 dB (y = 150 - 45) and the middle line.
    QCOMPARE(offColour(image, 500, 130, QColor::fromRgbF(0.69, 0.69, 0.69, 147 / 255.0), 12),
             QString());
    // Target: the gold line at -3 dB, y = 150 + 22.5.
    const QColor gold = QColor::fromRgbF(0.85, 0.72, 0.11);
    QCOMPARE(offColour(image, 500, 172, gold, 50), QString());
    QCOMPARE(qAlpha(image.pixel(500, 200)), 0);

    // The final resultant lies on the room curve raised by the (flat) total.
    item.setShowRoomCurve(false);
    item.setFinalResultantVisible(true);
    image = render(item);
    QCOMPARE(offColour(image, 500, 105, QColor::fromRgbF(0.56, 0.79, 0.23), 50), QString());
    QCOMPARE(qAlpha(image.pixel(500, 130)), 0);

    // With the room text emptied, room and result go together; the target stays.
    item.setShowRoomCurve(true);
    item.setRoomCurveString(QString());
    image = render(item);
    QCOMPARE(qAlpha(image.pixel(500, 105)), 0);
    QCOMPARE(qAlpha(image.pixel(500, 130)), 0);
    QCOMPARE(offColour(image, 500, 172, gold, 50), QString());
}

// While one band moves, the others are laid on as kept pictures: every picture must be the one
// a fresh item draws from the same curves.
void TestGraphItems::peqDraggedBandPaintsAsAWhole()
{
    const QStringList colours{"red", "lime", "blue", "yellow"};
    Curves curves{bump(600, 150, 80), bump(600, 250, -60), bump(600, 300, 120), bump(600, 420, 50),
                  bump(600, 300, 90)};
    QX8PEQGraphItem dragged;
    complete(dragged, {600, 300}, colours);
    dragged.onCurvesChanged(curves);
    const auto differenceFromFresh = [&] {
        QX8PEQGraphItem fresh;
        complete(fresh, dragged.size(), colours);
        Curves same = curves;
        fresh.onCurvesChanged(same);
        return largestDifference(render(dragged), render(fresh));
    };
    // Pictures laid over each other round once more than bands drawn one by one.
    const int rounding = 4;
    QVERIFY(differenceFromFresh() <= rounding);
    for (int step = 0; step < 3; ++step) {
        curves[2] = bump(600, 300 + 20 * step, 100 - 40 * step);
        curves[4] = bump(600, 320, 60 + step);
        QVERIFY(differenceFromFresh() <= rounding);
    }
    // Another band moves; then the window changes size under the drag.
    curves[0] = bump(600, 180, -70);
    QVERIFY(differenceFromFresh() <= rounding);
    dragged.setHeight(310);
    QVERIFY(differenceFromFresh() <= rounding);
    curves[0] = bump(600, 200, -75);
    QVERIFY(differenceFromFresh() <= rounding);
}

// The wide total line is stroked in runs: nowhere a gap where one stroke would draw the line.
void TestGraphItems::widePolylineInRuns()
{
    QPolygonF line;
    for (int x = 0; x < 300; ++x) {
        const double notch = 90.0 / (1.0 + (x - 150) * (x - 150) / 4.0);
        line.append(QPointF(x, 100 + 50 * std::sin(x / 15.0) - notch));
    }
    QPen pen(Qt::white, 2);
    pen.setJoinStyle(Qt::BevelJoin);
    QImage whole(300, 200, QImage::Format_ARGB32_Premultiplied);
    whole.fill(Qt::black);
    QImage runs = whole;
    QPainter wholePainter(&whole);
    wholePainter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addPolygon(line);
    wholePainter.strokePath(path, pen);
    wholePainter.end();
    QPainter runsPainter(&runs);
    runsPainter.setRenderHint(QPainter::Antialiasing);
    CurvePainter::drawWidePolyline(runsPainter, line, pen);
    runsPainter.end();
    int gaps = 0;
    for (int y = 0; y < whole.height(); ++y) {
        for (int x = 0; x < whole.width(); ++x)
            gaps += qRed(whole.pixel(x, y)) > 200 && qRed(runs.pixel(x, y)) < 100;
    }
    QCOMPARE(gaps, 0);
}

void TestGraphItems::crossoverColours_data()
{
    QTest::addColumn<QStringList>("colours");
    QTest::addColumn<QColor>("wayColour");
    QTest::addColumn<QColor>("subColour");
    QTest::newRow("sub in entry 2")
        << QStringList{"red", "green", "blue"} << QColor(Qt::red) << QColor(Qt::blue);
    QTest::newRow("list too short")
        << QStringList{"red", "lime"} << QColor(Qt::red) << QColor(Qt::green);
    QTest::newRow("no list") << QStringList{} << QColor(Qt::gray) << QColor(Qt::gray);
}

// Three ways and a sub: four bands, four colours (the sub past entry 2, which the third way has).
void TestGraphItems::crossoverBandsEachInTheirColour()
{
    Curves curves{plateau(800, 0, 150, 300), plateau(800, 200, 350, 300),
                  plateau(800, 400, 550, 300), plateau(800, 600, 750, 300)};
    CrossoverGraphItem item;
    complete(item, {800, 400}, {"red", "lime", "blue", "yellow", "white"});
    item.onCurvesChanged(curves);
    const QImage image = render(item);
    const QColor expected[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    for (int band = 0; band < 4; ++band)
        QCOMPARE(offColour(image, 75 + 200 * band, 300, fillOf(expected[band]), 40), QString());
}

void TestGraphItems::crossoverColours()
{
    QFETCH(QStringList, colours);
    QFETCH(QColor, wayColour);
    QFETCH(QColor, subColour);
    // A way above x 400 and a sub below x 200, each 300 px up from the bottom; y is up.
    Curves curves{plateau(800, 400, 800, 300), plateau(800, 0, 200, 300)};
    CrossoverGraphItem item;
    complete(item, {800, 400}, colours);
    item.onCurvesChanged(curves);
    const QImage image = render(item);
    QCOMPARE(offColour(image, 50, 300, fillOf(subColour), 40), QString());
    QCOMPARE(offColour(image, 700, 300, fillOf(wayColour), 40), QString());
    // The curve at y = 100 is a line 1 px wide: it half covers the rows on either side of 100,
    // and the fill under it takes the lower one.
    QVERIFY2(qAbs(qAlpha(image.pixel(700, 99)) - 128) <= 32,
             qPrintable(offColour(image, 700, 99, Qt::transparent, 0)));
    QCOMPARE(qAlpha(image.pixel(700, 98)), 0);
    QCOMPARE(qAlpha(image.pixel(700, 90)), 0);
    QCOMPARE(qAlpha(image.pixel(300, 300)), 0);
}

void TestGraphItems::nuqNotchesHangFromTop()
{
    // Heights run from +H (0 dB, the top edge) to -H (-20 dB, the bottom edge); the last curve
    // is the unused entry.
    Curves curves{plateau(600, 280, 320, -100, 100), plateau(600, 0, 0, 100, 100), {}};
    QX8NuqGraphItem item;
    complete(item, {600, 200}, {"red", "blue"});
    item.onCurvesChanged(curves);
    const QImage image = render(item);
    QCOMPARE(offColour(image, 300, 197, fillOf(Qt::red), 40), QString());
    QCOMPARE(offColour(image, 300, 20, fillOf(Qt::red), 40), QString());
    QCOMPARE(qAlpha(image.pixel(100, 10)), 0);
    QCOMPARE(qAlpha(image.pixel(100, 100)), 0);
}

void TestGraphItems::geqBars()
{
    QMap<QString, float> values = geqValues({{17, 12.0f}, {3, -6.0f}});
    QX8GEQGraphItem item;
    complete(item, {620, 400});
    item.onCurvesChanged(values);
    const QImage image = render(item);
    // 0 dB: a 2-pixel bar below the middle line, in the band's ramp colour.
    QCOMPARE(offColour(image, 10, 203, QColor(255, 25, 0), 2), QString());
    QCOMPARE(qAlpha(image.pixel(10, 206)), 0);
    QCOMPARE(qAlpha(image.pixel(10, 198)), 0);
    // +12 dB fills from y 2 to the middle line.
    QCOMPARE(offColour(image, 17 * 20 + 10, 5, QColor(255, 25 + 7 * 17, 0), 2), QString());
    QCOMPARE(offColour(image, 17 * 20 + 10, 195, QColor(255, 25 + 7 * 17, 0), 2), QString());
    // -6 dB hangs 100 px below.
    QCOMPARE(offColour(image, 3 * 20 + 10, 290, QColor(255, 25 + 21, 0), 2), QString());
    QCOMPARE(qAlpha(image.pixel(3 * 20 + 10, 310)), 0);
    // Gaps between the bars stay empty.
    QCOMPARE(qAlpha(image.pixel(20, 203)), 0);
}

// A band whose gain has not come has neither a bar (not even the 0 dB one) nor a handle.
void TestGraphItems::geqBandNotReportedStaysEmpty()
{
    QMap<QString, float> values{{QLatin1String(GeqGeometry::label(3)), -6.0f}};
    QX8GEQGraphItem item;
    complete(item, {620, 400});
    item.onCurvesChanged(values);
    const QImage image = render(item);
    QCOMPARE(offColour(image, 3 * 20 + 10, 290, QColor(255, 25 + 21, 0), 2), QString());
    for (int band : {0, 4, 30})
        QCOMPARE(qAlpha(image.pixel(band * 20 + 10, 203)), 0);
    QCOMPARE(item.controlPoints().size(), GeqGeometry::kBandCount);
    QVERIFY(item.hasControlPoint(3));
    QCOMPARE(item.controlPoints().at(3).toPointF(), QPointF(3 * 620 / 32, -100));
    QVERIFY(!item.hasControlPoint(0));
    QCOMPARE(item.controlPoints().at(0).toPointF(), QPointF());
}

QX8_TEST_MAIN(TestGraphItems)
#include "tst_graphitems.moc"
