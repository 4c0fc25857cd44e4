// Every QML wrapper of the bound controls in an offscreen window against VirtualQX8: dragged,
// typed into and clicked like a user would.
#include "customcombobox.h"
#include "devicemodelprovider.h"
#include "fader.h"
#include "qx8button.h"
#include "qx8exclusivegroup.h"
#include "qx8label.h"
#include "qx8led.h"
#include "qx8meter.h"
#include "qx8numericalsv.h"
#include "qx8slider.h"
#include "qx8textfield.h"
#include "qx8textsv.h"
#include "testmain.h"
#include "tst_controlfixture.h"

#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickView>
#include <memory>

namespace {

template<typename T> void registerType(const char* name)
{
    qmlRegisterType<T>(name, 1, 0, name);
}

} // namespace

// Stands in for the application's data store: the range lists of the nudge buttons.
class RangeStore : public QObject
{
    Q_OBJECT

public:
    Q_INVOKABLE QString getJsonArray(const QString& poClass, const QString& svClass) const
    {
        if (poClass == "EQ" && svClass == "Frequency")
            return R"([{"low":20,"high":100,"range":"0"},{"low":100,"high":1000,"range":"1"},)"
                   R"({"low":1000,"high":10000,"range":"2"},{"low":10000,"high":22000,)"
                   R"("range":"3"}])";
        return "[]";
    }
};

class TestQmlControls : public QObject
{
    Q_OBJECT

private:
    LoggedInDevice* m_device = nullptr;
    std::unique_ptr<QObject> m_helpers;

    // The screens' scale helper (qrc:/qml/Scales.js), callable from here.
    QObject* helpers()
    {
        if (!m_helpers) {
            QQmlComponent component(m_view->engine());
            component.setData("import QtQml 2.15\n"
                              "import \"qrc:/qml/Scales.js\" as Scales\n"
                              "QtObject {\n"
                              "    function taper(low, high) { return Scales.taper(low, high) }\n"
                              "}\n",
                              QUrl());
            m_helpers.reset(component.create());
        }
        return m_helpers.get();
    }
    RangeStore m_store;
    std::unique_ptr<QQuickView> m_view;

    // A component of the screens made from `qml`, laid on the page.
    std::unique_ptr<QQuickItem> made(const QByteArray& qml)
    {
        QQmlComponent component(m_view->engine());
        component.setData("import QtQuick 2.15\nimport \"qrc:/qml/\"\n" + qml,
                          QUrl("qrc:/qml/UnderTest.qml"));
        std::unique_ptr<QQuickItem> made(qobject_cast<QQuickItem*>(component.create()));
        if (!made)
            qWarning("%s", qPrintable(component.errorString()));
        else
            made->setParentItem(m_view->rootObject());
        return made;
    }
    static QByteArray assignment(int channel)
    {
        return "svName: \"Node\\\\SetupWizardCurrentChoices\\\\SV\\\\Channel_" +
               QByteArray::number(channel) + "_OrvellinkInputAssignment\"\n";
    }

