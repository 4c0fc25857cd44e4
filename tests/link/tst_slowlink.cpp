// The link over a slow console (VirtualQX8's console-rate and console-latency): a page loads at
// the pace of the link while meters poll, within a bounded window of requests; a drag ends with
// the device holding the last value; a page left before its answers leaves nothing subscribed;
// the watchdog tells a slow device from a silent one; a request the device ignores is given up,
// where a slow answer is waited for; quick nudges and on/off clicks each move on from the last
// value written, never pulled back by the answers to earlier writes; quick picks, selections,
// drags and switches end on the last on the device, shown from the gesture on, never turned
// back by an earlier answer nor written again from one; and writes the device refuses or
// ignores give way to its value. What travelled is read from the device's timed wire log.
#include "boundvariable.h"
#include "clientconnectionwatchdog.h"
#include "consolelinebuilder.h"
#include "customcombobox.h"
#include "fader.h"
#include "processingobjectlist.h"
#include "qx8button.h"
#include "qx8enumsv.h"
#include "qx8exclusivegroup.h"
#include "qx8label.h"
#include "qx8meter.h"
#include "qx8numericalsv.h"
#include "qx8slider.h"
#include "qx8textfield.h"
#include "qx8textsv.h"
#include "remoteconnectionwatchdog.h"
#include "testmain.h"
#include "tst_controlfixture.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

using Page = std::vector<std::unique_ptr<QX8NumericalSV>>;
using Meters = std::vector<std::unique_ptr<QX8Meter>>;

// The most requests the device may have unanswered from the link at once.
constexpr int kWindow = 32;

const QStringList kPageObjects = {"HighPEQ", "MidPEQ"};

// How long the cases on ignored requests let a request wait for its answer.
constexpr std::chrono::milliseconds kAnswerBound{1000};

// A page's worth of value objects: three parameters of eight bands on each equaliser.
Page openPage(const QStringList& objects = kPageObjects)
{
    Page page;
    for (const QString& object : objects) {
        for (int band = 1; band <= 8; ++band) {
            for (const QString parameter : {"Frequency", "Gain", "Q"}) {
                page.push_back(boundControl<QX8NumericalSV>(
                    object, QStringLiteral("Band_%1_%2").arg(band).arg(parameter)));
            }
        }
    }
    return page;
}

bool allShown(const Page& page)
{
    return std::all_of(page.begin(), page.end(),
                       [](const auto& value) { return value->hasDeviceValue(); });
}

Meters startMeters()
{
    Meters meters;
    for (int channel = 1; channel <= 6; ++channel)
        meters.push_back(boundControl<QX8Meter>("OutputMeters",
                                                QStringLiteral("Channel_%1_Level").arg(channel)));
    return meters;
}

QList<WireExchange> exchangesFrom(const VirtualProcessor& device, int fromEntry)
{
    QList<WireExchange> exchanges = device.exchanges();
    exchanges.erase(std::remove_if(exchanges.begin(), exchanges.end(),
                                   [&](const WireExchange& e) { return e.entry < fromEntry; }),
                    exchanges.end());
    return exchanges;
}

// The most polls of one variable the device had unanswered at once.
int mostPollsOfOneVariable(const QList<WireExchange>& exchanges)
{
    int most = 0;
    for (const WireExchange& poll : exchanges) {
        if (!poll.request.startsWith(QLatin1String("asyncget")))
            continue;
        const int open = int(std::count_if(exchanges.begin(), exchanges.end(), [&](const auto& e) {
            return e.request == poll.request && e.requestedMs <= poll.requestedMs &&
                   (e.answeredMs < 0 || e.answeredMs > poll.requestedMs);
        }));
        most = qMax(most, open);
    }
    return most;
}

// A slow link: the console's rate in bytes a second and its latency (0: none).
struct LinkRow
{
    const char* name;
    int rate;
    int latencyMs;
};

void addLinkRows(std::initializer_list<LinkRow> rows)
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("latencyMs");
    for (const LinkRow& row : rows)
        QTest::newRow(row.name) << row.rate << row.latencyMs;
}

// The input delay's amount in milliseconds, with its nudge ranges, as its page binds it.
const QString kDelay = QStringLiteral("InputDelay");
const QString kAmount = QStringLiteral("Amount");

std::unique_ptr<QX8Button> amountNudge()
{
    auto button = std::make_unique<QX8Button>();
    button->setButtonType(QX8Button::Nudge);
    button->setNudgeJsonData(R"([{"low":0,"high":1,"range":"0"},{"low":1,"high":10,"range":"1"},)"
                             R"({"low":10,"high":100,"range":"2"},)"
                             R"({"low":100,"high":1000,"range":"3"}])");
    button->setPOName(kDelay);
    button->setSVName(kAmount);
    button->componentCompleted();
    return button;
}

// True while a write to the amount awaits the device's answer.
bool amountWriteUnanswered()
{
    return TCPAdaptor::instance()
        ->requests()
        .unansweredWrite(ConsoleRequest::targetOf(kDelay, kAmount, QString()))
        .has_value();
}

