// Bound controls against the virtual processor: what they send (its wire log and subscription
// ledger) and what they take from its replies.
#include "appbusyflag.h"
#include "processingobjectlist.h"
#include "qx8enumsv.h"
#include "qx8numericalsv.h"
#include "qx8settings.h"
#include "qx8textsv.h"
#include "settingskeys.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "testmain.h"
#include "virtualprocessor.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

QString bs(const char* text)
{
    return QString::fromUtf8(text).replace('/', '\\');
}

// A control as code creates one: names, then completion.
template<typename Control>
std::unique_ptr<Control> bind(const QString& po, const QString& sv, const QString& type = {})
{
    auto control = std::make_unique<Control>();
    control->setValueType(type);
    control->setPOName(po);
    control->setSVName(sv);
    control->componentCompleted();
    return control;
}

} // namespace

class TestBoundControls : public QObject
{
    Q_OBJECT

private:
    VirtualProcessor device;
    TCPAdaptor* link = TCPAdaptor::instance();

    int countReceived(const QString& line) const { return device.received().count(line); }

    // Waits until every earlier request has reached the device: a get is answered in order.
    void settle()
    {
        const QString probe = bs("get \"//Node/SV/HardwareVersion/\"");
        const int before = countReceived(probe);
        link->SendRequest({"NPO", "Node\\SV\\HardwareVersion", "", "", "get"});
        QTRY_COMPARE(countReceived(probe), before + 1);
    }

