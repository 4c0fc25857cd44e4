// The graph panels in QML against VirtualQX8: they load without a QML warning, draw live curves
// from the device, and a drag goes to the device and comes back as a new curve. The dynamics
// panels' transfer curves follow the device's settings.
#include "crossovergraphitem.h"
#include "curvegraphitem.h"
#include "devicemodelprovider.h"
#include "linkedprocessor.h"
#include "pixels.h"
#include "qx8geqgraphitem.h"
#include "qx8numericalsv.h"
#include "qx8nuqgraphitem.h"
#include "qx8peqgraphitem.h"
#include "qx8textsv.h"
#include "qx8transfergraphitem.h"
#include "testharness.h"
#include "testmain.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItemGrabResult>
#include <QQuickView>
#include <QtTest>

#include <memory>

namespace {

// The item of that object name in the item tree below `item` (where Repeaters put theirs).
QQuickItem* itemNamed(QQuickItem* item, const QString& name)
{
    if (item->objectName() == name)
        return item;
    for (QQuickItem* child : item->childItems()) {
        if (QQuickItem* found = itemNamed(child, name))
            return found;
    }
    return nullptr;
}

// `item` and every item in the tree below it.
QList<QQuickItem*> itemTree(QQuickItem* item)
{
    QList<QQuickItem*> items{item};
    for (QQuickItem* child : item->childItems())
        items += itemTree(child);
    return items;
}

// Any pixel of column x between y0 and y1 near the colour (alpha aside: the grabbed graph item
// has no background under its half-transparent fills).
bool columnHas(const QImage& image, int x, int y0, int y1, QColor color, int tolerance = 30)
{
    for (int y = y0; y <= y1; ++y) {
        const QRgb pixel = image.pixel(x, y);
        if (qAbs(qRed(pixel) - color.red()) <= tolerance &&
            qAbs(qGreen(pixel) - color.green()) <= tolerance &&
            qAbs(qBlue(pixel) - color.blue()) <= tolerance)
            return true;
    }
    return false;
}

} // namespace

class TestGraphPanels : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void panelDrawsDeviceValues_data();
    void panelDrawsDeviceValues();
    void peqPanelFollowsDrag();
    void peqFlatBandHandleShowsAndDrags();
    void panelWaitsForEveryValue_data();
    void panelWaitsForEveryValue();
    void transferPanelFollowsDevice_data();
    void transferPanelFollowsDevice();
    void geqHandlesStandOverTheirBars();
    void crossoverHandlesAtOneFrequencyBothShow();
    void nuqFilterInfoReadsItsFilter_data();
    void nuqFilterInfoReadsItsFilter();

private:
    // Shows `body` (QML over the graph components) in a window of the given size and returns
    // the panel's one graph item of type Item.
    template<typename Item> Item* show(const QByteArray& body, QSize size);
    // The graph item alone, without the touch points over it.
    QImage frame(QQuickItem* item);

    LinkedProcessor m_processor;
    std::unique_ptr<QQuickView> m_view;
    std::unique_ptr<QQuickItem> m_root;
};

void TestGraphPanels::initTestCase()
{
    qmlRegisterType<QX8PEQGraphItem>("QX8PEQGraphItem", 1, 0, "QX8PEQGraphItem");
    qmlRegisterType<QX8GEQGraphItem>("QX8GEQGraphItem", 1, 0, "QX8GEQGraphItem");
    qmlRegisterType<CrossoverGraphItem>("CrossoverGraphItem", 1, 0, "CrossoverGraphItem");
    qmlRegisterType<QX8NuqGraphItem>("QX8NuqGraphItem", 1, 0, "QX8NuqGraphItem");
    qmlRegisterType<QX8NumericalSV>("QX8NumericalSV", 1, 0, "QX8NumericalSV");
    qmlRegisterType<QX8TextSV>("QX8TextSV", 1, 0, "QX8TextSV");
    qmlRegisterType<QX8TransferGraphItem>("QX8TransferGraphItem", 1, 0, "QX8TransferGraphItem");
    qmlRegisterUncreatableType<TransferCurvePlotter>("TransferCurvePlotter", 1, 0,
                                                     "TransferCurvePlotter", "made by its item");
    qmlRegisterSingletonType<DeviceModelProvider>(
        "DeviceModelProvider", 1, 0, "DeviceModelProvider",
        [](QQmlEngine*, QJSEngine*) -> QObject* { return new DeviceModelProvider; });
    QVERIFY(m_processor.start());
}