    QQuickItem* item(const char* name)
    {
        return m_view->rootObject()->findChild<QQuickItem*>(name);
    }
    template<typename T> T* backendOf(QQuickItem* wrapper)
    {
        return qvariant_cast<T*>(wrapper->property("backend"));
    }
    QPoint at(QQuickItem* target, qreal xShare = 0.5, qreal yShare = 0.5)
    {
        return target->mapToScene(QPointF(target->width() * xShare, target->height() * yShare))
            .toPoint();
    }
    void click(QQuickItem* target)
    {
        QTest::mouseClick(m_view.get(), Qt::LeftButton, {}, at(target));
    }
    // Drags from one point to another in small steps, as a hand would.
    void drag(const QPoint& from, const QPoint& to)
    {
        QTest::mousePress(m_view.get(), Qt::LeftButton, {}, from);
        for (int step = 1; step <= 20; ++step) {
            QTest::mouseMove(m_view.get(), from + (to - from) * step / 20);
            QTest::qWait(10);
        }
        QTest::mouseRelease(m_view.get(), Qt::LeftButton, {}, to);
    }

private Q_SLOTS:
    void initTestCase()
    {
        registerType<QX8Slider>("QX8Slider");
        registerType<Fader>("Fader");
        registerType<QX8Label>("QX8Label");
        registerType<QX8TextField>("QX8TextField");
        registerType<CustomComboBox>("CustomComboBox");
        registerType<QX8ExclusiveGroup>("QX8ExclusiveGroup");
        registerType<QX8Meter>("QX8Meter");
        registerType<QX8LED>("QX8LED");
        registerType<QX8Button>("QX8Button");
        registerType<QX8NumericalSV>("QX8NumericalSV");
        registerType<QX8TextSV>("QX8TextSV");
        qmlRegisterSingletonType<DeviceModelProvider>(
            "DeviceModelProvider", 1, 0, "DeviceModelProvider",
            [](QQmlEngine*, QJSEngine*) -> QObject* { return new DeviceModelProvider; });
        m_device = new LoggedInDevice;
        QVERIFY(m_device->start());

        m_view = std::make_unique<QQuickView>();
        m_view->rootContext()->setContextProperty("dataStore", &m_store);
        m_view->setSource(
            QUrl::fromLocalFile(qx8test::sourceDir() + "/tests/link/qml/ControlsPage.qml"));
        QCOMPARE(m_view->status(), QQuickView::Ready);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        QTRY_COMPARE(backendOf<QX8Label>(item("label"))->labelValue(), QString("1:2"));
    }
    void init() { m_device->clearSent(); }
    void cleanupTestCase()
    {
        m_helpers.reset();
        m_view.reset();
        delete m_device;
    }

    void sliderDrag()
    {
        QQuickItem* slider = item("slider");
        QTRY_COMPARE(slider->property("value").toDouble(), 75.0);
        drag(at(slider, 0.75), at(slider, 0.2));
        const QString set = requestLine("set", "Crossover", "Band_1_Gain", "%");
        QTRY_VERIFY(!m_device->received(set).isEmpty());
        QTest::qWait(100);
        const QList<SentLine> sets = m_device->sent(set);
        QVERIFY(sets.size() >= 2);
        for (int i = 1; i < sets.size(); ++i)
            QVERIFY(sets.at(i).atMs - sets.at(i - 1).atMs >= QX8Slider::kThrottleMs - 5);
        const double shown = slider->property("value").toDouble();
        QVERIFY2(shown > 10 && shown < 30, qPrintable(QString::number(shown)));
        QTRY_COMPARE(m_device->value("Crossover", "Band_1_Gain", "%"),
                     "ok " + QString::number(backendOf<QX8Slider>(slider)->stringProperty()) + '%');
    }

    void faderDrag()
    {
        QQuickItem* fader = item("fader");
        QTRY_COMPARE(fader->property("value").toDouble(), 75.0);
        drag(at(fader, 0.5, 0.25), at(fader, 0.5, 0.6));
        const QString set = requestLine("set", "Crossover", "Band_2_Gain");
        QTRY_VERIFY(!m_device->received(set).isEmpty());
        QTest::qWait(100);
        const double shown = fader->property("value").toDouble();
        QVERIFY2(shown > 20 && shown < 60, qPrintable(QString::number(shown)));
        const double written = m_device->sentLines(set).last().section('"', 3, 3).toDouble();
        QCOMPARE(backendOf<Fader>(fader)->positionForValue(written).value_or(-1), shown);
    }

    void metersAndLedMove()
    {
        QX8Meter* meter = backendOf<QX8Meter>(item("meter"));
        QSignalSpy moved(meter, &QX8Meter::meterValueChanged);
        QQuickItem* markers = item("meterAndMarkers");
        QX8Meter* second =
            backendOf<QX8Meter>(qvariant_cast<QQuickItem*>(markers->property("meter")));
        QSignalSpy secondMoved(second, &QX8Meter::meterValueChanged);
        QQuickItem* led = item("led");
        QSignalSpy lit(backendOf<QX8LED>(led), &QX8LED::valueChanged);
        QTRY_VERIFY_WITH_TIMEOUT(moved.size() >= 3 && secondMoved.size() >= 3 && lit.size() >= 2,
                                 qx8test::timeoutMs());
        QCOMPARE(item("meter")->property("fillPercent").toDouble(), meter->meterValue().toDouble());
        QCOMPARE(led->property("lit").toBool(), backendOf<QX8LED>(led)->value() == "On");
    }

