// Axis maps and touch-to-value maps of the graphs, and the overlay curve table.
#include "geqgeometry.h"
#include "logfrequencyaxis.h"
#include "nuqgeometry.h"
#include "overlaycurve.h"
#include "peqgeometry.h"

#include <QtTest>

#include <cmath>
#include <limits>

class TestGraphGeometry : public QObject
{
    Q_OBJECT

private slots:
    void axisRoundTrip_data();
    void axisRoundTrip();
    void peqTouchToValues();
    void peqHandles();
    void peqCurveAndOverlayMaps();
    void nuqCurveValues();
    void geqSweepColumns_data();
    void geqSweepColumns();
    void geqGains();
    void geqBarsAndHandles();
    void overlayTable();
    void overlayPieces();
};

void TestGraphGeometry::axisRoundTrip_data()
{
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<double>("width");
    QTest::newRow("parametric EQ") << 20.0 << 22000.0 << 1024.0;
    QTest::newRow("Nuq") << 20.0 << 20000.0 << 777.0;
    QTest::newRow("crossover") << 16.0 << 20000.0 << 1920.0;
}

void TestGraphGeometry::axisRoundTrip()
{
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(double, width);
    const LogFrequencyAxis axis(low, high);
    QCOMPARE(axis.frequencyAt(0, width), low);
    QVERIFY(std::fabs(axis.frequencyAt(width, width) - high) < 1e-9 * high);
    QVERIFY(std::fabs(axis.frequencyAt(width / 2, width) - std::sqrt(low * high)) < 1e-9 * high);
    for (double x = 0; x <= width; x += width / 16)
        QVERIFY(std::fabs(axis.xFor(axis.frequencyAt(x, width), width) - x) < 1e-9);
    QCOMPARE(axis.xFor(low / 2, width), 0.0);
    QCOMPARE(axis.xFor(high * 2, width), width);
    QCOMPARE(axis.xFor(-1000.0, width), 0.0);
    QCOMPARE(axis.xFor(1000.0, 0.0), 0.0);
    QCOMPARE(axis.frequencyAt(10.0, 0.0), 0.0);
}

void TestGraphGeometry::peqTouchToValues()
{
    const PeqGeometry geometry(800, 150);
    const auto middle = geometry.settingForHandle(400, 75);
    QVERIFY(middle);
    QCOMPARE(QString::number(middle->frequency, 'g', 6), QStringLiteral("663.325"));
    QCOMPARE(QString::number(middle->gain, 'g', 6), QStringLiteral("10"));
    const auto bottomLeft = geometry.settingForHandle(0, 300);
    QCOMPARE(bottomLeft->frequency, 20.0);
    QCOMPARE(bottomLeft->gain, -20.0);
    QVERIFY(!PeqGeometry(0, 150).settingForHandle(10, 10));
    QVERIFY(!geometry.settingForHandle(std::nan(""), 10));
}

void TestGraphGeometry::peqHandles()
{
    const PeqGeometry geometry(1100, 200);
    const auto handle = geometry.handle(1000.0, 6.0);
    QVERIFY(handle);
    QCOMPARE(handle->x, 614);
    QCOMPARE(handle->y, 60);
    // The handle follows the device value unclamped: +25 dB sits above the +20 dB edge.
    QCOMPARE(geometry.handle(1000.0, 25.0)->y, 250);
    // Values that have not arrived (the -1000 start value) or are not numbers give no handle.
    QVERIFY(!geometry.handle(-1000.0, -1000.0));
    QVERIFY(!geometry.handle(0.0, 3.0));
    QVERIFY(!geometry.handle(1000.0, std::numeric_limits<double>::quiet_NaN()));
    QVERIFY(!geometry.handle(std::numeric_limits<double>::infinity(), 3.0));
    QVERIFY(!PeqGeometry(0, 200).handle(1000.0, 3.0));
    QCOMPARE(geometry.handle(1e300, 1e300)->y, 1000000);
}

void TestGraphGeometry::peqCurveAndOverlayMaps()
{
    const PeqGeometry geometry(1000, 200);
    QCOMPARE(geometry.curveHeight(6.0), 60.0);
    QCOMPARE(geometry.curveHeight(25.0), 200.0);
    QCOMPARE(geometry.curveHeight(-40.0), -200.0);
    QCOMPARE(geometry.overlayY(0.0), 200.0);
    QCOMPARE(geometry.overlayY(-20.0), 0.0);
    QCOMPARE(geometry.overlayY(30.0), 400.0);
    QCOMPARE(geometry.overlayX(20.0), 0.0);
    QCOMPARE(geometry.overlayX(22000.0), 1000.0);
    QCOMPARE(PeqGeometry(0, 200).overlayX(1000.0), 0.0);
    QCOMPARE(PeqGeometry(1000, 0).overlayY(5.0), 0.0);
}

void TestGraphGeometry::nuqCurveValues()
{
    const NuqGeometry geometry(600, 100);
    QCOMPARE(geometry.curveValue(0.0), 100.0);
    QCOMPARE(geometry.curveValue(-20.0), -100.0);
    QCOMPARE(geometry.curveValue(-30.0), -100.0);
    QCOMPARE(geometry.curveValue(-5.0), 50.0);
    QCOMPARE(NuqGeometry(0, 100).curveValue(-5.0), 0.0);
    QCOMPARE(geometry.axis().high(), 20000.0);
}

