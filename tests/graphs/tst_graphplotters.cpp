// The plotters and the graphic-EQ bands against VirtualQX8 through the real link: what they
// subscribe, what a drag or a sweep writes on the wire, and how curves follow device values.
#include "crossovercurveplotter.h"
#include "crossovergraphitem.h"
#include "geqgeometry.h"
#include "linkedprocessor.h"
#include "logfrequencyaxis.h"
#include "qx8control.h"
#include "qx8geqbands.h"
#include "qx8geqgraphitem.h"
#include "qx8numericalsv.h"
#include "qx8nuqcurveplotter.h"
#include "qx8peqcurveplotter.h"
#include "qx8peqgraphitem.h"
#include "testharness.h"
#include "testmain.h"

#include <QSignalSpy>
#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

QStringList bandPaths(const QString& poName, int bands, const QStringList& parameters)
{
    QStringList paths;
    for (int band = 1; band <= bands; ++band)
        for (const QString& parameter : parameters)
            paths << LinkedProcessor::path(poName,
                                           QStringLiteral("Band_%1_%2").arg(band).arg(parameter));
    return paths;
}

QStringList onPO(const QStringList& paths, const QString& poName)
{
    return paths.filter(QStringLiteral("\\Preset\\%1\\").arg(poName));
}

int controlCount(const QObject& owner)
{
    return owner.findChildren<QX8Control*>().size();
}

QString setLine(const QString& poName, const QString& svName, const QString& value)
{
    return QStringLiteral("set \"%1\" \"%2\"").arg(LinkedProcessor::path(poName, svName), value);
}

// The lowest or highest point (x, height) of a curve.
QPointF extreme(const Curve& curve, bool lowest)
{
    const auto byHeight = [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); };
    return lowest ? *std::min_element(curve.cbegin(), curve.cend(), byHeight)
                  : *std::max_element(curve.cbegin(), curve.cend(), byHeight);
}

// The height of a curve at pixel x; NaN where it has no point.
qreal heightAt(const Curve& curve, qreal x)
{
    const auto point =
        std::find_if(curve.cbegin(), curve.cend(), [x](const QPointF& p) { return p.x() == x; });
    return point == curve.cend() ? qQNaN() : point->y();
}

const QStringList peqNumbers{"Frequency", "Gain", "Q", "Slope"};
const QStringList nuqNumbers{"Frequency", "Gain", "Q"};

} // namespace

class TestGraphPlotters : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void peqDragWritesBandValues();
    void plottersFollowDeviceValues();
    void initTwiceSubscribesOnce();
    void bandCountsHeld();
    void nothingFromValuesNotArrived();
    void geqSweepWritesInsideRange();
    void geqWaitsForEveryGain();
    void crossoverLayoutReachesThePlotter_data();
    void crossoverLayoutReachesThePlotter();
    void gainPointSamplesTheBandLastPrepared_data();
    void gainPointSamplesTheBandLastPrepared();

private:
    bool waitForSubscriptions(const QStringList& paths);
    LinkedProcessor m_processor;
};

void TestGraphPlotters::initTestCase()
{
    QVERIFY(m_processor.start());
}

bool TestGraphPlotters::waitForSubscriptions(const QStringList& paths)
{
    return QTest::qWaitFor(
        [&] {
            const QStringList held = m_processor.subscriptions();
            return std::all_of(paths.cbegin(), paths.cend(),
                               [&](const QString& path) { return held.contains(path); });
        },
        qx8test::timeoutMs());
}