qint64 answerBytes(const QList<WireExchange>& exchanges, const QString& prefix)
{
    qint64 bytes = 0;
    for (const WireExchange& exchange : exchanges) {
        if (exchange.request.startsWith(prefix))
            bytes += exchange.answerBytes;
    }
    return bytes;
}

// A control of the kind a row names ("combo box", "exclusive group", "slider", "fader" over
// -60 to 20 dB, or a "number" or "text" that shows what it writes), bound as a screen binds it.
std::unique_ptr<QX8Control> boundControlOfKind(const QString& kind, const QString& object,
                                               const QString& variable)
{
    std::unique_ptr<QX8Control> control;
    if (kind == QLatin1String("combo box")) {
        control = std::make_unique<CustomComboBox>();
    } else if (kind == QLatin1String("exclusive group")) {
        control = std::make_unique<QX8ExclusiveGroup>();
    } else if (kind == QLatin1String("slider")) {
        control = std::make_unique<QX8Slider>();
    } else if (kind == QLatin1String("fader")) {
        auto fader = std::make_unique<Fader>();
        fader->setMinimum(-60);
        fader->setMaximum(20);
        control = std::move(fader);
    } else if (kind == QLatin1String("number")) {
        auto number = std::make_unique<QX8NumericalSV>();
        number->setShowsWrites(true);
        control = std::move(number);
    } else {
        auto text = std::make_unique<QX8TextSV>();
        text->setShowsWrites(true);
        control = std::move(text);
    }
    control->setPOName(object);
    control->setSVName(variable);
    control->componentCompleted();
    return control;
}

// What a screen does with the control on the user's gesture towards `to`.
void changeOnScreen(QX8Control* control, const QString& to)
{
    if (auto* combo = qobject_cast<CustomComboBox*>(control))
        combo->setValueWithoutFeedback(to);
    else if (auto* group = qobject_cast<QX8ExclusiveGroup*>(control))
        group->setSelectedValue(to);
    else if (auto* slider = qobject_cast<QX8Slider*>(control))
        slider->setValueWithoutFeedback(to.toFloat());
    else if (auto* fader = qobject_cast<Fader*>(control))
        fader->setValueWithoutFeedback(to.toDouble());
    else if (auto* number = qobject_cast<QX8NumericalSV*>(control))
        number->setValueWithoutFeedback(to.toFloat());
    else
        control->setProperty("value", to);
}

} // namespace

class TestSlowLink : public QObject
{
    Q_OBJECT

private:
    LoggedInDevice* m_device = nullptr;

    VirtualProcessor& device() { return m_device->device; }
    int wireLogLength() { return device().timedWireLog().size(); }

    bool setAmount(float ms)
    {
        return device()
            .command(QStringLiteral("set \"%1\" %2")
                         .arg(ConsoleLineBuilder::pathBody(kDelay, kAmount))
                         .arg(double(ms)))
            .startsWith(QLatin1String("ok"));
    }
    // The amount the device holds, in milliseconds.
    float heldAmount()
    {
        return QX8Button::nudgeValueOf(m_device->value(kDelay, kAmount).mid(3), kDelay, kAmount)
            .value_or(-1.0f);
    }

    bool logIn()
    {
        QSignalSpy ready(TCPAdaptor::instance(), &TCPAdaptor::vimbalReady);
        TCPAdaptor::instance()->doConnect();
        return ready.wait(qx8test::timeoutMs()) || ready.size() > 0;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_device = new LoggedInDevice;
        QVERIFY(m_device->start());
    }
    void cleanupTestCase() { delete m_device; }

    // Every case leaves the link at full speed, logged in, with nothing waiting or travelling,
    // and requests waited for as long as in the application.
    void cleanup()
    {
        QCOMPARE(device().command("fault freeze off"), QString("ok"));
        QCOMPARE(device().command("fault ignore-command off"), QString("ok"));
        QVERIFY(device().setConsoleLink(0));
        if (!TCPAdaptor::instance()->Ready())
            QVERIFY(logIn());
        RequestWindow& requests = TCPAdaptor::instance()->requests();
        QTRY_VERIFY_WITH_TIMEOUT(requests.inFlight() <= 1 && requests.waiting() == 0,
                                 qx8test::timeoutMs());
        requests.setAnswerBound(RequestWindow::kAnswerBound);
    }

