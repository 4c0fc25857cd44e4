// The wizard screen against VirtualQX8 on loopback, driven as in the tests:
// - a product list of 1,000 loudspeakers pushed by the device as one `lc` block, timed until the
//   brand page shows the new brands and has drawn a frame with them; the same for 10 products is
//   the peer (median of five each);
// - the `lc` traffic of each page change along the run-setup wizard: requests the application
//   sends and reply bytes, against the number of distinct enumerations it asked for.
//
// Run inside scripts/netns-run through tests/isolate.sh (private settings, offscreen):
//   QX8_VIRTUAL_PROCESSOR=simulator/VirtualQX8 ../tests/isolate.sh bench/wizard/wizardbench
#include "benchtools.h"
#include "shellfixture.h"
#include "testharness.h"
#include "testmain.h"
#include "viewloader.h"
#include "wizardscreenfixture.h"

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickView>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QtTest>
#include <cstdio>

namespace {

constexpr int kRuns = 5;
const QString kMainSpeaker = QStringLiteral(R"(Node\SetupWizardCurrentChoices\SV\MainSpeaker)");

// `count` products of 20 a brand and the Custom product, named after the run so each push changes
// the list.
QString products(int count, int run)
{
    QStringList entries;
    for (int index = 0; index < count; ++index) {
        entries << QStringLiteral("<Speaker Brand='Brand %1-%2' Series='Series %3' Model='M%4'/>")
                       .arg(run)
                       .arg(index / 20)
                       .arg(index % 20 / 5)
                       .arg(index);
    }
    entries << QStringLiteral("<Speaker Brand='Custom' Series='Custom' Model='Custom'/>");
    return entries.join(QLatin1Char('|'));
}

// The states of a run-setup walk with the page each opens.
const std::pair<const char*, const char*> kWalk[] = {
    {"StartSetupWizard", "wizardDialogPage"},
    {"StartFromWhat", "wizardListPage"},
    {"ConfirmStartNew", "wizardDialogPage"},
    {"StartInput", "wizardDialogPage"},
    {"SelectInput", "runSetupPage"},
    {"StartSpeaker", "wizardDialogPage"},
    {"SelectMainSpeaker", "wizardNestedListPage"},
    {"SelectMainSpeakerMode", "wizardListPage"},
    {"PromptUsingSubs", "wizardListPage"},
    {"SelectHighAmplifier", "wizardNestedListPage"},
    {"SelectHighAmplifierLevel", "wizardDialPage"},
};

} // namespace

using benchtools::median;

class WizardBench : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void productListShown();
    void enumerationTrafficPerPageChange();
    void cleanupTestCase();

private:
    // Milliseconds from the device's push of `count` products to a drawn brand list with them.
    double pushAndShow(int count, int run);

    WizardScreenFixture m_screen;
};

void WizardBench::initTestCase()
{
    QVERIFY(m_screen.start());
    m_screen.showMenu();
}

void WizardBench::cleanupTestCase()
{
    m_screen.forceState(QStringLiteral("Inactive"));
}

double WizardBench::pushAndShow(int count, int run)
{
    QQuickView* view = m_screen.shell().loader()->view();
    QQuickItem* brands = m_screen.visibleItem(QStringLiteral("brandList"));
    if (!brands)
        return -1;
    const int brandRows = (count + 19) / 20 + 1; // and "Not listed??"
    const QString command =
        "entries \"\\\\" + kMainSpeaker + "\\\" \"" + products(count, run) + '"';
    QElapsedTimer clock;
    clock.start();
    if (!m_screen.device().command(command).startsWith(QLatin1String("ok")))
        return -1;
    const QString firstBrand = QStringLiteral("Brand %1-0").arg(run);
    const bool shown = QTest::qWaitFor(
        [&] {
            if (QQmlProperty::read(brands, QStringLiteral("count")).toInt() != brandRows)
                return false;
            const auto* model = qvariant_cast<QAbstractItemModel*>(
                QQmlProperty::read(brands, QStringLiteral("model")));
            const int textRole = model ? model->roleNames().key("listViewElementText", -1) : -1;
            return textRole >= 0 && model->index(0, 0).data(textRole).toString() == firstBrand;
        },
        qx8test::timeoutMs());
    if (!shown) {
        qWarning() << "brand list after" << count
                   << "products:" << QQmlProperty::read(brands, QStringLiteral("count")).toInt()
                   << "rows";
        return -1;
    }
    QSignalSpy drawn(view, &QQuickWindow::frameSwapped);
    view->update();
    if (!drawn.wait(qx8test::timeoutMs()))
        return -1;
    return clock.nsecsElapsed() / 1e6;
}

void WizardBench::productListShown()
{
    m_screen.forceState(QStringLiteral("SelectMainSpeaker"));
    m_screen.waitForPage(QStringLiteral("wizardNestedListPage"),
                         QStringLiteral("SelectMainSpeaker"));
    QList<double> large;
    QList<double> small;
    for (int run = 0; run < kRuns; ++run) {
        const double smallMs = pushAndShow(10, 2 * run);
        const double largeMs = pushAndShow(1000, 2 * run + 1);
        QVERIFY2(smallMs >= 0 && largeMs >= 0, "the brand list did not show the products");
        small << smallMs;
        large << largeMs;
    }
    std::printf("ROW|wizard: lc reply of 1,000 products to brand list shown|%.1f ms|10 products: "
                "%.1f ms|%.2f|< 100 ms\n",
                median(large), median(small), median(large) / median(small));
    std::fflush(stdout);
}

void WizardBench::enumerationTrafficPerPageChange()
{
    static const QRegularExpression transmitted(QStringLiteral("^\\d+ TX (.*)$"));
    int requests = 0;
    qint64 replyBytes = 0;
    QSet<QString> distinct;
    int changes = 0;
    for (const auto& [state, page] : kWalk) {
        const int fromReceived = m_screen.device().received().size();
        const int fromLog = m_screen.device().wireLog().size();
        m_screen.forceState(QLatin1String(state));
        m_screen.waitForPage(QLatin1String(page), QLatin1String(state));
        const QStringList sent =
            m_screen.device().receivedUntilProbe([] { ShellFixture::sendProbe(); }, fromReceived);
        QSet<QString> asked;
        for (const QString& line : sent) {
            if (line.startsWith(QLatin1String("lc "))) {
                ++requests;
                asked.insert(line);
            }
        }
        distinct += asked;
        bool inBlock = false;
        for (const QString& entry : m_screen.device().wireLog().mid(fromLog)) {
            const QRegularExpressionMatch match = transmitted.match(entry);
            if (!match.hasMatch())
                continue;
            const QString line = match.captured(1);
            inBlock = inBlock || line.startsWith(QLatin1String("lc "));
            if (inBlock)
                replyBytes += line.toUtf8().size() + 1;
            if (line == QLatin1String("endlc"))
                inBlock = false;
        }
        ++changes;
    }
    const double perChange = double(requests) / changes;
    const double distinctPerChange = double(distinct.size()) / changes;
    std::printf("ROW|wizard: lc requests per page change (%d changes)|%.2f|distinct "
                "enumerations asked: %.2f|%.2f|1.00\n",
                changes, perChange, distinctPerChange, perChange / distinctPerChange);
    std::printf("ROW|wizard: lc reply bytes per page change|%.0f B|-|-|-\n",
                double(replyBytes) / changes);
    std::fflush(stdout);
}

QX8_TEST_MAIN(WizardBench)
#include "wizardbench.moc"