void TestGraphPanels::cleanup()
{
    m_root.reset();
    m_view.reset();
}

template<typename Item> Item* TestGraphPanels::show(const QByteArray& body, QSize size)
{
    m_view = std::make_unique<QQuickView>();
    QQmlComponent component(m_view->engine());
    component.setData("import QtQuick 2.15\n" + body, QUrl("qrc:/qml/PanelUnderTest.qml"));
    m_root.reset(qobject_cast<QQuickItem*>(component.create()));
    if (!m_root) {
        qWarning("%s", qPrintable(component.errorString()));
        return nullptr;
    }
    m_root->setSize(size);
    m_root->setParentItem(m_view->contentItem());
    m_view->resize(size);
    m_view->show();
    const QList<Item*> graphs = m_root->findChildren<Item*>();
    if (!QTest::qWaitForWindowExposed(m_view.get()) || graphs.size() != 1)
        return nullptr;
    return graphs.first();
}

QImage TestGraphPanels::frame(QQuickItem* item)
{
    const QSharedPointer<QQuickItemGrabResult> grab = item->grabToImage();
    if (!grab)
        return QImage();
    QSignalSpy ready(grab.data(), &QQuickItemGrabResult::ready);
    if (!ready.wait(qx8test::timeoutMs()))
        return QImage();
    return grab->image().convertToFormat(QImage::Format_ARGB32);
}

void TestGraphPanels::panelDrawsDeviceValues_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QStringList>("sets"); // object|variable|value, once the panel shows
    // Where the colour must appear: x as a share of the graph's width, and y .. y + 20.
    QTest::addColumn<double>("probeX");
    QTest::addColumn<int>("probeY");
    QTest::addColumn<QColor>("colour");
    // 125 Hz (column 8) at +5 dB stands 83 px above the middle line.
    QTest::newRow("graphic EQ") << QByteArray(R"(QX8GraphGEQ { poName: "StereoGEQ" })")
                                << QSize(620, 400) << QStringList{"StereoGEQ|125 Hz|5"} << 8.5 / 31
                                << 140 << QColor(255, 25 + 7 * 8, 0);
    // The first way at +10 dB, still passing at 750 Hz: filled above the 0 dB line (y = 100).
    QTest::newRow("crossover")
        << QByteArray(R"(QX8GraphCrossover { waysCount: 2; bandColors: ["red", "blue"] })")
        << QSize(1000, 400)
        << QStringList{"Crossover|Band_1_LPFrequency|1kHz", "Crossover|Band_2_HPFrequency|2kHz",
                       "Crossover|Band_1_Gain|10"}
        << 0.54 << 70 << QColor(Qt::red);
    // A -20 dB notch at 1 kHz reaches the bottom of the graph.
    QTest::newRow("Nuq") << QByteArray(R"(QX8GraphNuq { poName: "Nuq"; bandColors: ["red"] })")
                         << QSize(600, 200)
                         << QStringList{"Nuq|Band_1_Frequency|1kHz", "Nuq|Band_1_Q|1",
                                        "Nuq|Band_1_Gain|-20"}
                         << std::log10(1000.0 / 20) / 3 << 177 << QColor(Qt::red);
}