    void pageLoadsWhileMetersRun_data()
    {
        addLinkRows({{"2,000 B/s", 2000, 0},
                     {"20,000 B/s", 20000, 0},
                     {"300 ms late", 0, 300},
                     {"2,000 B/s, 200 ms late", 2000, 200}});
    }
    // The page's answers come at the pace of the link, not behind the meters': at most a few
    // polls share the link while the page loads, each meter with one poll on its way at most,
    // and never more than the window's requests unanswered.
    void pageLoadsWhileMetersRun()
    {
        QFETCH(int, rate);
        QFETCH(int, latencyMs);
        const Meters meters = startMeters();
        QTest::qWait(300);
        QVERIFY(device().setConsoleLink(rate, latencyMs));
        const int from = wireLogLength();
        QElapsedTimer clock;
        clock.start();
        const Page page = openPage();
        QTRY_VERIFY_WITH_TIMEOUT(allShown(page), 30000);
        const qint64 loadMs = clock.elapsed();
        const QList<WireExchange> exchanges = exchangesFrom(device(), from);

        const int mostInFlight = mostRequestsInFlight(exchanges);
        QVERIFY2(mostInFlight <= kWindow, qPrintable(QString::number(mostInFlight)));
        QCOMPARE(mostPollsOfOneVariable(exchanges), 1);
        if (rate > 0) {
            const qint64 floorMs = answerBytes(exchanges, "sub ") * 1000 / rate;
            QVERIFY2(loadMs <= 2 * floorMs + latencyMs + 500,
                     qPrintable(QString("%1 ms, floor %2 ms").arg(loadMs).arg(floorMs)));
        }
        // The meters kept going meanwhile.
        QTest::qWait(500 + 2 * latencyMs);
        for (const auto& meter : meters)
            QVERIFY(!meter->meterValue().isEmpty());
    }

    void dragEndsOnTheLastValue_data()
    {
        addLinkRows({{"2,000 B/s", 2000, 0},
                     {"300 ms late", 0, 300},
                     {"2,000 B/s, 200 ms late", 2000, 200}});
    }
    // A drag while a page loads and meters poll: the device ends on the last dragged value, and
    // the writes it got only ever move on with the drag (nothing older overtakes).
    void dragEndsOnTheLastValue()
    {
        QFETCH(int, rate);
        QFETCH(int, latencyMs);
        const Meters meters = startMeters();
        auto gain = boundControl<QX8NumericalSV>("LowPEQ", "Band_1_Gain");
        QTRY_VERIFY(gain->hasDeviceValue());
        QVERIFY(device().setConsoleLink(rate, latencyMs));
        const QString write = requestLine("set", "LowPEQ", "Band_1_Gain");
        const int from = m_device->received(write).size();
        const Page page = openPage();
        float dragged = -12.0f;
        for (int step = 0; step < 100; ++step, dragged += 0.1f) {
            gain->setValueWithoutFeedback(dragged);
            QTest::qWait(15);
        }
        const float last = dragged - 0.1f;

        // The last throttled write has gone out and been answered.
        QTest::qWait(2 * QX8NumericalSV::kThrottleMs);
        QTRY_VERIFY_WITH_TIMEOUT(!TCPAdaptor::instance()->requests().isPending(gain.get()), 30000);
        const QStringList writes = m_device->received(write).mid(from);
        QVERIFY(!writes.isEmpty());
        QVERIFY2(qAbs(writes.last().section('"', 3, 3).toFloat() - last) <= 0.5f,
                 qPrintable(writes.last()));
        float previous = -1000.0f;
        for (const QString& line : writes) {
            const float value = line.section('"', 3, 3).toFloat();
            QVERIFY2(value > previous, qPrintable(writes.join('\n')));
            previous = value;
        }
        QVERIFY2(writes.size() <= 100 * 15 / QX8NumericalSV::kThrottleMs + 2,
                 qPrintable(QString::number(writes.size())));
        QCOMPARE(QX8NumericalSV::parseDeviceValue(m_device->value("LowPEQ", "Band_1_Gain").mid(3)),
                 std::optional<float>(previous));
    }

    void pageLeftEarlyLeavesNothingSubscribed_data()
    {
        QTest::addColumn<int>("leaveAfterMs");
        QTest::addColumn<bool>("someNeverSent");
        QTest::newRow("at once") << 0 << true;
        QTest::newRow("while its list comes") << 100 << true;
        QTest::newRow("all of it sent") << 2500 << false;
    }
    // A page left before its answers came takes back what it had not sent and ends what it had:
    // the device holds none of its subscriptions.
    void pageLeftEarlyLeavesNothingSubscribed()
    {
        QFETCH(int, leaveAfterMs);
        QFETCH(bool, someNeverSent);
        QVERIFY(device().setConsoleLink(2000));
        const int from = device().received().size();
        auto objects = std::make_unique<ProcessingObjectList>();
        Page page = openPage();
        QTest::qWait(leaveAfterMs);
        page.clear();
        objects.reset();
        QVERIFY(device().setConsoleLink(0));
        const RequestWindow& requests = TCPAdaptor::instance()->requests();
        QTRY_VERIFY(requests.inFlight() == 0 && requests.waiting() == 0);
        const QString held = device().command("subscriptions");
        for (const QString& object : kPageObjects)
            QVERIFY2(!held.contains(object), qPrintable(held));
        const int subscribed =
            device().received().mid(from).filter(QRegularExpression("^sub ")).size();
        QCOMPARE(subscribed < kPageObjects.size() * 8 * 3, someNeverSent);
    }