void TestGraphGeometry::geqSweepColumns_data()
{
    // 620 px wide: columns of 20 px.
    QTest::addColumn<double>("previousX");
    QTest::addColumn<double>("x");
    QTest::addColumn<QVector<int>>("columns");
    QTest::newRow("first move") << 0.0 << 185.0 << QVector<int>{9};
    QTest::newRow("neighbour column") << 65.0 << 85.0 << QVector<int>{4};
    QTest::newRow("fast right") << 65.0 << 185.0 << QVector<int>{3, 4, 5, 6, 7, 8, 9};
    QTest::newRow("fast left") << 185.0 << 65.0 << QVector<int>{9, 8, 7, 6, 5, 4, 3};
    QTest::newRow("past the right edge") << 565.0 << 5000.0 << QVector<int>{28, 29, 30};
    QTest::newRow("past the left edge") << 45.0 << -90.0 << QVector<int>{2, 1, 0};
    QTest::newRow("outside only") << 0.0 << 640.0 << QVector<int>{};
    QTest::newRow("not a number") << 65.0 << std::nan("") << QVector<int>{};
}

void TestGraphGeometry::geqSweepColumns()
{
    QFETCH(double, previousX);
    QFETCH(double, x);
    QFETCH(QVector<int>, columns);
    const auto actual = GeqGeometry(620, 400).sweepColumns(previousX, x);
    QCOMPARE(QVector<int>(actual.begin(), actual.end()), columns);
    QVERIFY(GeqGeometry(0, 400).sweepColumns(10, 300).empty());
}

void TestGraphGeometry::geqGains()
{
    const GeqGeometry geometry(620, 400);
    // 0.05 dB per pixel above the middle line, whatever the height.
    QCOMPARE(geometry.gainForSweep(100.0), 5.0);
    QCOMPARE(GeqGeometry(620, 1000).gainForSweep(400.0), 5.0);
    // A sweep never writes a gain outside the band's range.
    QCOMPARE(geometry.gainForSweep(-200.0), 12.0);
    QCOMPARE(geometry.gainForSweep(900.0), -12.0);
    QCOMPARE(geometry.gainForSweep(-1000.0, -15.0, 15.0), 15.0);
    QCOMPARE(geometry.gainForHandle(0.0), 12.0);
    QCOMPARE(geometry.gainForHandle(400.0), -12.0);
    QCOMPARE(geometry.gainForHandle(100.0), 6.0);
    QCOMPARE(geometry.gainForHandle(-50.0), 12.0);
}

void TestGraphGeometry::geqBarsAndHandles()
{
    const GeqGeometry geometry(620, 400);
    const auto zero = geometry.bar(0, 0.0);
    QCOMPARE(zero.left, 3);
    QCOMPARE(zero.top, 202);
    QCOMPARE(zero.width, 13);
    QCOMPARE(zero.height, 2);
    const auto boost = geometry.bar(30, 12.0);
    QCOMPARE(boost.left, 603);
    QCOMPARE(boost.top, 2);
    QCOMPARE(boost.height, 200);
    const auto cut = geometry.bar(5, -6.0);
    QCOMPARE(cut.top, 202);
    QCOMPARE(cut.height, 100);
    const auto handle = geometry.handle(3, 6.0);
    QCOMPARE(handle.x, 58);
    QCOMPARE(handle.y, 100);
    QCOMPARE(geometry.handle(3, std::nan("")).y, 0);
}

void TestGraphGeometry::overlayTable()
{
    QCOMPARE(OverlayCurve::frequency(143), 20.0);
    QCOMPARE(OverlayCurve::frequency(255), 100.0);
    QCOMPARE(OverlayCurve::frequency(415), 1000.0);
    QCOMPARE(OverlayCurve::frequency(575), 10000.0);
    QCOMPARE(OverlayCurve::frequency(623), 20000.0);
    QCOMPARE(OverlayCurve::frequency(0), 0.0);
    for (int i = 1; i < 624; ++i)
        QVERIFY(OverlayCurve::frequency(i) > OverlayCurve::frequency(i - 1));
}

void TestGraphGeometry::overlayPieces()
{
    QStringList levels;
    for (int i = 0; i < 624; ++i)
        levels << QString::number(i % 7 - 3);
    const QString text = levels.join(QLatin1Char(' '));
    QVERIFY(!OverlayCurve(text).isDrawable());
    const OverlayCurve trailing(text + QLatin1Char(' '));
    QVERIFY(trailing.isDrawable());
    QCOMPARE(trailing.size(), 625);
    QCOMPARE(trailing.level(1), -2.0f);
    QCOMPARE(trailing.level(624), 0.0f);
    QCOMPARE(trailing.level(5000), 0.0f);
    QCOMPARE(OverlayCurve(QStringLiteral("x 2.5  -1")).level(0), 0.0f);
    QCOMPARE(OverlayCurve(QStringLiteral("x 2.5  -1")).size(), 4);
    QCOMPARE(OverlayCurve(QString()).size(), 0);
}

QTEST_GUILESS_MAIN(TestGraphGeometry)
#include "tst_graphgeometry.moc"
