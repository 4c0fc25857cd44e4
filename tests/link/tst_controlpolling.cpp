// Meters and clip LEDs polling VirtualQX8: their period, the pause of a busy period, one poll on
// its way at a time, the repeat of a refused poll, and the moving values they show.
#include "appbusyflag.h"
#include "qx8binaryled.h"
#include "qx8led.h"
#include "qx8meter.h"
#include "testmain.h"
#include "tst_controlfixture.h"

#include <QSet>
#include <memory>

namespace {

template<typename Control> std::unique_ptr<Control> pollOutput(const QString& sv)
{
    return boundControl<Control>("OutputMeters", sv);
}

const QString kLevel = QStringLiteral("Channel_%1_Level");
const QString kClip = QStringLiteral("Channel_%1_Clip");

QString outputPoll(const QString& sv)
{
    return "asyncget \"\\\\Preset\\OutputMeters\\SV\\" + sv + "\\\"";
}

} // namespace

class TestControlPolling : public QObject
{
    Q_OBJECT

private:
    LoggedInDevice* m_device = nullptr;

    // Gaps between consecutive polls of `sv` sent since the last clear.
    QList<qint64> gaps(const QString& sv) const
    {
        const QList<SentLine> polls = m_device->sent(outputPoll(sv));
        QList<qint64> result;
        for (int i = 1; i < polls.size(); ++i)
            result.append(polls.at(i).atMs - polls.at(i - 1).atMs);
        return result;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_device = new LoggedInDevice;
        QVERIFY(m_device->start());
    }
    void cleanupTestCase() { delete m_device; }
    void init() { m_device->clearSent(); }

    // Meter and clip LED poll at their pace, each after the answer to its last poll, and show
    // the moving values; they never subscribe, so there is nothing to unsubscribe.
    void meterAndLedPollAfterEachAnswer()
    {
        auto meter = pollOutput<QX8Meter>(kLevel.arg(1));
        meter->setRangeBounaryValues({-80, -40, 0, 6});
        meter->setRangeLengthsInPercentage({30, 60, 10});
        auto led = pollOutput<QX8LED>(kClip.arg(1));
        QSignalSpy lit(led.get(), &QX8LED::valueChanged);
        QSet<QString> shown;
        connect(meter.get(), &QX8Meter::meterValueChanged, this,
                [&](const QString& value) { shown.insert(value); });
        QTest::qWait(1200);
        for (const QString& sv : {kLevel.arg(1), kClip.arg(1)}) {
            const QList<qint64> between = gaps(sv);
            QVERIFY2(between.size() >= 6 && between.size() <= 12,
                     qPrintable(QString::number(between.size())));
            for (qint64 gap : between)
                QVERIFY2(gap >= PollCadence::kPeriodMs - 5 && gap < 3 * PollCadence::kPeriodMs,
                         qPrintable(QString::number(gap)));
        }
        QVERIFY2(shown.size() >= 4, qPrintable(QStringList(shown.values()).join(' ')));
        for (const QString& value : shown)
            QVERIFY(value.toDouble() >= 0 && value.toDouble() <= 100);
        QTRY_VERIFY_WITH_TIMEOUT(lit.size() >= 3, 3000);
        for (const QList<QVariant>& emission : lit)
            QVERIFY(emission.at(0) == "On" || emission.at(0) == "Off");
        meter.reset();
        led.reset();
        QTest::qWait(50);
        QVERIFY(m_device->received("sub \"\\\\Preset\\OutputMeters").isEmpty());
        QVERIFY(m_device->received("unsub \"\\\\Preset\\OutputMeters").isEmpty());
    }

    // While the application is busy nothing is polled; its end polls every meter and LED at once.
    void busyPeriodPausesPolling()
    {
        auto meter = pollOutput<QX8Meter>(kLevel.arg(2));
        auto led = pollOutput<QX8LED>(kClip.arg(2));
        QTest::qWait(300);
        AppBusyFlag::instance()->setBusy(true);
        QTest::qWait(2 * PollCadence::kPeriodMs);
        const int receivedBefore = m_device->received("asyncget").size();
        m_device->clearSent();
        QTest::qWait(1500);
        QCOMPARE(m_device->sentLines("asyncget"), QStringList());
        QCOMPARE(m_device->received("asyncget").size(), receivedBefore);

        const qint64 ended = m_device->now();
        AppBusyFlag::instance()->setBusy(false);
        QTRY_COMPARE(m_device->sent(outputPoll(kLevel.arg(2))).size() > 0 &&
                         m_device->sent(outputPoll(kClip.arg(2))).size() > 0,
                     true);
        QVERIFY(m_device->sent(outputPoll(kLevel.arg(2))).first().atMs - ended < 50);
        QVERIFY(m_device->sent(outputPoll(kClip.arg(2))).first().atMs - ended < 50);
        QTest::qWait(500);
        QVERIFY(m_device->sent(outputPoll(kClip.arg(2))).size() >= 3);
    }

    // A poll still on its way is never sent again, however long the device takes; the normal
    // pace resumes with its answer.
    void pollOnItsWayIsNotRepeated()
    {
        auto meter = pollOutput<QX8Meter>(kLevel.arg(3));
        auto led = pollOutput<QX8LED>(kClip.arg(3));
        QTest::qWait(300);
        QCOMPARE(m_device->device.command("fault freeze on"), QString("ok"));
        QTest::qWait(200);
        m_device->clearSent();
        QTest::qWait(2 * PollCadence::kTicksBeforeRepeat * PollCadence::kPeriodMs);
        QCOMPARE(m_device->sentLines(outputPoll(kLevel.arg(3))), QStringList());
        QCOMPARE(m_device->sentLines(outputPoll(kClip.arg(3))), QStringList());
        QCOMPARE(m_device->device.command("fault freeze off"), QString("ok"));
        QTest::qWait(500);
        m_device->clearSent();
        QTest::qWait(600);
        QVERIFY(m_device->sent(outputPoll(kLevel.arg(3))).size() >= 4);
        QVERIFY(m_device->sent(outputPoll(kClip.arg(3))).size() >= 4);
    }

    // A poll the device refuses is over without a value: it is repeated about a second later.
    void refusedPollIsRepeated()
    {
        auto meter = pollOutput<QX8Meter>("Channel_9_Level");
        QTest::qWait(300);
        m_device->clearSent();
        QTest::qWait(2600);
        const QList<qint64> between = gaps("Channel_9_Level");
        QVERIFY2(between.size() >= 1 && between.size() <= 3,
                 qPrintable(QString::number(between.size())));
        for (qint64 gap : between)
            QVERIFY2(gap >= 9 * PollCadence::kPeriodMs, qPrintable(QString::number(gap)));
    }

    void binaryLedFollowsOnAndOff()
    {
        QX8BinaryLED led;
        led.setPOName("OutputGains");
        led.setSVName("Channel_4_Mute");
        const QString set = "set \\\\Preset\\OutputGains\\SV\\Channel_4_Mute\\ ";
        QCOMPARE(m_device->device.command(set + "On"), QString("ok On"));
        QTRY_VERIFY(led.activeState());
        QCOMPARE(m_device->device.command(set + "0"), QString("ok Off"));
        QTRY_VERIFY(!led.activeState());
    }
};

QX8_TEST_GUILESS_MAIN(TestControlPolling)
#include "tst_controlpolling.moc"