    void buttonsClick()
    {
        QQuickItem* toggle = item("svButton");
        QVERIFY(!toggle->property("checked").toBool());
        click(toggle);
        QVERIFY(m_device->device.waitForReceived(
            requestLine("set", "OutputGains", "Channel_1_Mute") + " \"1\""));
        QTRY_VERIFY(toggle->property("checked").toBool());
        QCOMPARE(toggle->property("text").toString(), QString("ON"));

        click(qvariant_cast<QQuickItem*>(item("outputMute")->property("muteButton")));
        QVERIFY(m_device->device.waitForReceived(
            requestLine("set", "OutputGains", "Channel_2_Mute") + " \"1\""));
        m_device->clearSent();
        click(item("muteAll"));
        QTRY_COMPARE(m_device->sentLines("set").size(), 4);
        QTRY_COMPARE(m_device->value("OutputGains", "Channel_4_Mute"), QString("ok On"));
    }

    void textFieldTyping()
    {
        QQuickItem* field = item("textField");
        // The number in the field, its unit apart beside it.
        QTRY_COMPARE(field->property("text").toString(), QString("2.50"));
        QCOMPARE(field->property("unit").toString(), QString("ms"));
        click(field);
        QTRY_VERIFY(field->hasActiveFocus());
        QTest::keyClick(m_view.get(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(m_view.get(), Qt::Key_2);
        QTest::keyClick(m_view.get(), Qt::Key_5);
        QTest::keyClick(m_view.get(), Qt::Key_Return);
        QVERIFY(m_device->device.waitForReceived(requestLine("set", "HighDelay", "Amount") +
                                                 " \"25ms\""));
        field->setFocus(false);
        m_view->contentItem()->forceActiveFocus();
        QTRY_COMPARE(field->property("text").toString(), QString("25.00"));
        QCOMPARE(m_device->sentLines("set").size(), 1);
    }

    void exclusiveGroupClicks()
    {
        QQuickItem* bell = item("bellMember");
        QQuickItem* shelf = item("shelfMember");
        QTRY_VERIFY(bell->property("checked").toBool());
        click(shelf);
        QVERIFY(m_device->device.waitForReceived(requestLine("set", "RoomEQ", "Band_3_Type") +
                                                 " \"High Shelf\""));
        QTRY_VERIFY(shelf->property("checked").toBool());
        QVERIFY(!bell->property("checked").toBool());
        QCOMPARE(m_device->value("RoomEQ", "Band_3_Type"), QString("ok High Shelf"));
    }

    // Held against a slow device, a nudge button steps once per answer: never two steps in
    // flight, never closer than the minimum repeat, and nothing after the release.
    void nudgeHeldAgainstSlowDevice_data()
    {
        QTest::addColumn<int>("delayMs");
        QTest::newRow("prompt device") << 0;
        QTest::newRow("slow device") << 300;
    }
    void nudgeHeldAgainstSlowDevice()
    {
        QFETCH(int, delayMs);
        QQuickItem* panel = item("superSlider");
        QObject* inner = qvariant_cast<QObject*>(panel->property("superSlider"));
        QQuickItem* up = qvariant_cast<QQuickItem*>(inner->property("nudgeUp"));
        QX8Button* button = backendOf<QX8Button>(up);
        QTRY_VERIFY(button->valueToNudge() >= 1000.0f);
        const float start = button->valueToNudge();
        QCOMPARE(m_device->device.command("fault delay=" + QString::number(delayMs)),
                 QString("ok"));
        const QString set = requestLine("set", "RoomEQ", "Band_9_Frequency");
        QTest::mousePress(m_view.get(), Qt::LeftButton, {}, at(up));
        QTest::qWait(1500);
        QTest::mouseRelease(m_view.get(), Qt::LeftButton, {}, at(up));
        const int atRelease = m_device->sent(set).size();
        QTest::qWait(delayMs + 300);
        QCOMPARE(m_device->device.command("fault delay=0"), QString("ok"));
        const QList<SentLine> sets = m_device->sent(set);
        QVERIFY(sets.size() - atRelease <= 1);
        const int most = 1500 / qMax(80, delayMs) + 2;
        QVERIFY2(sets.size() >= 3 && sets.size() <= most, qPrintable(QString::number(sets.size())));
        for (int i = 1; i < sets.size(); ++i) {
            const qint64 gap = sets.at(i).atMs - sets.at(i - 1).atMs;
            // Arrival times: a line held up on a busy machine arrives closer to the next one.
            QVERIFY2(gap >= qMax(60, delayMs - 20), qPrintable(QString::number(gap)));
            QVERIFY(sets.at(i).line != sets.at(i - 1).line);
        }
        QTRY_COMPARE(m_device->value("RoomEQ", "Band_9_Frequency"),
                     "ok " + QString::number(button->valueToNudge() / 1000.0, 'g', 6) + "kHz");
        QVERIFY(button->valueToNudge() > start);
        QVERIFY(inner->property("currentValue").toString().endsWith("kHz"));
    }

    // How a value text reads: number and unit apart, the number at the variable's resolution
    // in the device model with all its decimals (so that it keeps its width), a word as it
    // comes.
    void valueTextSplits_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("parts");
        // Row, object, variable, text, number part, unit part.
        const char* const rows[][6] = {
            {"kilohertz", "RoomEQ", "Band_1_Frequency", "1.25kHz", "1.25", "kHz"},
            {"hertz", "RoomEQ", "Band_1_Frequency", "80Hz", "80.0", "Hz"},
            {"decibels", "HighPEQ", "Band_1_Gain", "-3.5dB", "-3.5", "dB"},
            {"ratio", "Compressor", "Ratio", "Inf:1", "Inf", ":1"},
            {"degrees", "Crossover", "Band_1_Phase", "90 deg", "90", "deg"},
            {"word", "Nuq", "HighPass", "Off", "Off", ""},
            {"prefix", "Gate", "Ratio", "1:2", "1:2.0", ""},
            {"ratio at its tenth", "Compressor", "Ratio", "4:1", "4.0", ":1"},
            {"whole decibels", "HighPEQ", "Band_1_Gain", "6dB", "6.0", "dB"},
            {"unit alone", "HighPEQ", "Band_1_Gain", "dB", "dB", ""},
            {"tenth of a dB", "StereoMixer", "Input_2_Gain", "-7.97559dB", "-8.0", "dB"},
            {"hertz below 1 kHz", "HighPEQ", "Band_1_Frequency", "111.978Hz", "112", "Hz"},
            {"tenth of a hertz below 100", "HighPEQ", "Band_1_Frequency", "85.33Hz", "85.3", "Hz"},
            {"hundredth of a kHz", "HighPEQ", "Band_1_Frequency", "1.89908kHz", "1.90", "kHz"},
            {"up into kHz", "HighPEQ", "Band_1_Frequency", "999.7Hz", "1.00", "kHz"},
            {"Q below 1", "HighPEQ", "Band_1_Q", "0.70711", "0.707", ""},
            {"no minus zero", "HighPEQ", "Band_1_Gain", "-0.04dB", "0.0", "dB"},
            {"hundredth of a ms", "Gate", "Attack", "1.234ms", "1.23", "ms"},
            {"clock", "Nuq", "LiftTime", "1m 30s", "1m 30s", ""},
            {"several units", "HighDelay", "Amount", "2.50ms/2.81ft/0.86m", "2.50ms/2.81ft/0.86m",
             ""},
            {"not in the model", "Nowhere", "Level", "1.23456dB", "1.23456dB", ""},
        };
        for (const auto& [row, object, variable, text, number, unitPart] : rows)
            QTest::newRow(row) << QString(object) << QString(variable) << QString(text)
                               << QStringList{number, unitPart};
    }
    void valueTextSplits()
    {
        QFETCH(QString, object);
        QFETCH(QString, variable);
        QFETCH(QString, text);
        QFETCH(QStringList, parts);
        QCOMPARE(DeviceModelProvider().readout(object, variable, text), parts);
    }

    // The value a cell is sized for: the widest its variable can read, as the read-out shows it;
    // nothing for a variable whose values show as they come.
    void widestReadout_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QStringList>("parts");
        // Row, object, variable, number part, unit part.
        const char* const rows[][5] = {
            {"top of the range in kHz", "HighPEQ", "Band_1_Frequency", "22.00", "kHz"},
            {"longest time", "HighLimiter", "Release", "360.00", "ms"},
            {"negative end", "Compressor", "Threshold", "-60.0", "dB"},
            {"number below an end in words", "Gate", "MaxAttenuation", "199.9", "dB"},
            {"ratio below infinity", "Compressor", "Ratio", "99.9", ":1"},
            {"number above an end in words", "Crossover", "Band_1_HPFrequency", "20.10", "kHz"},
            {"prefix", "Gate", "Ratio", "1:15.0", ""},
            {"finest step below its change", "HighPEQ", "Band_1_Q", "0.100", ""},
        };
        for (const auto& [row, object, variable, number, unitPart] : rows)
            QTest::newRow(row) << QString(object) << QString(variable)
                               << QStringList{number, unitPart};
        QTest::newRow("clock") << "Nuq"
                               << "LiftTime" << QStringList();
        QTest::newRow("several units") << "HighDelay"
                                       << "Amount" << QStringList();
        QTest::newRow("choice") << "Crossover"
                                << "Band_1_HPType" << QStringList();
        QTest::newRow("not in the model") << "Nowhere"
                                          << "Level" << QStringList();
    }
    void widestReadout()
    {
        QFETCH(QString, object);
        QFETCH(QString, variable);
        QFETCH(QStringList, parts);
        QCOMPARE(DeviceModelProvider().widestReadout(object, variable), parts);
    }

