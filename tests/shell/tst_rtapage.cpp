// The analyser page in the application against VirtualQX8: its bars follow the device's moving
// spectrum, and their polling pauses while the application is busy and ends with the page.
#include "pagesession.h"
#include "qx8rtagraphitem.h"
#include "testharness.h"
#include "testmain.h"
#include "viewloader.h"

#include <QQuickItem>
#include <QtTest>

namespace {

// Band 18 of the analyser is the graphic EQ's 1 kHz band.
constexpr int kOneKilohertz = 17;
const QString kEqBand = QStringLiteral("\\\\Preset\\StereoGEQ\\SV\\1.0 kHz\\");

QStringList bandPolls(const QStringList& lines)
{
    QStringList polls;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("asyncget \"\\\\Preset\\RTA\\SV\\Band_")))
            polls.append(line);
    }
    return polls;
}

} // namespace

class TestRtaPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void barsFollowTheSpectrum();
    void pollingPausesWhileBusy();
    void pollingEndsWithThePage();

private:
    // The band polls the device received from the `from`th line on, up to a probe sent now.
    QStringList bandPollsSince(int from);
    // A few poll periods pass: long enough for a polling meter to ask again several times.
    static void letPollsPass() { QTest::qWait(3 * 100 + 100); }

    PageSession m_session;
    QX8RTAGraphItem* m_graph = nullptr;
};

void TestRtaPage::initTestCase()
{
    QVERIFY(m_session.start());
    QVERIFY(m_session.open(QStringLiteral("RTA"), QString(), QStringLiteral("ScreenRTA.qml")));
    // The graph comes with the page's panel, which may be made a little after the page itself.
    QTRY_VERIFY_WITH_TIMEOUT(
        (m_graph = m_session.shell().pageItem()->findChild<QX8RTAGraphItem*>()) != nullptr,
        qx8test::timeoutMs());
    QCOMPARE(m_graph->bandCount(), 31);
    QVERIFY(m_session.waitForValues(qx8test::timeoutMs()).isEmpty());
}

void TestRtaPage::cleanupTestCase()
{
    m_session.stop();
}

QStringList TestRtaPage::bandPollsSince(int from)
{
    return bandPolls(
        m_session.device().receivedUntilProbe([] { ShellFixture::sendProbe(); }, from));
}

// The band moves a few dB by itself; the EQ moving 24 dB moves it far more.
void TestRtaPage::barsFollowTheSpectrum()
{
    const auto level = [this] { return m_graph->levels().at(kOneKilohertz); };
    QVERIFY(m_session.device().command("set \"" + kEqBand + "\" -12").startsWith("ok"));
    QTRY_VERIFY_WITH_TIMEOUT(level() < -40.0, qx8test::timeoutMs());
    const double cut = level();
    QVERIFY(m_session.device().command("set \"" + kEqBand + "\" 12").startsWith("ok"));
    QTRY_VERIFY_WITH_TIMEOUT(level() > cut + 15.0, qx8test::timeoutMs());
    for (double band : m_graph->levels())
        QVERIFY(band >= -80.0 && band <= 0.0);
}

void TestRtaPage::pollingPausesWhileBusy()
{
    ViewLoader* loader = m_session.shell().loader();
    loader->setAppBusyPreventClose(true);
    // Polls already on their way when the flag was set still arrive.
    const int busyFrom = m_session.device().received().size();
    bandPollsSince(busyFrom);
    const int quietFrom = m_session.device().received().size();
    letPollsPass();
    QVERIFY2(bandPollsSince(quietFrom).isEmpty(), "the bars polled while the application was busy");

    const int resumedFrom = m_session.device().received().size();
    loader->setAppBusyPreventClose(false);
    QTRY_VERIFY_WITH_TIMEOUT(bandPolls(m_session.device().received().mid(resumedFrom)).size() >= 31,
                             qx8test::timeoutMs());
}

void TestRtaPage::pollingEndsWithThePage()
{
    m_session.unload();
    m_graph = nullptr;
    bandPollsSince(m_session.device().received().size());
    const int goneFrom = m_session.device().received().size();
    letPollsPass();
    QVERIFY2(bandPollsSince(goneFrom).isEmpty(), "the bars polled after the page had gone");
}

QX8_TEST_MAIN(TestRtaPage)
#include "tst_rtapage.moc"
