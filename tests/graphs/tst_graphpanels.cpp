// The graph panels in QML against VirtualQX8: they load without a QML warning, draw live curves
// from the device, and a drag or a sweep goes to the device and comes back as a new curve.
#include "crossovergraphitem.h"
#include "linkedprocessor.h"
#include "qx8geqgraphitem.h"
#include "qx8numericalsv.h"
#include "qx8nuqgraphitem.h"
#include "qx8peqgraphitem.h"
#include "qx8textsv.h"
#include "testharness.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickItemGrabResult>
#include <QQuickView>
#include <QtTest>

#include <memory>

namespace {

bool near(QRgb pixel, QColor expected, int tolerance)
{
    return qAbs(qRed(pixel) - expected.red()) <= tolerance &&
           qAbs(qGreen(pixel) - expected.green()) <= tolerance &&
           qAbs(qBlue(pixel) - expected.blue()) <= tolerance;
}

QString describe(QRgb pixel)
{
    return QStringLiteral("rgb(%1, %2, %3)").arg(qRed(pixel)).arg(qGreen(pixel)).arg(qBlue(pixel));
}

// The panel background with a colour at half opacity over it.
QColor over(QColor color)
{
    const QColor background(0x1A, 0x1A, 0x1A);
    return QColor((color.red() * 127 + background.red() * 128) / 255,
                  (color.green() * 127 + background.green() * 128) / 255,
                  (color.blue() * 127 + background.blue() * 128) / 255);
}

// Any pixel of column x between y0 and y1 near the colour.
bool columnHas(const QImage& image, int x, int y0, int y1, QColor color, int tolerance = 30)
{
    for (int y = y0; y <= y1; ++y)
        if (near(image.pixel(x, y), color, tolerance))
            return true;
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
    void peqPanelFollowsDrag();
    void geqPanelFollowsSweep();
    void crossoverPanelFollowsDrag();
    void nuqPanelFollowsDevice();

private:
    // Shows `body` (QML over the graph components) in a window of the given size.
    QQuickItem* show(const QByteArray& body, QSize size);
    // The window's content, or one item alone (without the touch points over it).
    QImage frame(QQuickItem* item = nullptr);
    void drag(QPoint from, QPoint to);
    template<typename Item> Item* graphIn(QQuickItem* panel);

    LinkedProcessor m_processor;
    std::unique_ptr<QQuickView> m_view;
    std::unique_ptr<QQuickItem> m_root;
    QStringList m_warnings;
};

void TestGraphPanels::initTestCase()
{
    qmlRegisterType<QX8PEQGraphItem>("QX8PEQGraphItem", 1, 0, "QX8PEQGraphItem");
    qmlRegisterType<QX8GEQGraphItem>("QX8GEQGraphItem", 1, 0, "QX8GEQGraphItem");
    qmlRegisterType<CrossoverGraphItem>("CrossoverGraphItem", 1, 0, "CrossoverGraphItem");
    qmlRegisterType<QX8NuqGraphItem>("QX8NuqGraphItem", 1, 0, "QX8NuqGraphItem");
    qmlRegisterType<QX8NumericalSV>("QX8NumericalSV", 1, 0, "QX8NumericalSV");
    qmlRegisterType<QX8TextSV>("QX8TextSV", 1, 0, "QX8TextSV");
    QVERIFY(m_processor.start());
}

void TestGraphPanels::cleanup()
{
    m_root.reset();
    m_view.reset();
    QVERIFY2(m_warnings.isEmpty(), qPrintable(m_warnings.join('\n')));
}

QQuickItem* TestGraphPanels::show(const QByteArray& body, QSize size)
{
    m_view = std::make_unique<QQuickView>();
    QQmlEngine* engine = m_view->engine();
    engine->setOutputWarningsToStandardError(false);
    connect(engine, &QQmlEngine::warnings, this, [this](const QList<QQmlError>& errors) {
        for (const QQmlError& error : errors)
            m_warnings << error.toString();
    });
    QQmlComponent component(engine);
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
    if (!QTest::qWaitForWindowExposed(m_view.get()))
        return nullptr;
    return m_root.get();
}

QImage TestGraphPanels::frame(QQuickItem* item)
{
    const QSharedPointer<QQuickItemGrabResult> grab =
        (item != nullptr ? item : m_view->contentItem())->grabToImage();
    if (!grab)
        return QImage();
    QSignalSpy ready(grab.data(), &QQuickItemGrabResult::ready);
    if (!ready.wait(qx8test::timeoutMs()))
        return QImage();
    return grab->image().convertToFormat(QImage::Format_ARGB32);
}

void TestGraphPanels::drag(QPoint from, QPoint to)
{
    QTest::mousePress(m_view.get(), Qt::LeftButton, Qt::NoModifier, from);
    const int steps = 8;
    for (int i = 1; i <= steps; ++i)
        QTest::mouseMove(m_view.get(), from + (to - from) * i / steps);
    QTest::mouseRelease(m_view.get(), Qt::LeftButton, Qt::NoModifier, to);
}

template<typename Item> Item* TestGraphPanels::graphIn(QQuickItem* panel)
{
    const QList<Item*> items = panel->findChildren<Item*>();
    return items.size() == 1 ? items.first() : nullptr;
}

void TestGraphPanels::peqPanelFollowsDrag()
{
    QVERIFY(m_processor.set("LowPEQ", "Band_1_Frequency", "1kHz"));
    QVERIFY(m_processor.set("LowPEQ", "Band_1_Gain", "6"));
    QQuickItem* panel = show(R"(QX8GraphPEQ {
        poName: "LowPEQ"; bandCount: 4; bandColors: ["red", "lime", "blue", "yellow"]
    })",
                             {1100, 400});
    QVERIFY(panel);
    auto* graph = graphIn<QX8PEQGraphItem>(panel);
    QVERIFY(graph);
    // +6 dB at 1 kHz: the white total peaks 60 px above the middle line.
    QTRY_VERIFY(graph->controlPoints().size() == 4 &&
                graph->controlPoints().first().toPointF() == QPointF(614, 60));
    QImage image = frame(graph);
    QVERIFY2(columnHas(image, 614, 137, 143, Qt::white, 60),
             qPrintable(describe(image.pixel(614, 140))));
    QVERIFY2(near(image.pixel(614, 180), Qt::red, 30) && qAlpha(image.pixel(614, 180)) < 200,
             qPrintable(describe(image.pixel(614, 180))));

    // The touch point dragged to the middle of the width, 100 px above the middle line.
    const int skip = m_processor.received().size();
    drag({614, 140}, {550, 100});
    QVERIFY(m_processor.waitForSequence(
        {QStringLiteral("set \"%1\" \"663.325\"")
             .arg(LinkedProcessor::path("LowPEQ", "Band_1_Frequency")),
         QStringLiteral("set \"%1\" \"10\"").arg(LinkedProcessor::path("LowPEQ", "Band_1_Gain"))},
        skip));
    QTRY_VERIFY(graph->controlPoints().first().toPointF().y() == 100);
    QTRY_VERIFY(columnHas(frame(graph), 550, 97, 103, Qt::white, 60));
    image = frame(graph);
    QVERIFY2(!columnHas(image, 614, 137, 143, Qt::white, 60),
             qPrintable(describe(image.pixel(614, 140))));
}