    // A fader's or meter's taper over a dB range: from end to end, ascending, the travel shared
    // out in full, and a dB near 0 given more travel than one deep down.
    void taperOverRange_data()
    {
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::newRow("fader") << -80.0 << 10.0;
        QTest::newRow("meter") << -80.0 << 6.0;
        QTest::newRow("trim") << -30.0 << 0.0;
    }
    void taperOverRange()
    {
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        QVariant result;
        QVERIFY(QMetaObject::invokeMethod(helpers(), "taper", Q_RETURN_ARG(QVariant, result),
                                          Q_ARG(QVariant, minimum), Q_ARG(QVariant, maximum)));
        const QVariantMap taper = result.toMap();
        const QVariantList bounds = taper.value("boundaries").toList();
        const QVariantList lengths = taper.value("lengths").toList();
        QCOMPARE(bounds.first().toDouble(), minimum);
        QCOMPARE(bounds.last().toDouble(), maximum);
        QCOMPARE(lengths.size(), bounds.size() - 1);
        double sum = 0;
        for (int i = 0; i < lengths.size(); ++i) {
            QVERIFY(bounds.at(i + 1).toDouble() - bounds.at(i).toDouble() > 3);
            QVERIFY(lengths.at(i).toDouble() > 0);
            sum += lengths.at(i).toDouble();
        }
        QVERIFY(qAbs(sum - 100) < 1e-6);
        auto perDb = [&](int i) {
            return lengths.at(i).toDouble() /
                   (bounds.at(i + 1).toDouble() - bounds.at(i).toDouble());
        };
        QVERIFY(perDb(lengths.size() - 1) > perDb(0));
    }