    void logIn()
    {
        QSignalSpy ready(link, &TCPAdaptor::vimbalReady);
        link->doConnect();
        QTRY_COMPARE_WITH_TIMEOUT(ready.size(), 1, qx8test::timeoutMs());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(device.start());
        QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, device.address());
        QX8Settings().setValue(settingskeys::kCurrentDevicePassword, "quillrampstow");
        logIn();
    }

    void subscribesWhenNamedAndOnEveryLogin()
    {
        auto threshold = bind<QX8NumericalSV>("Compressor", "Threshold");
        QTRY_COMPARE(threshold->value(), -20.0f);
        const QString sub = bs("sub \"//Preset/Compressor/SV/Threshold/\"");
        // Naming and completion both ask; the second joins the first on its way.
        QCOMPARE(countReceived(sub), 1);

        QSignalSpy lost(threshold.get(), &QX8Control::connectionLost);
        QTest::ignoreMessage(QtWarningMsg,
                             "Error code: 1, Error String: The remote host closed the connection");
        device.command("abort");
        QTRY_COMPARE(lost.size(), 1);
        QVERIFY(!threshold->connectionAvailable());
        logIn();
        QTRY_COMPARE(countReceived(sub), 2);
        QTRY_VERIFY(
            device.command("subscriptions").contains(bs("//Preset/Compressor/SV/Threshold/")));
    }

    void namedBeforeLoginWaitsForReady()
    {
        link->doDisconnect();
        QTRY_VERIFY(!link->Ready());
        auto gain = bind<QX8NumericalSV>("Compressor", "Gain");
        const QString sub = bs("sub \"//Preset/Compressor/SV/Gain/\"");
        logIn();
        QTRY_COMPARE(countReceived(sub), 1);
        QTRY_COMPARE(gain->value(), 3.0f);
    }

    void repliesMatchNamesAndValueType()
    {
        auto native = bind<QX8NumericalSV>("Compressor", "Ratio");
        auto percent = bind<QX8NumericalSV>("Compressor", "Ratio", "%");
        auto other = bind<QX8NumericalSV>("Compressor", "OverEasy");
        QTRY_COMPARE(native->value(), 4.0f);
        QTRY_COMPARE(other->value(), 4.0f);
        QTRY_VERIFY(qAbs(percent->value() - 3.0303f) < 1e-3f);
        QVERIFY(native->hasDeviceValue() && percent->hasDeviceValue() && other->hasDeviceValue());

        QSignalSpy otherChanged(other.get(), &QX8NumericalSV::valueChanged);
        QVERIFY(device.command(bs("set //Preset/Compressor/SV/Ratio/ 10")).startsWith("ok"));
        QTRY_COMPARE(native->value(), 10.0f);
        QTRY_VERIFY(qAbs(percent->value() - 9.09091f) < 1e-3f);
        QCOMPARE(otherChanged.size(), 0);
    }

    void throttledWriteSendsLatestChoice()
    {
        auto threshold = bind<QX8NumericalSV>("Compressor", "Threshold");
        QTRY_COMPARE(threshold->value(), -20.0f);
        const int setsBefore = device.received().filter("set ").size();
        QElapsedTimer clock;
        clock.start();
        for (int i = 1; i <= 10; ++i) {
            threshold->setValueWithoutFeedback(float(i) * -5);
            QTest::qWait(5);
        }
        // The value shown follows the device, not the gesture.
        QCOMPARE(threshold->value(), -20.0f);
        const QString expected = bs("set \"//Preset/Compressor/SV/Threshold/\" \"-50\"");
        QVERIFY(device.waitForReceived(expected));
        QVERIFY(clock.elapsed() >= QX8NumericalSV::kThrottleMs - 5);
        settle();
        QCOMPARE(device.received().filter("set ").size(), setsBefore + 1);
        QTRY_COMPARE(threshold->value(), -50.0f); // setr is not taken; the subr is

        // A return to the device's own value inside the window is what gets written.
        threshold->setValueWithoutFeedback(-3);
        threshold->setValueWithoutFeedback(-50);
        QTRY_COMPARE(device.received().count(expected), 2);
        QCOMPARE(device.received().filter("\"-3\"").size(), 0);

        // Non-finite values are never written; a value equal to the device's starts nothing.
        threshold->setValueWithoutFeedback(std::numeric_limits<float>::quiet_NaN());
        threshold->setValueWithoutFeedback(std::numeric_limits<float>::infinity());
        threshold->setValueWithoutFeedback(-50);
        QTest::qWait(QX8NumericalSV::kThrottleMs * 2);
        settle();
        QCOMPARE(device.received().filter("set ").size(), setsBefore + 2);
    }

    // Controls sharing a variable share its subscription: it ends with the last of them.
    void lastControlOfAVariableUnsubscribes()
    {
        auto first = bind<QX8TextSV>("NPO", "Node\\SV\\DeviceName");
        auto second = bind<QX8TextSV>("NPO", "Node\\SV\\DeviceName");
        QTRY_COMPARE(second->value(), QString("Virtual QX8"));
        settle();
        const QString sub = bs("sub \"//Node/SV/DeviceName/\"");
        const QString unsub = bs("unsub \"//Node/SV/DeviceName/\"");
        const int subsBefore = countReceived(sub);
        first.reset();
        settle();
        QCOMPARE(countReceived(unsub), 0);
        QCOMPARE(countReceived(sub), subsBefore);
        QVERIFY(device.command("subscriptions").contains(bs("//Node/SV/DeviceName/")));
        QVERIFY(device.command(bs("set //Node/SV/DeviceName/ Stage")).startsWith("ok"));
        QTRY_COMPARE(second->value(), QString("Stage"));
        second.reset();
        QVERIFY(device.waitForReceived(unsub));
        QTRY_VERIFY(!device.command("subscriptions").contains(bs("//Node/SV/DeviceName/")));
    }

    void unsubscribesInTheFormItSubscribed()
    {
        auto percent = bind<QX8NumericalSV>("Compressor", "Release", "%");
        QTRY_VERIFY(
            device.command("subscriptions").contains(bs("//Preset/Compressor/SV/Release/%")));
        percent.reset();
        QVERIFY(device.waitForReceived(bs("unsub \"//Preset/Compressor/SV/Release/%\"")));
        QTRY_VERIFY(!device.command("subscriptions").contains(bs("/Release/")));
    }

    void cancelledSubscriptionStaysCancelled()
    {
        auto state = bind<QX8TextSV>("NPO", "Node\\Wizard\\SV\\WizardState");
        QTRY_COMPARE(state->value(), QString("Inactive"));
        const QString sub = bs("sub \"//Node/Wizard/SV/WizardState/\"");
        const int subs = countReceived(sub);
        state->cancelSubscription();
        QVERIFY(device.waitForReceived(bs("unsub \"//Node/Wizard/SV/WizardState/\"")));
        QTest::qWait(200);
        settle();
        QCOMPARE(countReceived(sub), subs);
        QVERIFY(!device.command("subscriptions").contains("WizardState"));
        // Nor does the end of a busy period bring it back.
        AppBusyFlag::instance()->setBusy(true);
        AppBusyFlag::instance()->setBusy(false);
        settle();
        QCOMPARE(countReceived(sub), subs);

        // Restarted, it is kept up again: the device's end of it is answered with a new one.
        state->subscribe();
        QTRY_COMPARE(countReceived(sub), subs + 1);
        settle();
        const QString ended = bs("send unsubr \"//Node/Wizard/SV/WizardState/\"");
        QVERIFY(device.command(ended).startsWith("ok"));
        QTRY_COMPARE(countReceived(sub), subs + 2);
    }

    // An enumeration asked to subscribe again while logged out keeps that wish: it subscribes
    // at the next login.
    void enumerationRestartedWhileLoggedOutSubscribesAtLogin()
    {
        auto curve = bind<QX8EnumSV>("NPO", "Node\\Wizard\\SV\\TargetCurve");
        QTRY_COMPARE(curve->value(), QString("Recommended PA Curve"));
        const QString sub = bs("sub \"//Node/Wizard/SV/TargetCurve/\"");
        curve->cancelSubscription();
        QVERIFY(device.waitForReceived(bs("unsub \"//Node/Wizard/SV/TargetCurve/\"")));
        link->doDisconnect();
        QTRY_VERIFY(!link->isConnected());
        curve->subscribe();
        const int subs = countReceived(sub);
        logIn();
        QTRY_COMPARE(countReceived(sub), subs + 1);
        QTRY_VERIFY(device.command("subscriptions").contains("TargetCurve"));
    }

    void textWritesAndOneShotReads()
    {
        auto name = bind<QX8TextSV>("Presets", "Name_3");
        QTRY_VERIFY(countReceived(bs("sub \"//Storage/Presets/SV/Name_3/\"")) > 0);
        settle();
        name->setValue("Evening");
        QVERIFY(device.waitForReceived(bs("set \"//Storage/Presets/SV/Name_3/\" \"Evening\"")));
        QTRY_COMPARE(device.command(bs("value //Storage/Presets/SV/Name_3/")),
                     QString("ok Evening"));

        // Two reads before the answer send one asyncget; the answer is signalled although the
        // value did not change.
        QSignalSpy changed(name.get(), &QX8TextSV::valueChanged);
        const QString read = bs("asyncget \"//Storage/Presets/SV/Name_3/\"");
        name->requestValue();
        name->requestValue();
        QTRY_COMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QString("Evening"));
        QCOMPARE(countReceived(read), 1);

        // A read dropped while busy does not lock the object.
        AppBusyFlag::instance()->setBusy(true);
        name->requestValue();
        settle(); // the read reached the socket thread while busy, and was dropped there
        AppBusyFlag::instance()->setBusy(false);
        name->requestValue();
        QTRY_COMPARE(countReceived(read), 2);
    }

    void enumerationList_data()
    {
        QTest::addColumn<bool>("echoBackslash");
        QTest::newRow("device drops the closing backslash") << false;
        QTest::newRow("device echoes it") << true;
    }

    void enumerationList()
    {
        QFETCH(bool, echoBackslash);
        device.command(QString("fault lc-trailing-backslash ") + (echoBackslash ? "on" : "off"));
        auto curve = bind<QX8EnumSV>("NPO", "Node\\Wizard\\SV\\TargetCurve");
        QSignalSpy enumsChanged(curve.get(), &QX8EnumSV::enumsChanged);
        QTRY_COMPARE(curve->enums(),
                     QStringList({"Recommended PA Curve", "Flat", "Reflective Room"}));
        QTRY_COMPARE(curve->value(), QString("Recommended PA Curve"));
        QVERIFY(device.received().contains(bs("lc \"//Node/Wizard/SV/TargetCurve/EN/\"")));
        curve->requestEnums(); // the same list again changes nothing
        settle();
        QTest::qWait(100);
        QCOMPARE(enumsChanged.size(), 1);
        device.command("fault lc-trailing-backslash off");
    }

    void unboundControlTakesNothing()
    {
        QX8TextSV unbound;
        QX8NumericalSV meter;
        meter.setIsMeter(true);
        meter.setPOName("Compressor");
        meter.setSVName("Threshold");
        meter.componentCompleted();
        device.command(bs("send subr \"//Preset/A/\" \"stray\""));
        settle();
        QCOMPARE(unbound.value(), QString());
        QVERIFY(!unbound.hasDeviceValue());
        // Earlier tests subscribed this variable; the meter adds no subscription of its own.
        const int subs = countReceived(bs("sub \"//Preset/Compressor/SV/Threshold/\""));
        meter.setValueType("%");
        meter.componentCompleted();
        settle();
        QCOMPARE(countReceived(bs("sub \"//Preset/Compressor/SV/Threshold/%\"")), 0);
        QCOMPARE(countReceived(bs("sub \"//Preset/Compressor/SV/Threshold/\"")), subs);
    }

    void objectListNamesThePresetsObjects()
    {
        ProcessingObjectList objects;
        QVERIFY(device.waitForReceived(bs("ls \"//Preset/\"")));
        QTRY_VERIFY(objects.listed());
        QVERIFY(objects.contains("StereoGEQ") && objects.contains("HighPEQ"));
        QVERIFY(!objects.contains("LeftGEQ")); // an object the preset leaves out
        QVERIFY(!objects.names().contains("StereoGEQ : "));
    }

    // The settings are one shared file on disk.
    void cleanupTestCase()
    {
        link->doDisconnect(); // before the device ends with the test object
        QTRY_VERIFY(!link->isConnected());
        QVERIFY(QFile::exists(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Velmor/QX8Control.conf"));
        QX8Settings().clear();
        QVERIFY(!QX8Settings().contains(settingskeys::kCurrentDeviceAddress));
    }
};

QX8_TEST_GUILESS_MAIN(TestBoundControls)
#include "tst_boundcontrols.moc"