void TestGraphPanels::panelDrawsDeviceValues()
{
    QFETCH(QByteArray, body);
    QFETCH(QSize, size);
    QFETCH(QStringList, sets);
    QFETCH(double, probeX);
    QFETCH(int, probeY);
    QFETCH(QColor, colour);
    auto* graph = show<GraphItemBase>(body, size);
    QVERIFY(graph);
    QTRY_VERIFY(graph->isCompleted());
    const int x = int(probeX * graph->width());
    QVERIFY(!columnHas(frame(graph), x, probeY, probeY + 20, colour));
    for (const QString& set : sets) {
        const QStringList parts = set.split('|');
        QVERIFY(m_processor.set(parts[0], parts[1], parts[2]));
    }
    QTRY_VERIFY(columnHas(frame(graph), x, probeY, probeY + 20, colour));
}

void TestGraphPanels::peqPanelFollowsDrag()
{
    const std::pair<const char*, const char*> start[] = {
        {"Band_1_Type", "Bell"}, {"Band_1_Q", "1"},    {"Band_1_Frequency", "1kHz"},
        {"Band_1_Gain", "6"},    {"Band_2_Gain", "0"}, {"Band_3_Gain", "0"},
        {"Band_4_Gain", "0"}};
    for (const auto& [variable, value] : start)
        QVERIFY(m_processor.set("LowPEQ", variable, value));
    auto* graph = show<QX8PEQGraphItem>(R"(QX8GraphPEQ {
        poName: "LowPEQ"; bandCount: 4; bandColors: ["red", "lime", "blue", "yellow"]
    })",
                                        {1100, 400});
    QVERIFY(graph);
    // +6 dB at 1 kHz: the white total peaks 60 px above the middle line, over the red band.
    QTRY_VERIFY(graph->controlPoints().size() == 4 &&
                graph->controlPoints().first().toPointF() == QPointF(614, 60));
    QImage image = frame(graph);
    QVERIFY(columnHas(image, 614, 137, 143, Qt::white, 60));
    QVERIFY(columnHas(image, 614, 180, 180, Qt::red) && qAlpha(image.pixel(614, 180)) < 200);

    // The touch point dragged to the middle of the width, 100 px above the middle line: 663.325 Hz
    // and +10 dB, written at their resolution.
    const int skip = m_processor.received().size();
    const QPoint from(614, 140), to(550, 100);
    QTest::mousePress(m_view.get(), Qt::LeftButton, Qt::NoModifier, from);
    for (int i = 1; i <= 8; ++i)
        QTest::mouseMove(m_view.get(), from + (to - from) * i / 8);
    QTest::mouseRelease(m_view.get(), Qt::LeftButton, Qt::NoModifier, to);
    QVERIFY(m_processor.waitForSequence(
        {QStringLiteral("set \"%1\" \"663\"")
             .arg(LinkedProcessor::path("LowPEQ", "Band_1_Frequency")),
         QStringLiteral("set \"%1\" \"10\"").arg(LinkedProcessor::path("LowPEQ", "Band_1_Gain"))},
        skip));
    // The curve follows the device's report.
    QTRY_VERIFY(graph->controlPoints().first().toPointF().y() == 100);
    QTRY_VERIFY(columnHas(frame(graph), 550, 97, 103, Qt::white, 60));
    QVERIFY(!columnHas(frame(graph), 614, 137, 143, Qt::white, 60));
}