void TestGraphPlotters::peqDragWritesBandValues()
{
    const std::pair<const char*, const char*> bell[] = {{"Band_1_Type", "Bell"},
                                                        {"Band_1_Q", "1"},
                                                        {"Band_1_Frequency", "1kHz"},
                                                        {"Band_1_Gain", "0"}};
    for (const auto& [variable, value] : bell)
        QVERIFY(m_processor.set("HighPEQ", variable, value));
    QX8PEQGraphItem item;
    item.setSize({1100, 400});
    item.setPOName("HighPEQ");
    item.setBandCount(8);
    item.componentCompleted();
    QX8PEQCurvePlotter& plotter = *item.plotter();
    QVERIFY(waitForSubscriptions(bandPaths("HighPEQ", 8, peqNumbers + QStringList{"Type"})));
    QTRY_VERIFY(!plotter.isSettling());
    // The values set above (1 kHz, 0 dB) have arrived: the handle lies on the 0 dB line.
    QTRY_COMPARE(plotter.controlPoint(0), QPoint(int(1100 * std::log(50.0) / std::log(1100.0)), 0));
    QVERIFY(plotter.hasControlPoint(0));

    // Half the width is 20 Hz * sqrt(1100), 663.325 Hz, written at its resolution; 100 px above
    // the 0 dB line is +10 dB.
    const Curves before = plotter.curves();
    const int skip = m_processor.received().size();
    item.setControlPoint(0, 550, 100);
    QVERIFY(m_processor.waitForSequence(
        {setLine("HighPEQ", "Band_1_Frequency", "663"), setLine("HighPEQ", "Band_1_Gain", "10")},
        skip));
    // The curve follows the device's report, not the drag itself.
    QTRY_VERIFY(qAbs(plotter.controlPoint(0).x() - 550) <= 1 && plotter.controlPoint(0).y() == 100);
    const auto peak = extreme(plotter.curves().at(0), false);
    QVERIFY2(qAbs(peak.x() - 550) <= 1 && qAbs(peak.y() - 100) <= 1,
             qPrintable(QStringLiteral("%1, %2").arg(peak.x()).arg(peak.y())));
    QCOMPARE(plotter.curves().size(), 9);
    QCOMPARE(plotter.curves().last().size(), 1100);
    // Only the dragged band and the total were written; the painter keeps the others.
    for (int curve = 0; curve < plotter.curves().size(); ++curve) {
        const bool written = curve == 0 || curve == 8;
        QCOMPARE(plotter.curves().at(curve).constData() != before.at(curve).constData(), written);
    }
}

void TestGraphPlotters::plottersFollowDeviceValues()
{
    // What the plotters say in the log on the way (a few of their lines).
    QTest::ignoreMessage(QtDebugMsg, "setBoundRectangle : QRectF(0,0 600x100)");
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(R"(^-- Band Count \(in cpp\): +3$)"));
    QX8NuqCurvePlotter nuq;
    nuq.init("Nuq", 12);
    nuq.setBoundRectangle({0, 0, 600, 100});
    CrossoverCurvePlotter crossover;
    crossover.init("Crossover", 3, 2, 1);
    crossover.setBoundRectangle({0, 0, 800, 200});
    QX8PEQCurvePlotter peq;
    peq.init("MidPEQ", 4);
    peq.setBoundRectangle({0, 0, 500, 100});
    QX8GEQBands geq;
    geq.init("StereoGEQ", 31);
    QVERIFY(waitForSubscriptions(bandPaths("Nuq", 12, nuqNumbers) +
                                 QStringList{LinkedProcessor::path("Crossover", "MonoSub_Gain"),
                                             LinkedProcessor::path("StereoGEQ", "1.0 kHz")}));
    QTRY_VERIFY(!crossover.isSettling());

    // A -20 dB notch at 1 kHz reaches the bottom of the Nuq graph.
    QVERIFY(m_processor.set("Nuq", "Band_3_Frequency", "1kHz"));
    QVERIFY(m_processor.set("Nuq", "Band_3_Q", "1"));
    QVERIFY(m_processor.set("Nuq", "Band_3_Gain", "-20"));
    const int notchX = int(LogFrequencyAxis::nuq().xFor(1000.0, 600));
    QTRY_VERIFY2(qAbs(extreme(nuq.curves().at(2), true).y() + 100) <= 1,
                 qPrintable(QString::number(extreme(nuq.curves().at(2), true).y())));
    QVERIFY(qAbs(extreme(nuq.curves().at(2), true).x() - notchX) <= 1);
    QCOMPARE(nuq.curves().size(), 13);
    QVERIFY(nuq.curves().last().isEmpty());

    // The sub (third band, MonoSub) at +6 dB with both filters out of the way: 2H * 66/80.
    QVERIFY(m_processor.set("Crossover", "MonoSub_LPFrequency", "20000"));
    QVERIFY(m_processor.set("Crossover", "MonoSub_Gain", "6"));
    QTRY_VERIFY(qAbs(heightAt(crossover.curves().at(2), 400) - 330) <= 0.5);
    QCOMPARE(crossover.curves().at(2).last().x(), 800.0);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(R"(^ Sender Name = +"MonoSub_HPType" )"
                                                        R"(\| Value = +"BW 18" \| Index = +2$)"));
    QVERIFY(m_processor.set("Crossover", "MonoSub_HPType", "BW 18"));
    QTRY_COMPARE(int(crossover.calculator().bands[2].HPType),
                 int(CrossoverCurveCalculator::slopeTypeForWord("BW 18")));

    // A type word redraws the band as a shelf.
    QVERIFY(m_processor.set("MidPEQ", "Band_2_Type", "Low Shelf"));
    QTRY_COMPARE(peq.calculator().bands[1].Type, int(CurveCalculator::LowShelf));

    int geqChanges = 0; // the signal carries a reference, which QSignalSpy cannot hold
    connect(&geq, &QX8GEQBands::curvesChanged, this, [&geqChanges] { ++geqChanges; });
    QVERIFY(m_processor.set("StereoGEQ", "1.0 kHz", "-4.5"));
    QTRY_COMPARE(geq.values().value("1.0 kHz"), -4.5f);
    QVERIFY(geqChanges > 0);
}