    void watchdogTellsSlowFromSilent_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("latencyMs");
        QTest::addColumn<bool>("silent");
        QTest::newRow("answers at 600 B/s behind a page") << 600 << 0 << false;
        QTest::newRow("answers 300 ms late") << 0 << 300 << false;
        QTest::newRow("no answers") << 0 << 0 << true;
    }
    // Keep-alives every 200 ms, three silent intervals in a row mean lost: a device whose
    // answers take longer than that but keep coming is not lost; one that sends nothing is.
    void watchdogTellsSlowFromSilent()
    {
        QFETCH(int, rate);
        QFETCH(int, latencyMs);
        QFETCH(bool, silent);
        ClientConnectionWatchDog network(3600 * 1000);
        RemoteConnectionWatchDog watchDog(&network, 200);
        QSignalSpy lost(&watchDog, &QX8Control::connectionLost);
        QTest::ignoreMessage(QtInfoMsg, "VimbalReady: starting watchdog...");
        QMetaObject::invokeMethod(&watchDog, "onVimbalReady");
        const Meters meters = startMeters();
        QVERIFY(device().setConsoleLink(rate, latencyMs));
        const Page page = openPage();
        if (silent) {
            QCOMPARE(device().command("fault freeze on"), QString("ok"));
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression("Device sent nothing for 3 keep-alive"));
            QTRY_COMPARE_WITH_TIMEOUT(lost.size(), 1, 2000);
            QTRY_VERIFY(!TCPAdaptor::instance()->Ready());
        } else {
            QTest::qWait(3000);
            QCOMPARE(lost.size(), 0);
            QVERIFY(TCPAdaptor::instance()->Ready());
        }
    }

    // A device that never answers `lc`: the first enumeration's entries never come, and its
    // request is given up after the bound, logged; the subscriptions of the page opened behind
    // it, answered meanwhile, leave the window with it, so the rest of the page loads then. A
    // second ignored request is logged on its own: no request answered was counted as given up.
    void ignoredRequestHoldsNoPageBack()
    {
        QCOMPARE(device().command("fault ignore-command=lc"), QString("ok"));
        TCPAdaptor::instance()->requests().setAnswerBound(kAnswerBound);
        const auto givenUp = [](int band) {
            const QString line =
                requestLine("lc", "HighPEQ", QStringLiteral("Band_%1_Type\\EN").arg(band));
            return QRegularExpression("^No answer within 1000 ms, request given up: " +
                                      QRegularExpression::escape(line) + '$');
        };
        // Bound by its names alone: one `lc` and one `sub`.
        const auto enumeration = [](int band) {
            auto control = std::make_unique<QX8EnumSV>();
            control->setPOName("HighPEQ");
            control->setSVName(QStringLiteral("Band_%1_Type").arg(band));
            return control;
        };
        QTest::ignoreMessage(QtWarningMsg, givenUp(1));
        QElapsedTimer clock;
        clock.start();
        const auto type = enumeration(1);
        QTest::qWait(700);
        const Page page = openPage();
        QTRY_VERIFY_WITH_TIMEOUT(allShown(page), kAnswerBound.count() + qx8test::timeoutMs());
        const qint64 shownMs = clock.elapsed();
        QVERIFY2(shownMs >= kAnswerBound.count() && shownMs < kAnswerBound.count() + 600,
                 qPrintable(QString::number(shownMs)));
        QVERIFY(type->hasDeviceValue());
        QVERIFY(type->enums().isEmpty());

        QTest::ignoreMessage(QtWarningMsg, givenUp(2));
        const auto secondType = enumeration(2);
        QTRY_VERIFY_WITH_TIMEOUT(TCPAdaptor::instance()->requests().inFlight() == 0,
                                 kAnswerBound.count() + qx8test::timeoutMs());
        QVERIFY(secondType->hasDeviceValue());
    }

    // Requests the device never answers are logged once, then at most once a second with
    // their count: a page of 48 subscriptions, given up in two windows' worth, adds two lines.
    void givenUpRequestsAreLoggedSparingly()
    {
        QCOMPARE(device().command("fault ignore-command=sub"), QString("ok"));
        TCPAdaptor::instance()->requests().setAnswerBound(kAnswerBound);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("request given up: sub [^(]*$"));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("request given up: sub .* \\(32 times since "
                                                "the last report\\)$"));
        const Page page = openPage();
        const qx8test::LoggedMessageWatch log("request given up");
        QTRY_VERIFY_WITH_TIMEOUT(TCPAdaptor::instance()->requests().inFlight() == 0,
                                 2 * kAnswerBound.count() + qx8test::timeoutMs());
        QCOMPARE(log.seen(), 2);
    }

    // A device that answers every request late, but within the bound from the request's
    // writing, keeps them all, although the page's last requests waited longer than that for
    // their turn in the window.
    void slowAnswersAreWaitedFor()
    {
        TCPAdaptor::instance()->requests().setAnswerBound(std::chrono::milliseconds(1500));
        QVERIFY(device().setConsoleLink(0, 600));
        QElapsedTimer clock;
        clock.start();
        const Page page = openPage({"HighPEQ", "MidPEQ", "LowPEQ"});
        QTRY_VERIFY_WITH_TIMEOUT(allShown(page), 30000);
        QVERIFY2(clock.elapsed() > 1500, qPrintable(QString::number(clock.elapsed())));
    }

    void quickNudgesEachStepOn_data()
    {
        QTest::addColumn<float>("start");
        QTest::addColumn<QString>("presses"); // '+' on the up button, '-' on the down button
        QTest::addColumn<float>("step");
        QTest::addColumn<float>("held"); // by the device at the end
        QTest::newRow("eight up") << 7.12f << "++++++++" << 0.06f << 7.6f;
        QTest::newRow("eight down") << 7.12f << "--------" << 0.06f << 6.64f;
        QTest::newRow("up and down, two buttons") << 7.12f << "++-+++-+" << 0.06f << 7.36f;
        QTest::newRow("past the top, clamped") << 993.5f << "++++++++" << 1.0f << 1000.0f;
    }
    // Presses 270 ms apart over a link that answers 1.5 s late at 2,000 B/s, so that the answers
    // to the first come in among the last: every press writes one step on from the newest value
    // written to the variable, by either button, and no answer to an earlier write pulls the
    // value to nudge back; the device ends as many steps away as there were presses, and once it
    // has answered the last write its value is the one to nudge, clamped or not.
    void quickNudgesEachStepOn()
    {
        QFETCH(float, start);
        QFETCH(QString, presses);
        QFETCH(float, step);
        QFETCH(float, held);
        QVERIFY(setAmount(start));
        const auto up = amountNudge();
        const auto down = amountNudge();
        QTRY_VERIFY(up->valueToNudge() == start && down->valueToNudge() == start);
        QVERIFY(device().setConsoleLink(2000, 1500));
        const QString write = requestLine("set", kDelay, kAmount);
        const int from = m_device->received(write).size();

        float written = start;
        QStringList writes;
        for (const QChar press : presses) {
            const int direction = press == QLatin1Char('+') ? 1 : -1;
            QX8Button* button = direction > 0 ? up.get() : down.get();
            QCOMPARE(button->valueToNudge(), written);
            button->onNudged(direction, kAmount, QStringLiteral("Delay"));
            written += float(direction) * step;
            writes << write + QStringLiteral(" \"%1ms\"").arg(double(written), 0, 'g', 6);
            QTest::qWait(270);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!amountWriteUnanswered(), 30000);
        QCOMPARE(m_device->received(write).mid(from), writes);
        QCOMPARE(heldAmount(), held);
        QCOMPARE(up->valueToNudge(), held);
        QCOMPARE(down->valueToNudge(), held);
    }

    void unansweredWritesGiveWayToTheDeviceValue_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("typed"); // written by the field's label, as a screen may
        QTest::addColumn<bool>("nudged");   // and a nudge after it
        QTest::newRow("refused") << QString() << "abc" << false;
        QTest::newRow("never answered") << "ignore-command=set"
                                        << "7" << true;
    }
    // A field's value awaits its answer shown as written, and a nudge after it steps on from it.
    // Writes the device refuses or never answers bring no value: once none of them awaits its
    // answer any more, the field and the nudge button are back on the device's value, and a
    // held button hears it.
    void unansweredWritesGiveWayToTheDeviceValue()
    {
        QFETCH(QString, fault);
        QFETCH(QString, typed);
        QFETCH(bool, nudged);
        QVERIFY(setAmount(7.12f));
        const auto field = boundControl<QX8TextField>(kDelay, kAmount);
        field->setUnit(QStringLiteral("ms"));
        const auto up = amountNudge();
        QTRY_COMPARE(field->labelValue(), QString("7.12ms"));
        QTRY_COMPARE(up->valueToNudge(), 7.12f);
        if (!fault.isEmpty()) {
            QCOMPARE(device().command("fault " + fault), QString("ok"));
            TCPAdaptor::instance()->requests().setAnswerBound(kAnswerBound);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("request given up: set "));
        }
        QSignalSpy stepped(up.get(), &QX8Button::valueToNudgeChanged);

        field->setLabelValue(typed);
        QVERIFY(field->isPending());
        if (nudged) {
            up->onNudged(1, kAmount, QStringLiteral("Delay"));
            QCOMPARE(up->valueToNudge(), typed.toFloat() + 0.06f);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!amountWriteUnanswered(),
                                 kAnswerBound.count() + qx8test::timeoutMs());
        QCOMPARE(field->labelValue(), QString("7.12ms"));
        QVERIFY(!field->isPending());
        QCOMPARE(up->valueToNudge(), 7.12f);
        if (nudged) {
            QVERIFY(!stepped.isEmpty());
            QCOMPARE(stepped.last().first().toFloat(), 7.12f);
        }
        QCOMPARE(heldAmount(), 7.12f);
    }

    void readOutsShowTheNewestWrite_data()
    {
        QTest::addColumn<float>("start");
        QTest::addColumn<int>("nudges");    // on "+", 270 ms apart
        QTest::addColumn<QString>("typed"); // by the millisecond field after them; empty: none
        QTest::addColumn<float>("held");    // by the device at the end
        QTest::newRow("five nudges") << 2.5f << 5 << QString() << 2.8f;
        QTest::newRow("two nudges, then past the top, clamped")
            << 2.5f << 2 << QStringLiteral("1200") << 1000.0f;
    }
    // Over a link that answers 1.5 s late at 2,000 B/s, controls that show the amount without
    // having written it (a label, the fields in feet and metres, the millisecond field beside
    // the nudge button) show each newest write, pending, as the device will report it in their
    // unit, from the write on; an answer to an earlier write never shows. The field that wrote
    // shows its own text. Once the device has answered the last write, each shows its value,
    // clamped or not.
    void readOutsShowTheNewestWrite()
    {
        QFETCH(float, start);
        QFETCH(int, nudges);
        QFETCH(QString, typed);
        QFETCH(float, held);
        QVERIFY(setAmount(start));
        const auto label = boundControl<QX8Label>(kDelay, kAmount);
        std::vector<std::unique_ptr<QX8TextField>> fields;
        const QStringList units{"ms", "ft", "m"};
        for (const QString& unit : units) {
            fields.push_back(boundControl<QX8TextField>(kDelay, kAmount));
            fields.back()->setUnit(unit);
        }
        const auto up = amountNudge();
        // The device's report of an amount in milliseconds, whole or in one unit.
        const DeviceModel::Variable* amount = boundVariable(kDelay, kAmount);
        QVERIFY(amount);
        const auto reported = [&](double ms, int unit = -1) {
            QStringList parts;
            for (const DeviceModel::DisplayUnit& shown : amount->displayUnits)
                parts << QString::number(ms * shown.scale, 'f', 2) + shown.name;
            return unit < 0 ? parts.join('/') : parts.at(unit);
        };
        QCOMPARE(m_device->value(kDelay, kAmount), "ok " + reported(double(start)));

        using Shown = QPair<QString, bool>;
        std::vector<QX8Label*> readOuts{label.get()};
        for (const auto& field : fields)
            readOuts.push_back(field.get());
        QTRY_VERIFY(up->valueToNudge() == start &&
                    std::all_of(readOuts.begin(), readOuts.end(),
                                [](const QX8Label* readOut) { return readOut->hasDeviceValue(); }));
        std::vector<QList<Shown>> shown(readOuts.size());
        std::vector<QList<Shown>> expected(readOuts.size());
        const auto expect = [&](double ms, bool pending) {
            expected[0] << Shown{reported(ms), pending};
            for (int unit = 0; unit < units.size(); ++unit)
                expected[size_t(unit) + 1] << Shown{reported(ms, unit), pending};
        };
        const auto note = [&] {
            for (size_t i = 0; i < readOuts.size(); ++i) {
                const Shown now{readOuts[i]->labelValue(), readOuts[i]->isPending()};
                if (shown[i].isEmpty() || shown[i].last() != now)
                    shown[i].append(now);
            }
        };
        QTimer sampler;
        sampler.setInterval(1);
        connect(&sampler, &QTimer::timeout, &sampler, note);
        sampler.start();
        note();
        expect(double(start), false);
        QVERIFY(device().setConsoleLink(2000, 1500));

        float written = start;
        for (int nudge = 0; nudge < nudges; ++nudge) {
            up->onNudged(1, kAmount, QStringLiteral("Delay"));
            note();
            written += 0.06f;
            expect(double(written), true);
            QTest::qWait(270);
        }
        if (!typed.isEmpty()) {
            fields[0]->setLabelValue(typed);
            note();
            expect(typed.toDouble(), true);
            expected[1].last().first = typed;
        }
        QTRY_VERIFY_WITH_TIMEOUT(!amountWriteUnanswered(), 30000);
        QTest::qWait(100);
        note();
        sampler.stop();
        expect(double(held), false);
        QCOMPARE(m_device->value(kDelay, kAmount), "ok " + reported(double(held)));
        for (size_t i = 0; i < readOuts.size(); ++i)
            QCOMPARE(shown[i], expected[i]);
    }

    void quickClicksEachSwitchOn_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<bool>("on"); // as the device holds it first
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QString>("fault");
        QTest::newRow("ON, two clicks") << "Nuq"
                                        << "Nuq" << true << 2 << QString();
        QTest::newRow("ON, three clicks") << "Nuq"
                                          << "Nuq" << true << 3 << QString();
        QTest::newRow("MUTE, two clicks") << "OutputGains"
                                          << "Channel_3_Mute" << false << 2 << QString();
        QTest::newRow("MUTE, three clicks") << "OutputGains"
                                            << "Channel_3_Mute" << false << 3 << QString();
        QTest::newRow("ON, a click never answered") << "Nuq"
                                                    << "Nuq" << true << 1 << "ignore-command=set";
    }
    // Clicks of an on/off button 270 ms apart over a link that answers 1.5 s late at 2,000 B/s:
    // each writes the opposite of the last click's state, which the button shows, pending, from
    // the click until the device has answered every write, never turned back by the answer to an
    // earlier one; the device ends as many switches away as there were clicks. Another button
    // of the variable, which only listens, shows the same at every change. Writes that go
    // unanswered give way to the state the device holds.
    void quickClicksEachSwitchOn()
    {
        QFETCH(QString, object);
        QFETCH(QString, variable);
        QFETCH(bool, on);
        QFETCH(int, clicks);
        QFETCH(QString, fault);
        const QString path = ConsoleLineBuilder::pathBody(object, variable);
        const auto stateText = [](bool state) { return state ? QString("On") : QString("Off"); };
        QVERIFY(device()
                    .command(QStringLiteral("set \"%1\" %2").arg(path, stateText(on)))
                    .startsWith(QLatin1String("ok")));
        const auto clicked = boundControl<QX8Button>(object, variable);
        const auto listening = boundControl<QX8Button>(object, variable);
        clicked->setButtonType(QX8Button::SV);
        listening->setButtonType(QX8Button::SV);
        QTRY_VERIFY(clicked->hasDeviceValue() && listening->hasDeviceValue());
        QCOMPARE(clicked->activeState(), on);
        if (!fault.isEmpty()) {
            QCOMPARE(device().command("fault " + fault), QString("ok"));
            TCPAdaptor::instance()->requests().setAnswerBound(kAnswerBound);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("request given up: set "));
        }
        QVERIFY(device().setConsoleLink(2000, 1500));
        const QString write = requestLine("set", object, variable);
        const int from = m_device->received(write).size();
        // What each button shows, its state and pending mark, at every turn of the event loop
        // in which it changed.
        using Shown = QPair<bool, bool>;
        QList<Shown> shownClicked;
        QList<Shown> shownListening;
        const auto note = [&] {
            for (auto [button, shown] : {std::pair(clicked.get(), &shownClicked),
                                         std::pair(listening.get(), &shownListening)}) {
                const Shown now{button->activeState(), button->isPending()};
                if (shown->isEmpty() || shown->last() != now)
                    shown->append(now);
            }
        };
        QTimer sampler;
        sampler.setInterval(1);
        connect(&sampler, &QTimer::timeout, &sampler, note);
        sampler.start();
        note();

        QStringList writes;
        QList<Shown> expected;
        for (int click = 1; click <= clicks; ++click) {
            clicked->toggleValueWithoutFeedback();
            note();
            const bool state = (click % 2 == 1) != on;
            writes << write + (state ? QString(" \"1\"") : QString(" \"0\""));
            expected << Shown{state, true};
            QTest::qWait(270);
        }
        const bool held = fault.isEmpty() ? expected.last().first : on;
        expected.prepend(Shown{on, false});
        expected << Shown{held, false};
        const QString target = ConsoleRequest::targetOf(object, variable, QString());
        QTRY_VERIFY_WITH_TIMEOUT(
            !TCPAdaptor::instance()->requests().unansweredWrite(target).has_value(),
            kAnswerBound.count() + 30000);
        note();
        sampler.stop();
        QCOMPARE(m_device->received(write).mid(from), writes);
        QCOMPARE(m_device->value(object, variable), "ok " + stateText(held));
        QCOMPARE(shownClicked, expected);
        QCOMPARE(shownListening, expected);
    }

    void quickChangesEndOnTheLast_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("property");    // that shows the value
        QTest::addColumn<QString>("set");         // on the device's panel first
        QTest::addColumn<QString>("held");        // shown then
        QTest::addColumn<QStringList>("changes"); // as shown
        QTest::addColumn<QStringList>("written"); // the values of their set lines
        QTest::addColumn<QString>("ends");        // shown once the device has answered
        QTest::addColumn<QString>("deviceEnds");  // the device's value text then
        const QString crossover = QStringLiteral("Band_1_HPType");
        QTest::newRow("combo box, a pick and back")
            << "combo box"
            << "Crossover" << crossover << "deviceSvValue"
            << "LR 48"
            << "LR 48" << QStringList{"BW 24", "LR 48"} << QStringList{"BW 24", "LR 48"} << "LR 48"
            << "LR 48";
        QTest::newRow("combo box, the last pick refused")
            << "combo box"
            << "Crossover" << crossover << "deviceSvValue"
            << "LR 48"
            << "LR 48" << QStringList{"BW 24", "BW 99"} << QStringList{"BW 24", "BW 99"} << "BW 24"
            << "BW 24";
        QTest::newRow("exclusive group, a choice and back")
            << "exclusive group"
            << "RoomEQ"
            << "Band_2_Type"
            << "selectedValue"
            << "Bell"
            << "Bell" << QStringList{"High Shelf", "Bell"} << QStringList{"High Shelf", "Bell"}
            << "Bell"
            << "Bell";
        QTest::newRow("slider, a position and back")
            << "slider"
            << "SubharmonicSynth"
            << "Subharmonics"
            << "stringProperty"
            << "45"
            << "45" << QStringList{"60", "45"} << QStringList{"60", "45"} << "45"
            << "45%";
        QTest::newRow("fader, a position and back")
            << "fader"
            << "Crossover"
            << "Band_2_Gain"
            << "faderValue"
            << "-20"
            << "50" << QStringList{"25", "50"} << QStringList{"-40", "-20"} << "50"
            << "-20dB";
        const QString channel = QStringLiteral(
            R"(Node\SetupWizardCurrentChoices\SV\Channel_1_OrvellinkInputAssignment)");
        QTest::newRow("number, two steps up")
            << "number"
            << "NPO" << channel << "value"
            << "9"
            << "9" << QStringList{"10", "11"} << QStringList{"10", "11"} << "11"
            << "11";
        QTest::newRow("number, a step and back")
            << "number"
            << "NPO" << channel << "value"
            << "9"
            << "9" << QStringList{"10", "9"} << QStringList{"10", "9"} << "9"
            << "9";
        QTest::newRow("switch, off and on again")
            << "text"
            << "NPO" << QStringLiteral(R"(Node\Wizard\SV\LevelAssistAutoTrim)") << "value"
            << "On"
            << "On" << QStringList{"Off", "On"} << QStringList{"Off", "On"} << "On"
            << "On";
    }
    // Two changes 270 ms apart over a link that answers 1.5 s late at 2,000 B/s, the second
    // back to the device's value or on from the first: both are written, once each (an answer
    // to the first is not written back), and the device ends on the last. Each change shows,
    // pending, from the gesture until the device has answered every write, never turned back by
    // the answer to an earlier one, in the control changed and in another of the variable that
    // only listens; then the device's value shows, the last written or, when the device refused
    // it, the one it holds.
    void quickChangesEndOnTheLast()
    {
        QFETCH(QString, kind);
        QFETCH(QString, object);
        QFETCH(QString, variable);
        QFETCH(QString, property);
        QFETCH(QString, set);
        QFETCH(QString, held);
        QFETCH(QStringList, changes);
        QFETCH(QStringList, written);
        QFETCH(QString, ends);
        QFETCH(QString, deviceEnds);
        const QString path = ConsoleLineBuilder::pathBody(object, variable);
        QVERIFY(device()
                    .command(QStringLiteral("set \"%1\" \"%2\"").arg(path, set))
                    .startsWith(QLatin1String("ok")));
        const auto changed = boundControlOfKind(kind, object, variable);
        const auto listening = boundControlOfKind(kind, object, variable);
        const auto shownBy = [&](const QX8Control* control) {
            return control->property(qPrintable(property)).toString();
        };
        QTRY_VERIFY(shownBy(changed.get()) == held && shownBy(listening.get()) == held);
        QVERIFY(device().setConsoleLink(2000, 1500));
        const QString write =
            QStringLiteral("set \"%1%2\"").arg(path, kind == QLatin1String("slider") ? "%" : "");
        const int from = m_device->received(write).size();
        using Shown = QPair<QString, bool>;
        QList<Shown> shownChanged;
        QList<Shown> shownListening;
        const auto note = [&] {
            for (auto [control, shown] : {std::pair(changed.get(), &shownChanged),
                                          std::pair(listening.get(), &shownListening)}) {
                const Shown now{shownBy(control), control->isPending()};
                if (shown->isEmpty() || shown->last() != now)
                    shown->append(now);
            }
        };
        QTimer sampler;
        sampler.setInterval(1);
        connect(&sampler, &QTimer::timeout, &sampler, note);
        sampler.start();
        note();

        QList<Shown> expected{{held, false}};
        for (const QString& to : changes) {
            changeOnScreen(changed.get(), to);
            note();
            expected << Shown{to, true};
            QTest::qWait(270);
        }
        expected << Shown{ends, false};
        const QString target =
            ConsoleRequest::targetOf(object, variable, kind == QLatin1String("slider") ? "%" : "");
        QTRY_VERIFY_WITH_TIMEOUT(
            !TCPAdaptor::instance()->requests().unansweredWrite(target).has_value(), 30000);
        QTest::qWait(100);
        note();
        sampler.stop();
        QStringList writes;
        for (const QString& value : written)
            writes << write + QStringLiteral(" \"%1\"").arg(value);
        QCOMPARE(m_device->received(write).mid(from), writes);
        QCOMPARE(device().command("value \"" + path + '"'), "ok " + deviceEnds);
        QCOMPARE(shownChanged, expected);
        QCOMPARE(shownListening, expected);
    }
};

QX8_TEST_GUILESS_MAIN(TestSlowLink)
#include "tst_slowlink.moc"