// A band at 0 dB has its handle on the 0 dB line, and a drag of it goes to the device; a band
// whose values never came shows no handle.
void TestGraphPanels::peqFlatBandHandleShowsAndDrags()
{
    for (const auto& [variable, value] :
         {std::pair{"Band_3_Type", "Bell"}, std::pair{"Band_3_Q", "1"},
          std::pair{"Band_3_Frequency", "315"}, std::pair{"Band_3_Gain", "0"}})
        QVERIFY(m_processor.set("LowPEQ", variable, value));
    const QByteArray panel = R"(QX8GraphPEQ {
        poName: "%1"; bandCount: 4; bandColors: ["red", "lime", "blue", "yellow"]
    })";
    auto* graph = show<QX8PEQGraphItem>(QByteArray(panel).replace("%1", "LowPEQ"), {1100, 400});
    QVERIFY(graph);
    QQuickItem* handle = itemNamed(m_root.get(), QStringLiteral("handle_3"));
    QVERIFY(handle);
    QTRY_VERIFY(handle->isVisible());
    const QPointF centre =
        handle->mapToItem(m_root.get(), QPointF(handle->width() / 2, handle->height() / 2));
    QVERIFY2(qAbs(centre.x() - 1100 * std::log(315.0 / 20) / std::log(1100.0)) <= 1 &&
                 qAbs(centre.y() - 200) <= 0.5,
             qPrintable(QStringLiteral("%1, %2").arg(centre.x()).arg(centre.y())));

    // 60 px above the middle line is +6 dB.
    const int skip = m_processor.received().size();
    const QPoint from = centre.toPoint(), to = from - QPoint(0, 60);
    QTest::mousePress(m_view.get(), Qt::LeftButton, Qt::NoModifier, from);
    for (int i = 1; i <= 6; ++i)
        QTest::mouseMove(m_view.get(), from + (to - from) * i / 6);
    QTest::mouseRelease(m_view.get(), Qt::LeftButton, Qt::NoModifier, to);
    QVERIFY(m_processor.waitForSequence(
        {QStringLiteral("set \"%1\" \"6\"").arg(LinkedProcessor::path("LowPEQ", "Band_3_Gain"))},
        skip));
    QTRY_COMPARE(graph->controlPoints().at(2).toPointF().y(), 60.0);

    // An object the device lacks: the panel draws, and no handle shows.
    m_root.reset();
    m_view.reset();
    graph = show<QX8PEQGraphItem>(QByteArray(panel).replace("%1", "AbsentPEQ"), {1100, 400});
    QVERIFY(graph);
    QSignalSpy repainted(graph, &QX8PEQGraphItem::repainted);
    QVERIFY(repainted.wait(qx8test::timeoutMs()));
    for (int band = 1; band <= 4; ++band) {
        QVERIFY(!graph->hasControlPoint(band - 1));
        QVERIFY(!itemNamed(m_root.get(), QStringLiteral("handle_%1").arg(band))->isVisible());
    }
}

// A panel bound to one band more than the device has, that band in blue, the others red: the
// device's bands show, the band whose values never come shows no curve, nor does the parametric
// EQ's (white) total of the bands, and the panel says that it waits. Bound to the device's bands
// only, the last in blue, it draws them all and waits no more.
void TestGraphPanels::panelWaitsForEveryValue_data()
{
    QTest::addColumn<QByteArray>("waiting");
    QTest::addColumn<QByteArray>("complete");
    QTest::addColumn<QSize>("size");
    const QByteArray reds = R"("red", "red", "red", )";
    QTest::newRow("parametric EQ")
        << QByteArray(R"(QX8GraphPEQ { poName: "HighPEQ"; bandCount: 9; bandColors: [)" + reds +
                      reds + R"("red", "red", "blue"] })")
        << QByteArray(R"(QX8GraphPEQ { poName: "HighPEQ"; bandCount: 8; bandColors: [)" + reds +
                      reds + R"("red", "blue"] })")
        << QSize(1100, 400);
    QTest::newRow("Nuq")
        << QByteArray(R"(QX8GraphNuq { poName: "Nuq"; bandCount: 13; bandColors: [)" + reds + reds +
                      reds + reds + R"("blue"] })")
        << QByteArray(R"(QX8GraphNuq { poName: "Nuq"; bandCount: 4; bandColors: [)" + reds +
                      R"("blue"] })")
        << QSize(600, 200);
    QTest::newRow("crossover") << QByteArray(R"(QX8GraphCrossover { waysCount: 5; bandColors: [)" +
                                             reds + R"("red", "blue"] })")
                               << QByteArray(R"(QX8GraphCrossover { waysCount: 4; bandColors: [)" +
                                             reds + R"("blue"] })")
                               << QSize(1000, 400);
}