void TestGraphPlotters::initTwiceSubscribesOnce()
{
    const QStringList nuqPaths = bandPaths("Nuq", 12, nuqNumbers);
    QX8NuqCurvePlotter plotter;
    plotter.init("Nuq", 12);
    QVERIFY(waitForSubscriptions(nuqPaths));
    QCOMPARE(controlCount(plotter), 36);
    QVERIFY(m_processor.settle());
    const int skip = m_processor.received().size();

    plotter.init("Nuq", 12);
    QCOMPARE(controlCount(plotter), 36);
    QCOMPARE(plotter.curves().size(), 13);

    // Another object replaces the bands: the old ones unsubscribe, nothing is doubled.
    plotter.init("LowPEQ", 8);
    const QStringList peqPaths = bandPaths("LowPEQ", 8, nuqNumbers);
    QVERIFY(waitForSubscriptions(peqPaths));
    QCOMPARE(controlCount(plotter), 24);
    QCOMPARE(plotter.curves().size(), 9);
    QTRY_COMPARE(onPO(m_processor.subscriptions(), "Nuq"), QStringList());
    const QStringList after = m_processor.received().mid(skip);
    QCOMPARE(after.filter(QRegularExpression("^sub .*\\\\Nuq\\\\")), QStringList());
    QCOMPARE(after.filter(QRegularExpression("^unsub .*\\\\Nuq\\\\")).size(), 36);
    QCOMPARE(onPO(m_processor.subscriptions(), "LowPEQ").size(), 24);
}

void TestGraphPlotters::bandCountsHeld()
{
    QX8PEQCurvePlotter peq;
    QTest::ignoreMessage(QtWarningMsg, "Band count 25 held at 20");
    peq.init("HighPEQ", 25);
    QCOMPARE(peq.bandCount(), 20);
    QCOMPARE(peq.curves().size(), 21);
    QCOMPARE(controlCount(peq), 100);

    // Two ways and the sub: six variables a band, the sub's under "MonoSub".
    CrossoverCurvePlotter crossover;
    QTest::ignoreMessage(QtWarningMsg, "Crossover band count 5 held at 3 for 2 ways");
    crossover.init("Crossover", 5, 2, 1);
    QCOMPARE(crossover.bandCount(), 3);
    QCOMPARE(controlCount(crossover), 18);
    QStringList sub;
    for (const char* sv : {"HPFrequency", "Gain", "LPFrequency", "HPType", "LPType", "Polarity"})
        sub << LinkedProcessor::path("Crossover", QStringLiteral("MonoSub_") + sv);
    QVERIFY(waitForSubscriptions(sub));
    QTest::ignoreMessage(QtWarningMsg, "Crossover band count 9 held at 6 for 8 ways");
    crossover.init("Crossover", 9, 8, 0);
    QCOMPARE(crossover.bandCount(), 6);

    QX8NuqCurvePlotter empty;
    QTest::ignoreMessage(QtWarningMsg, "PONAME EMPTY ABORTING NumSV Creation");
    empty.init(QString(), 12);
    QCOMPARE(controlCount(empty), 0);
    QVERIFY(empty.curves().isEmpty());
}