void TestGraphPanels::geqPanelFollowsSweep()
{
    QQuickItem* panel = show(R"(QX8GraphGEQ { poName: "StereoGEQ"; drawMode: true })", {620, 400});
    QVERIFY(panel);
    auto* graph = graphIn<QX8GEQGraphItem>(panel);
    QVERIFY(graph);
    QVERIFY(
        QTest::qWaitFor([&] { return graph->controlPoints().size() == 31; }, qx8test::timeoutMs()));

    // A sweep 100 px above the middle line from column 3 to column 9: +5 dB on each.
    const int skip = m_processor.received().size();
    drag({70, 100}, {190, 100});
    QStringList expected;
    for (const char* label : {"40 Hz", "50 Hz", "63 Hz", "80 Hz", "100 Hz", "125 Hz", "160 Hz"})
        expected
            << QStringLiteral("set \"%1\" \"5\"").arg(LinkedProcessor::path("StereoGEQ", label));
    QVERIFY(m_processor.waitForSequence(expected, skip));
    QTRY_COMPARE(
        m_processor.device().command(
            QStringLiteral("value \"%1\"").arg(LinkedProcessor::path("StereoGEQ", "125 Hz"))),
        QStringLiteral("ok 5dB"));
    // The bars stand 5 dB (83 px) above the middle; the columns around them stay at 0 dB.
    QTRY_VERIFY(near(frame().pixel(6 * 20 + 10, 150), QColor(255, 25 + 7 * 6, 0), 2));
    const QImage image = frame();
    QVERIFY2(!near(image.pixel(12 * 20 + 10, 150), QColor(255, 25 + 7 * 12, 0), 2),
             qPrintable(describe(image.pixel(12 * 20 + 10, 150))));
}