void TestGraphPanels::panelWaitsForEveryValue()
{
    QFETCH(QByteArray, waiting);
    QFETCH(QByteArray, complete);
    QFETCH(QSize, size);
    // Alpha aside, as above: a trace of blue, or red alone.
    const auto blue = [](QRgb pixel) { return qBlue(pixel) > 60; };
    const auto red = [](QRgb pixel) {
        return qRed(pixel) > 155 && qGreen(pixel) < 100 && qBlue(pixel) < 100;
    };
    auto* graph = show<CurveGraphItem>(waiting, size);
    QVERIFY(graph);
    // The device's bands drawn (the guess would have come with them).
    QTRY_VERIFY(qx8test::anyPixel(frame(graph), red));
    QVERIFY(!qx8test::anyPixel(frame(graph), blue));
    QVERIFY(!graph->allValuesArrived());
    const QQuickItem* notice = itemNamed(m_root.get(), QStringLiteral("waitingNotice"));
    QVERIFY(notice && notice->isVisible());

    m_root.reset();
    graph = show<CurveGraphItem>(complete, size);
    QVERIFY(graph);
    QTRY_VERIFY(graph->allValuesArrived());
    QVERIFY(!itemNamed(m_root.get(), QStringLiteral("waitingNotice"))->isVisible());
    QTRY_VERIFY(qx8test::anyPixel(frame(graph), blue));
}

// Each dynamics panel over its object's settings on the device: the output level at one input
// level before and after a change on the device's front panel. The wire's own forms count: a
// ratio at its top reads "Inf:1".
void TestGraphPanels::transferPanelFollowsDevice_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("start"); // object|variable|value, before the panel shows
    QTest::addColumn<QStringList>("change");
    QTest::addColumn<double>("inputDb");
    QTest::addColumn<double>("beforeDb");
    QTest::addColumn<double>("afterDb");
    // Threshold 10 with a 6 dB knee passes 0 dB; at -10 with a hard knee it holds it there.
    QTest::newRow("limiter") << QByteArray(R"(QX8GraphLimiter { poName: "MidLimiter" })")
                             << QStringList{"MidLimiter|Threshold|10", "MidLimiter|OverEasy|3"}
                             << QStringList{"MidLimiter|OverEasy|0", "MidLimiter|Threshold|-10"}
                             << 0.0 << 0.0 << -10.0;
    // -20 dB at 4:1 with 3 dB make-up gives -12; an infinite ratio at -30 gives -30.
    QTest::newRow("compressor") << QByteArray(R"(QX8GraphCompressor { poName: "Compressor" })")
                                << QStringList{"Compressor|Threshold|-20", "Compressor|Ratio|4",
                                               "Compressor|OverEasy|0", "Compressor|Gain|3"}
                                << QStringList{"Compressor|Gain|0", "Compressor|Ratio|100",
                                               "Compressor|Threshold|-30"}
                                << 0.0 << -12.0 << -30.0;
    // At -60 the gate passes -50; at -40 and 1:2 it takes it 20 dB lower.
    QTest::newRow("gate") << QByteArray(R"(QX8GraphGate { poName: "Gate" })")
                          << QStringList{"Gate|Threshold|-60", "Gate|Ratio|2",
                                         "Gate|MaxAttenuation|60"}
                          << QStringList{"Gate|Threshold|-40"} << -50.0 << -50.0 << -60.0;
    // -30 dB lifted by at most 9 dB towards -12 +-3; with the target at -20, 7 dB to its window.
    QTest::newRow("agc") << QByteArray(R"(QX8GraphAGC { poName: "AGC" })")
                         << QStringList{"AGC|Target|-12", "AGC|Window|6", "AGC|Max Gain|9",
                                        "AGC|Low Threshold|-50", "AGC|LimThreshold|-6"}
                         << QStringList{"AGC|Target|-20"} << -30.0 << -21.0 << -23.0;
}