void TestGraphPlotters::nothingFromValuesNotArrived()
{
    // An object the device does not have: no value ever arrives.
    QX8PEQCurvePlotter plotter;
    plotter.init("AbsentPEQ", 4);
    plotter.setBoundRectangle({0, 0, 400, 100});
    QTRY_VERIFY(!plotter.isSettling());
    QCOMPARE(plotter.curves().size(), 5);
    for (int band = 0; band < 4; ++band) {
        QVERIFY(!plotter.hasControlPoint(band));
        QCOMPARE(plotter.controlPoint(band), QPoint());
        QCOMPARE(plotter.curves().at(band).size(), 400);
        QCOMPARE(extreme(plotter.curves().at(band), false).y(), 0.0);
        QCOMPARE(extreme(plotter.curves().at(band), true).y(), 0.0);
    }
}

void TestGraphPlotters::geqSweepWritesInsideRange()
{
    QX8GEQGraphItem item;
    item.setSize({620, 400});
    item.setPOName("StereoGEQ");
    item.componentCompleted();
    QVERIFY(waitForSubscriptions({LinkedProcessor::path("StereoGEQ", "20 Hz"),
                                  LinkedProcessor::path("StereoGEQ", "20.0 kHz")}));
    QTRY_VERIFY(item.allGainsArrived());
    int skip = m_processor.received().size();

    // From column 3 to column 9, 400 px above the middle: +20 dB, which the device cannot hold.
    item.reDrawBands(70, 190, -200);
    QCOMPARE(item.sweepBand(), 9);
    QCOMPARE(item.bands()->values().value("100 Hz"), 12.0f);
    QStringList expected;
    for (int column = 3; column <= 9; ++column)
        expected << setLine("StereoGEQ", GeqGeometry::label(column), "12");
    QVERIFY(m_processor.waitForSequence(expected, skip));

    // 100 px above the middle line is +5 dB; a handle 100 px below it is -6 dB.
    skip = m_processor.received().size();
    item.reDrawBands(0, 30, 100);
    item.setControlPoint(10, 0, 300);
    QVERIFY(m_processor.waitForSequence(
        {setLine("StereoGEQ", "25 Hz", "5"), setLine("StereoGEQ", "200 Hz", "-6")}, skip));
    QTRY_COMPARE(item.bands()->controlPoint(10), QPoint(193, -100));
    QCOMPARE(m_processor.received().filter("\"12\"").size() +
                 m_processor.received().filter("\"20\"").size(),
             7);
}

// A band whose gain has not come has no handle and takes neither a sweep nor a drag; the bands
// say when every gain has come, and that they wait again when another object replaces them.
void TestGraphPlotters::geqWaitsForEveryGain()
{
    QX8GEQGraphItem item;
    item.setSize({620, 400});
    item.setPOName("AbsentGEQ"); // an object the device lacks: no gain ever comes
    item.componentCompleted();
    QVERIFY(m_processor.settle());
    const int skip = m_processor.received().size();
    item.reDrawBands(70, 190, -200);
    item.setControlPoint(10, 0, 300);
    QTest::qWait(2 * QX8NumericalSV::kThrottleMs); // a write would leave after its throttle
    QVERIFY(m_processor.settle());
    QCOMPARE(m_processor.received().mid(skip).filter(QRegularExpression("^set ")), QStringList());
    QVERIFY(!item.isSweeping());
    QVERIFY(!item.allGainsArrived());
    QVERIFY(item.bands()->values().isEmpty());
    for (int band = 0; band < GeqGeometry::kBandCount; ++band)
        QVERIFY(!item.bands()->hasControlPoint(band));

    QX8GEQBands bands;
    QSignalSpy arrived(&bands, &QX8GEQBands::allGainsArrivedChanged);
    bands.init("StereoGEQ", GeqGeometry::kBandCount);
    QTRY_COMPARE(arrived.count(), 1);
    QCOMPARE(arrived.first().first().toBool(), true);
    QCOMPARE(bands.values().size(), GeqGeometry::kBandCount);
    QVERIFY(bands.hasControlPoint(GeqGeometry::kBandCount - 1));
    bands.init("AbsentGEQ", GeqGeometry::kBandCount);
    QCOMPARE(arrived.count(), 2);
    QCOMPARE(arrived.last().first().toBool(), false);
    QVERIFY(!bands.hasControlPoint(GeqGeometry::kBandCount - 1));
}