    // The labels of a meter's dB scale never stand on one another, whatever the meter's height
    // ("-50" once touched "-60" on a meter a little taller than the usual).
    void scaleLabelsStandApart()
    {
        QQuickItem* meter = item("meterAndMarkers");
        const qreal usualHeight = meter->height();
        const QList<QQuickItem*> parts = meter->childItems();
        const auto scale = std::find_if(parts.cbegin(), parts.cend(), [](const QQuickItem* part) {
            return QByteArray(part->metaObject()->className()).startsWith("ScaleMarkerArea");
        });
        QVERIFY(scale != parts.cend());
        for (int height = 120; height <= 800; height += 5) {
            meter->setHeight(height);
            QList<QQuickItem*> labels;
            for (QQuickItem* label : (*scale)->childItems()) {
                if (label->inherits("QQuickText") && label->isVisible())
                    labels.append(label);
            }
            QVERIFY(labels.size() >= 2);
            std::sort(labels.begin(), labels.end(),
                      [](const QQuickItem* a, const QQuickItem* b) { return a->y() < b->y(); });
            for (int i = 1; i < labels.size(); ++i) {
                const QQuickItem* above = labels.at(i - 1);
                QVERIFY2(labels.at(i)->y() >= above->y() + above->height(),
                         qPrintable(QStringLiteral("%1 on %2 at %3 px")
                                        .arg(labels.at(i)->property("text").toString(),
                                             above->property("text").toString())
                                        .arg(height)));
            }
        }
        meter->setHeight(usualHeight);
    }