void TestGraphPanels::transferPanelFollowsDevice()
{
    QFETCH(QByteArray, body);
    QFETCH(QStringList, start);
    QFETCH(QStringList, change);
    QFETCH(double, inputDb);
    QFETCH(double, beforeDb);
    QFETCH(double, afterDb);
    const auto setAll = [this](const QStringList& sets) {
        for (const QString& set : sets) {
            const QStringList parts = set.split('|');
            if (!m_processor.set(parts[0], parts[1], parts[2]))
                return false;
        }
        return true;
    };
    const auto outputAt = [inputDb](const QX8TransferGraphItem& graph) {
        for (const TransferCurve::Point& point : graph.plotter().curve()) {
            if (point.inputDb == inputDb)
                return point.outputDb;
        }
        return qQNaN();
    };
    QVERIFY(setAll(start));
    auto* graph = show<QX8TransferGraphItem>(body, {400, 400});
    QVERIFY(graph);
    QTRY_COMPARE(outputAt(*graph), beforeDb);
    QSignalSpy repainted(graph, &QX8TransferGraphItem::repainted);
    QVERIFY(setAll(change));
    QTRY_COMPARE(outputAt(*graph), afterDb);
    QVERIFY(repainted.wait(qx8test::timeoutMs()) || !repainted.isEmpty());
}

// Each of the 31 handles is centred over its own bar, the last one inside the panel, and stands
// at its band's gain; no handle, the selected (larger) one included, hides a label of the level
// scale, a flat first band's neither.
void TestGraphPanels::geqHandlesStandOverTheirBars()
{
    QVERIFY(m_processor.set("StereoGEQ", "1.0 kHz", "6"));
    QVERIFY(m_processor.set("StereoGEQ", "20 Hz", "0"));
    QVERIFY(m_processor.set("StereoGEQ", "25 Hz", "6"));
    auto* graph = show<GraphItemBase>(R"(QX8GraphGEQ { poName: "StereoGEQ" })", {620, 400});
    QVERIFY(graph);
    const double column = graph->width() / 31;
    const auto bounds = [this](QQuickItem* item) {
        return item->mapRectToItem(m_root.get(), QRectF(0, 0, item->width(), item->height()));
    };
    QList<QRectF> handles;
    for (int band = 0; band < 31; ++band) {
        QQuickItem* handle = itemNamed(m_root.get(), QStringLiteral("handle_%1").arg(band + 1));
        QVERIFY(handle);
        QTRY_VERIFY(handle->isVisible());
        const double centre = bounds(handle).center().x() - graph->x();
        QVERIFY2(qAbs(centre - (band + 0.5) * column) <= 1,
                 qPrintable(QStringLiteral("band %1 at %2").arg(band + 1).arg(centre)));
        handles << bounds(handle);
    }
    QVERIFY(handles.last().right() <= m_root->width());
    // "1.0 kHz" is band 18: +6 dB stands a quarter of the graph's height above the middle.
    QQuickItem* kilohertz = itemNamed(m_root.get(), QStringLiteral("handle_18"));
    QTRY_VERIFY(qAbs(kilohertz->y() + kilohertz->height() / 2 - graph->height() / 4) <= 1);
    QTRY_VERIFY(qAbs(handles.first().center().y() - graph->height() / 2) <= 1);

    const QStringList levels{"+12", "+6", "0", "-6", "-12"};
    int labels = 0;
    for (QQuickItem* item : itemTree(m_root.get())) {
        if (!item->isVisible() || !levels.contains(item->property("text").toString()))
            continue;
        ++labels;
        for (int band = 0; band < 31; ++band)
            QVERIFY2(!bounds(item).intersects(handles.at(band)),
                     qPrintable(QStringLiteral("\"%1\" under band %2")
                                    .arg(item->property("text").toString())
                                    .arg(band + 1)));
    }
    QCOMPARE(labels, levels.size());
}