// Ways, subs and bands set on the crossover item after its completion reach its plotter, which
// then binds the bands of the new layout, and only those.
void TestGraphPlotters::crossoverLayoutReachesThePlotter_data()
{
    QTest::addColumn<QList<int>>("layout"); // ways, subs, bands
    QTest::addColumn<QStringList>("bands"); // the variable prefixes bound
    QTest::newRow("a sub joins") << QList<int>{2, 1, 3}
                                 << QStringList{"Band_1_", "Band_2_", "MonoSub_"};
    QTest::newRow("a third way instead")
        << QList<int>{3, 0, 3} << QStringList{"Band_1_", "Band_2_", "Band_3_"};
    QTest::newRow("one way") << QList<int>{1, 0, 1} << QStringList{"Band_1_"};
}

void TestGraphPlotters::crossoverLayoutReachesThePlotter()
{
    QFETCH(QList<int>, layout);
    QFETCH(QStringList, bands);
    CrossoverGraphItem item;
    item.setSize({800, 400});
    item.setPOName("Crossover");
    item.setWaysCount(2);
    item.setSubsCount(0);
    item.setBandCount(2);
    item.componentCompleted();
    const CrossoverCurvePlotter& plotter = *item.plotter();
    QCOMPARE(plotter.bandCount(), 2);
    item.setWaysCount(layout.at(0));
    item.setSubsCount(layout.at(1));
    item.setBandCount(layout.at(2));
    QTRY_COMPARE(QList<int>({plotter.waysCount(), plotter.subsCount(), plotter.bandCount()}),
                 layout);
    QStringList bound;
    for (const QString& name : plotter.variables().svByName.keys())
        bound << name.left(name.indexOf('_') + 1 + (name.startsWith("Band_") ? 2 : 0));
    bound.removeDuplicates();
    QCOMPARE(bound, bands);
    QStringList paths;
    for (const QString& band : bands)
        paths << LinkedProcessor::path("Crossover", band + "Gain");
    QVERIFY(waitForSubscriptions(paths));
    QTRY_COMPARE(plotter.curves().size(), layout.at(2));
}

// A sample of the band last drawn, anywhere across the graph, is its curve's height there less
// the curve's offset (the Nuq notches hang from the top: H).
void TestGraphPlotters::gainPointSamplesTheBandLastPrepared_data()
{
    QTest::addColumn<bool>("nuq");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("gain");
    QTest::addColumn<qreal>("offset");
    QTest::newRow("parametric EQ") << false << "LowPEQ"
                                   << "6" << 0.0;
    QTest::newRow("Nuq") << true << "Nuq"
                         << "-12" << 100.0;
}

void TestGraphPlotters::gainPointSamplesTheBandLastPrepared()
{
    QFETCH(bool, nuq);
    QFETCH(QString, object);
    QFETCH(QString, gain);
    QFETCH(qreal, offset);
    for (const auto& [variable, value] : {std::pair{"Band_1_Frequency", "1kHz"},
                                          std::pair{"Band_1_Q", "4"}, std::pair{"Band_1_Gain", ""}})
        QVERIFY(m_processor.set(object, variable, *value ? value : gain));
    std::unique_ptr<ParametricCurvePlotter> plotter;
    if (nuq) {
        auto notches = std::make_unique<QX8NuqCurvePlotter>();
        notches->init(object, 1);
        plotter = std::move(notches);
    } else {
        auto bands = std::make_unique<QX8PEQCurvePlotter>();
        bands->init(object, 1);
        plotter = std::move(bands);
    }
    plotter->setBoundRectangle({0, 0, 600, 100});
    QTRY_VERIFY(!plotter->isSettling() && plotter->calculator().bands[0].Gain == gain.toDouble());
    QTRY_VERIFY(qAbs(extreme(plotter->curves().at(0), gain.toDouble() < 0).y() - offset) > 10);
    for (const int x : {0, 150, 300, 450, 599}) {
        const qreal expected = heightAt(plotter->curves().at(0), x) - offset;
        QVERIFY2(qAbs(plotter->gainPointForLogFreq(x) - expected) < 1e-3,
                 qPrintable(QStringLiteral("x %1: %2, not %3")
                                .arg(x)
                                .arg(plotter->gainPointForLogFreq(x))
                                .arg(expected)));
    }
}

void TestGraphPlotters::cleanupTestCase()
{
    m_processor.stop();
}

QX8_TEST_MAIN(TestGraphPlotters)
#include "tst_graphplotters.moc"
