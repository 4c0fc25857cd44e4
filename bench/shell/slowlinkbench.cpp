// Pages over a slow link: VirtualQX8 sends its console replies at 20,000 and then 2,000 bytes a
// second (console-rate) while the application runs as in real use, meters polling. For the
// crossover page, the home screen and the mixer, opened in that order as their buttons open them:
// the time from the click to every value shown, beside the floor the link allows (the bytes of
// the page's answers, one per distinct request the device read meanwhile, divided by the rate;
// goal: at most 1.5 times the floor), and the most requests unanswered at once meanwhile, from
// the device's timed wire log (goal: at most the link's window of 32).
//
// Run inside scripts/netns-run through tests/isolate.sh (private settings, offscreen):
//   QX8_VIRTUAL_PROCESSOR=simulator/VirtualQX8 ../tests/isolate.sh bench/shell/slowlinkbench
#include "pagesession.h"
#include "testharness.h"
#include "testmain.h"
#include "valuesshown.h"
#include "wireexchanges.h"

#include <QElapsedTimer>
#include <QSet>
#include <QtTest>
#include <cstdio>

namespace {

constexpr int kWindow = 32;

struct Rate
{
    int bytesPerSecond;
    const char* name;
    // A page that takes longer is reported as not done: the whole bench stays within minutes.
    int limitMs;
};

const Rate rates[] = {{20000, "20,000 B/s", 12000}, {2000, "2,000 B/s", 35000}};

struct Page
{
    const char* name;
    const char* param; // the GUI signal its button sends, and its payload
    const char* payload;
    const char* file;
};

const Page pages[] = {
    {"crossover", "Crossover", "Low", "CrossOver.qml"},
    {"home screen", "HomeButtonPressed", "", "QX8HomeScreen.qml"},
    {"mixer", "MIX", "StereoMixer", "ScreenMixer.qml"},
};

// What the wire log tells of the requests read between two of its lengths.
struct LinkUse
{
    qint64 answerBytes = 0; // one answer per distinct request
    int mostInFlight = 0;
};

LinkUse linkUse(const QStringList& timedLog, int fromEntry, int toEntry)
{
    QList<WireExchange> read;
    for (const WireExchange& exchange : wireExchanges(timedLog.mid(0, toEntry))) {
        if (exchange.entry >= fromEntry)
            read.append(exchange);
    }
    LinkUse use;
    use.mostInFlight = mostRequestsInFlight(read);
    QSet<QString> counted;
    for (const WireExchange& exchange : qAsConst(read)) {
        if (exchange.answeredMs >= 0 && !counted.contains(exchange.request)) {
            counted.insert(exchange.request);
            use.answerBytes += exchange.answerBytes;
        }
    }
    return use;
}

} // namespace

class SlowLinkBench : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pagesOverASlowLink();

private:
    void measure(const Rate& rate, const Page& page);

    PageSession m_session;
};

void SlowLinkBench::measure(const Rate& rate, const Page& page)
{
    VirtualProcessor& device = m_session.device();
    const int fromEntry = device.timedWireLog().size();
    QElapsedTimer clock;
    clock.start();
    QVERIFY2(m_session.open(page.param, page.payload, page.file), page.name);
    const bool shown = waitForValuesShown(m_session, rate.limitMs - int(clock.elapsed()));
    const double ms = clock.nsecsElapsed() / 1e6;
    const QStringList log = device.timedWireLog();
    const LinkUse use = linkUse(log, fromEntry, log.size());
    const double floorMs = use.answerBytes * 1000.0 / rate.bytesPerSecond;
    const QString path = QString("slow link %1: %2").arg(rate.name, page.name);
    std::printf("ROW|%s, open to values shown|%s%.0f ms|floor %.0f ms (%lld B of answers)|%s%.2f|"
                "<= 1.5x floor\n",
                qPrintable(path), shown ? "" : "not done in ", ms, floorMs,
                static_cast<long long>(use.answerBytes), shown ? "" : ">", ms / floorMs);
    std::printf("ROW|%s, most requests in flight|%d|window %d|%.2f|<= %d\n", qPrintable(path),
                use.mostInFlight, kWindow, double(use.mostInFlight) / kWindow, kWindow);
    std::fflush(stdout);
}

void SlowLinkBench::pagesOverASlowLink()
{
    QVERIFY(m_session.start());
    for (const Rate& rate : rates) {
        // Each rate starts from the home screen with every value shown and nothing queued.
        QVERIFY(m_session.device().setConsoleLink(0));
        QVERIFY(m_session.open("HomeButtonPressed", QString(), "QX8HomeScreen.qml"));
        QVERIFY(waitForValuesShown(m_session, qx8test::timeoutMs()));
        QVERIFY(m_session.device().setConsoleLink(rate.bytesPerSecond));
        for (const Page& page : pages)
            measure(rate, page);
    }
    QVERIFY(m_session.device().setConsoleLink(0));
    m_session.stop();
}

QX8_TEST_MAIN(SlowLinkBench)
#include "slowlinkbench.moc"