// Where one band ends and the next begins at one frequency, the low-pass handle stands on its
// band's level and the high-pass handle under it, both at that frequency: neither hides the
// other.
void TestGraphPanels::crossoverHandlesAtOneFrequencyBothShow()
{
    for (const auto& [variable, value] :
         {std::pair{"Band_1_Gain", "0"}, std::pair{"Band_2_Gain", "0"},
          std::pair{"Band_1_LPFrequency", "1kHz"}, std::pair{"Band_2_HPFrequency", "1kHz"}})
        QVERIFY(m_processor.set("Crossover", variable, value));
    auto* graph = show<GraphItemBase>(
        R"(QX8GraphCrossover { waysCount: 2; bandColors: ["red", "blue"]; knobSize: 20 })",
        {1000, 400});
    QVERIFY(graph);
    QQuickItem* lowPass = itemNamed(m_root.get(), QStringLiteral("handle_Band_1_LPFrequency"));
    QQuickItem* highPass = itemNamed(m_root.get(), QStringLiteral("handle_Band_2_HPFrequency"));
    QVERIFY(lowPass && highPass);
    const auto bounds = [this](QQuickItem* item) {
        return item->mapRectToItem(m_root.get(), QRectF(0, 0, item->width(), item->height()));
    };
    // 1 kHz on 16 Hz .. 20 kHz; 0 dB a quarter of the way down from +20 to -60.
    const double x = 1000 * std::log(1000.0 / 16) / std::log(20000.0 / 16);
    const double level = 20 * (400 - 20 / 2.0) / 80;
    QTRY_VERIFY(lowPass->isVisible() && highPass->isVisible() &&
                qAbs(bounds(lowPass).center().x() - x) <= 1 &&
                qAbs(bounds(highPass).center().x() - x) <= 1);
    QVERIFY(qAbs(bounds(lowPass).center().y() - level) <= 1);
    QVERIFY(bounds(highPass).center().y() > level);
    QVERIFY(!bounds(lowPass).intersects(bounds(highPass)));
}

// A Nuq filter's read-out: "-" until the device reports, then mode, centre, depth and Q at their
// resolution; a page may set the texts itself.
void TestGraphPanels::nuqFilterInfoReadsItsFilter_data()
{
    QTest::addColumn<QByteArray>("properties");
    QTest::addColumn<QStringList>("shown"); // valueMode, valueFc, valueGain, valueQ
    QTest::newRow("no filter named")
        << QByteArray(R"(bandName: "")") << QStringList{"LIVE", "-", "-", "-"};
    QTest::newRow("the device's filter") << QByteArray(R"(bandName: "Band_2"; fixedFilter: true)")
                                         << QStringList{"FIXED", "1.23 kHz", "-6.0 dB", "Q 32.4"};
    QTest::newRow("set by the page")
        << QByteArray(R"(bandName: "Band_2"; valueMode: "LIVE"; valueFc: "-"; valueQ: "Q -")")
        << QStringList{"LIVE", "-", "-6.0 dB", "Q -"};
}

void TestGraphPanels::nuqFilterInfoReadsItsFilter()
{
    QFETCH(QByteArray, properties);
    QFETCH(QStringList, shown);
    for (const auto& [variable, value] :
         {std::pair{"Band_2_Frequency", "1234.56"}, std::pair{"Band_2_Gain", "-6.04"},
          std::pair{"Band_2_Q", "32.43"}})
        QVERIFY(m_processor.set("Nuq", variable, value));
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick 2.15\nCustomNuqFilterInfo { processingObjectName: \"Nuq\"; " +
                          properties + " }",
                      QUrl("qrc:/qml/FilterInfoUnderTest.qml"));
    std::unique_ptr<QObject> info(component.create());
    QVERIFY2(info, qPrintable(component.errorString()));
    const auto texts = [&info] {
        QStringList read;
        for (const char* name : {"valueMode", "valueFc", "valueGain", "valueQ"})
            read << info->property(name).toString();
        return read;
    };
    QTRY_COMPARE(texts(), shown);
}

void TestGraphPanels::cleanupTestCase()
{
    m_processor.stop();
}

QX8_TEST_MAIN(TestGraphPanels)
#include "tst_graphpanels.moc"