    // A spin box's step buttons in a row on both sides of the number, or stacked at its right
    // end; its limits are the variable's range on the device.
    void spinBoxLaysOutItsButtons_data()
    {
        QTest::addColumn<bool>("inRow");
        // Row, layoutInRow, then x, y, height of the down button and of the up button in a
        // 200 x 40 spin box.
        QTest::addColumn<QList<int>>("down");
        QTest::addColumn<QList<int>>("up");
        QTest::newRow("in a row") << true << QList<int>{0, 0, 40} << QList<int>{160, 0, 40};
        QTest::newRow("stacked") << false << QList<int>{160, 20, 20} << QList<int>{160, 0, 20};
    }
    void spinBoxLaysOutItsButtons()
    {
        QFETCH(bool, inRow);
        QFETCH(QList<int>, down);
        QFETCH(QList<int>, up);
        const std::unique_ptr<QQuickItem> box =
            made("CustomSpinBox { width: 200; height: 40; layoutInRow: " +
                 QByteArray(inRow ? "true" : "false") + '\n' + assignment(2) + '}');
        QVERIFY(box);
        QTRY_COMPARE(box->property("to").toInt(), 64);
        QCOMPARE(box->property("from").toInt(), 1);
        QTRY_COMPARE(box->property("value").toInt(), 2);
        const auto geometry = [&box](const char* name) {
            const QQuickItem* indicator = box->findChild<QQuickItem*>(name);
            return indicator ? QList<int>{int(indicator->x()), int(indicator->y()),
                                          int(indicator->height())}
                             : QList<int>();
        };
        QCOMPARE(geometry("downIndicator"), down);
        QCOMPARE(geometry("upIndicator"), up);
    }

    // An editable combo box offers the whole numbers of the device's range when asked to, before
    // the items appended.
    void comboBoxOffersTheDeviceRange_data()
    {
        QTest::addColumn<bool>("useRange");
        QTest::newRow("the device's range") << true;
        QTest::newRow("its own items only") << false;
    }
    void comboBoxOffersTheDeviceRange()
    {
        QFETCH(bool, useRange);
        const std::unique_ptr<QQuickItem> box =
            made("EditableComboBox { appended: [\"Mic\"]; useMinMaxRange: " +
                 QByteArray(useRange ? "true" : "false") + '\n' + assignment(3) + '}');
        QVERIFY(box);
        QStringList expected;
        for (int n = 1; useRange && n <= 64; ++n)
            expected << QString::number(n);
        expected << "Mic";
        QTRY_COMPARE(QQmlProperty::read(box.get(), "model").toStringList(), expected);
        QTRY_COMPARE(box->property("editText").toString(), QString("3"));
    }

    void outputFaderAndDelayStrip()
    {
        QQuickItem* outputFader = item("outputFader");
        QQuickItem* fader = qvariant_cast<QQuickItem*>(outputFader->property("fader"));
        QTRY_VERIFY(fader->property("value").toDouble() > 0);
        drag(at(fader, 0.5, 0.3), at(fader, 0.5, 0.5));
        QTRY_VERIFY(
            !m_device->received(requestLine("set", "OutputGains", "Channel_3_Gain")).isEmpty());

        // One field per unit of the device model, feet second.
        QObject* delay = qvariant_cast<QObject*>(item("delayStrip")->property("alignmentDelay"));
        QObject* units = qvariant_cast<QObject*>(delay->property("items"));
        QQuickItem* feetItem = nullptr;
        QVERIFY(QMetaObject::invokeMethod(units, "itemAt", Q_RETURN_ARG(QQuickItem*, feetItem),
                                          Q_ARG(int, 1)));
        QVERIFY(feetItem);
        QQuickItem* feet = qvariant_cast<QQuickItem*>(feetItem->property("textField"));
        QTRY_COMPARE(feet->property("text").toString(), QString("2.81"));
        QCOMPARE(feet->property("unit").toString(), QString("ft"));
    }
};

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    TestQmlControls test;
    return qx8test::exec(&test, argc, argv);
}
#include "tst_qml_controls.moc"