void TestGraphPanels::crossoverPanelFollowsDrag()
{
    QVERIFY(m_processor.set("Crossover", "Band_1_LPFrequency", "1kHz"));
    QVERIFY(m_processor.set("Crossover", "Band_2_HPFrequency", "2kHz"));
    QQuickItem* panel = show(R"(QX8GraphCrossover {
        waysCount: 2; subsCount: 0; bandColors: ["red", "blue", "lime"]
    })",
                             {1000, 400});
    QVERIFY(panel);
    auto* graph = graphIn<CrossoverGraphItem>(panel);
    QVERIFY(graph);
    QSignalSpy repainted(graph, &CrossoverGraphItem::repainted);
    // At 750 Hz the first way is still near 0 dB: filled red from the 0 dB line down.
    QTRY_VERIFY(near(frame().pixel(540, 120), over(Qt::red), 30));

    // The first way's low-pass handle (1 kHz, on the 0 dB line) dragged to half the width.
    const int handleX = int(1000 * std::log(1000.0 / 16) / std::log(1250.0) + 0.5);
    const int handleY = int(20 * (400 - 11) / 80.0);
    const int skip = m_processor.received().size();
    drag({handleX, handleY}, {500, handleY});
    const QString lpPath = LinkedProcessor::path("Crossover", "Band_1_LPFrequency");
    QVERIFY(
        QTest::qWaitFor([&] { return !m_processor.received().mid(skip).filter(lpPath).isEmpty(); },
                        qx8test::timeoutMs()));
    const QString line = m_processor.received().mid(skip).filter(lpPath).last();
    const double written = line.section('"', 3, 3).toDouble();
    QVERIFY2(qAbs(written - 565.685) < 6, qPrintable(line));
    // The device reports it and the curve follows: at 750 Hz the way is now well down.
    QTRY_VERIFY(!near(frame().pixel(540, 120), over(Qt::red), 30));
    QVERIFY(repainted.count() > 0);
}

void TestGraphPanels::nuqPanelFollowsDevice()
{
    QVERIFY(m_processor.set("Nuq", "Band_1_Frequency", "1kHz"));
    QVERIFY(m_processor.set("Nuq", "Band_1_Q", "1"));
    QVERIFY(m_processor.set("Nuq", "Band_1_Gain", "-20"));
    QQuickItem* panel = show(R"(Column {
        QX8GraphNuq {
            width: 600; height: 200; poName: "Nuq"; bandCount: 12
            bandColors: ["#E341B5", "#1AAD84", "#2E5FFB", "#FC5F2D", "#00A8FF", "#E53D53",
                         "#FDC23E", "#65B94C", "#24D3FD", "#E154FC", "#FF8E20", "#A055FB"]
        }
        CustomNuqFilterInfo {
            objectName: "info"; width: 600; height: 30
            processingObjectName: "Nuq"; bandName: "Band_1"; filterName: "1"
            filterNameColor: "#E341B5"
        }
    })",
                             {600, 230});
    QVERIFY(panel);
    // The -20 dB notch reaches the bottom of the graph at 1 kHz.
    const int notchX = int(600 * std::log10(1000.0 / 20) / 3);
    QTRY_VERIFY(columnHas(frame(), notchX, 190, 197, over(QColor("#E341B5"))));
    QObject* info = panel->findChild<QObject*>("info");
    QVERIFY(info);
    QTRY_COMPARE(info->property("valueFc").toString(), QStringLiteral("1.00 kHz"));
    QCOMPARE(info->property("valueGain").toString(), QStringLiteral("-20.0 dB"));
    QCOMPARE(info->property("valueMode").toString(), QStringLiteral("LIVE"));

    // The front panel moves the filter down to 200 Hz: the notch follows.
    QVERIFY(m_processor.set("Nuq", "Band_1_Frequency", "200"));
    const int movedX = int(600 * std::log10(200.0 / 20) / 3);
    QTRY_VERIFY(columnHas(frame(), movedX, 190, 197, over(QColor("#E341B5"))));
    QVERIFY(!columnHas(frame(), notchX, 150, 197, over(QColor("#E341B5"))));
    QCOMPARE(info->property("valueFc").toString(), QStringLiteral("200 Hz"));
}

void TestGraphPanels::cleanupTestCase()
{
    m_processor.stop();
}

QTEST_MAIN(TestGraphPanels)
#include "tst_graphpanels.moc"
