// The wizard screen of the running application against VirtualQX8's wizards: the menu starts a
// wizard, the page follows every state the device reports, the user's choices and events reach
// the wire, and every state opens its page. QX8_SCREENSHOT_DIR, when set, receives a picture of
// each page.
#include "qx8settings.h"
#include "settingskeys.h"
#include "testmain.h"
#include "viewloader.h"
#include "wizardscreenfixture.h"
#include "wizardstatetable.h"

#include <QQmlProperty>
#include <QQuickItem>
#include <QtTest>

namespace {

const QString kWizard = QStringLiteral(R"(\\Node\Wizard\SV\)");

// The page object of each page file.
const QHash<QString, QString> kPageObjects = {
    {"WizardListType.qml", "wizardListPage"},
    {"RunSetupWizardScreen.qml", "runSetupPage"},
    {"WizardDialogType.qml", "wizardDialogPage"},
    {"WizardDialType.qml", "wizardDialPage"},
    {"WizardNuqGraphType.qml", "wizardNuqGraphPage"},
    {"WizardNestedListViewType.qml", "wizardNestedListPage"},
    {"WizardFormType.qml", "wizardFormPage"},
    {"WizardMakeConnections.qml", "wizardConnectionsPage"},
    {"WizardAEQResultType.qml", "wizardAutoEqResultPage"},
    {"WizardNotImplemented.qml", "wizardNotImplementedPage"}};

} // namespace

class TestWizardScreen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void menuStartsAWizardAndThePageFollowsTheDevice();
    void everyStateOpensItsPage_data();
    void everyStateOpensItsPage();
    void runSetupNextWritesTheChoice();
    void wizardButtonIsLitOnTheWizardMenusPages();
    void runAllIsWrittenBeforeTheSetupStarts_data();
    void runAllIsWrittenBeforeTheSetupStarts();
    void headingNamesTheRunningWizard_data();
    void headingNamesTheRunningWizard();
    void setupNotAppliedIsSaid_data();
    void setupNotAppliedIsSaid();
    void offlineMenuShowsTheNotice();
    void progressShowsWhileNoWizardRuns();

private:
    WizardScreenFixture m_screen;
};

void TestWizardScreen::initTestCase()
{
    QVERIFY(m_screen.start());
}

// Every case starts on the wizard menu; steps the device leaves by itself pass at once.
void TestWizardScreen::init()
{
    m_screen.command(QStringLiteral("wizard-step 0"));
    m_screen.showMenu();
}

// Three list steps forward and one back, then out through the menu bar's question.
void TestWizardScreen::menuStartsAWizardAndThePageFollowsTheDevice()
{
    const int from = m_screen.device().received().size();
    QTRY_COMPARE(m_screen.itemsNamed(QStringLiteral("wizardChoiceRow"), m_screen.page()).size(), 6);
    m_screen.screenshot(QStringLiteral("wizard-menu"));
    m_screen.clickRow(QStringLiteral("RUN AUTOEQ/LEVEL ASSIST"));
    m_screen.waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("PromptRtaMic"));
    QTRY_COMPARE(m_screen.pageTitle(), QStringLiteral("Do you have RTA Mic?"));
    QCOMPARE(QQmlProperty::read(m_screen.visibleItem(QStringLiteral("wizardHeading")), "text")
                 .toString(),
             QStringLiteral("AUTOEQ WIZARD"));

    m_screen.clickRow(QStringLiteral("Yes"));
    m_screen.clickButton(QStringLiteral("wizardNextButton"));
    m_screen.waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("PromptAutoEQChoice"));
    QTRY_COMPARE(m_screen.pageTitle(), QStringLiteral("Select wizard option."));
    m_screen.clickRow(QStringLiteral("Level Assist Only"));
    m_screen.clickButton(QStringLiteral("wizardNextButton"));
    m_screen.waitForPage(QStringLiteral("wizardListPage"),
                         QStringLiteral("PromptAutoEQMeasurements"));
    m_screen.clickRow(QStringLiteral("4 BEST"));
    m_screen.screenshot(QStringLiteral("wizard-list"));
    m_screen.clickButton(QStringLiteral("wizardBackButton"));
    m_screen.waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("PromptAutoEQChoice"));
    // The device's value is the selected row.
    QTRY_COMPARE(QQmlProperty::read(m_screen.visibleItem(QStringLiteral("wizardChoiceList")),
                                    "selectedIndex")
                     .toInt(),
                 1);

    m_screen.clickButton(QStringLiteral("menuWizardButton"));
    QTRY_VERIFY(m_screen.visibleItem(QStringLiteral("dialogOkButton")));
    m_screen.screenshot(QStringLiteral("wizard-exit"));
    m_screen.clickButton(QStringLiteral("dialogOkButton"));
    m_screen.waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("Inactive"));
    QCOMPARE(m_screen.writes(from),
             QStringList({setLine(kWizard + "WizardState", "StartAutoEQ"),
                          setLine(kWizard + "WizardChoice", "Yes"),
                          setLine(kWizard + "WizardEvent", "Next"),
                          setLine(kWizard + "AutoEQChoice", "Level Assist Only"),
                          setLine(kWizard + "WizardEvent", "Next"),
                          setLine(kWizard + "AutoEQMeasurements", "4 (Best)"),
                          setLine(kWizard + "WizardEvent", "Previous"),
                          setLine(kWizard + "WizardEvent", "Exit")}));
}

void TestWizardScreen::everyStateOpensItsPage_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("page");
    const QHash<QString, QString>& table = wizardstates::pageTable();
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        QTest::newRow(qPrintable(it.key())) << it.key() << it.value();
    QTest::newRow("unknown state") << "SelectSubOutputFormat"
                                   << "WizardNotImplemented.qml";
}

// Forced through the device; any QML warning fails the case.
void TestWizardScreen::everyStateOpensItsPage()
{
    QFETCH(QString, state);
    QFETCH(QString, page);
    // A state the device would leave by itself stays.
    m_screen.command(QStringLiteral("wizard-step -1"));
    m_screen.forceState(state);
    m_screen.waitForPage(kPageObjects.value(page), state);
    if (page == QLatin1String("WizardNotImplemented.qml"))
        QVERIFY(m_screen.visibleItem(QStringLiteral("notImplementedText")));
    if (qEnvironmentVariableIsEmpty("QX8_SCREENSHOT_DIR"))
        return;
    // A page with rows is pictured once they are in.
    const bool rowsIn = QTest::qWaitFor(
        [&] {
            QQuickItem* list = m_screen.visibleItem(QStringLiteral("wizardChoiceList"));
            return !list || QQmlProperty::read(list, QStringLiteral("count")).toInt() > 0;
        },
        1000);
    Q_UNUSED(rowsIn) // a block without rows is pictured as it is
    m_screen.screenshot(QStringLiteral("wizard-") + state);
}

// The run-setup menu starts a partial run; its page writes the chosen row's value, then the event.
void TestWizardScreen::runSetupNextWritesTheChoice()
{
    const int from = m_screen.device().received().size();
    m_screen.clickRow(QStringLiteral("RUN SETUP WIZARD"));
    QTRY_VERIFY(m_screen.showsPage(QStringLiteral("runSetupPage")));
    QTRY_COMPARE(m_screen.itemsNamed(QStringLiteral("wizardChoiceRow"), m_screen.page()).size(), 4);
    m_screen.screenshot(QStringLiteral("wizard-runsetup-menu"));
    m_screen.clickRow(QStringLiteral("Run GEQ Setup Items"));
    m_screen.waitForPage(QStringLiteral("runSetupPage"), QStringLiteral("SelectGEQ"));
    QTRY_COMPARE(m_screen.pageTitle(), QStringLiteral("Select GEQ configuration"));
    m_screen.clickRow(QStringLiteral("Dual Mono"));
    m_screen.screenshot(QStringLiteral("wizard-runsetup"));
    m_screen.clickButton(QStringLiteral("wizardNextButton"));
    m_screen.waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("PromptApplySetup"));
    QCOMPARE(m_screen.writes(from),
             QStringList({setLine(kWizard + "WizardState", "StartGEQ"),
                          setLine(R"(\\Node\SetupWizardCurrentChoices\SV\GEQSetup)", "Dual Mono"),
                          setLine(kWizard + "WizardEvent", "Next")}));
}

// The menu bar's wizard button stays lit on the pages the wizard menu opens, as on the menu.
void TestWizardScreen::wizardButtonIsLitOnTheWizardMenusPages()
{
    const auto wizardButtonLit = [this] {
        return QQmlProperty::read(m_screen.visibleItem(QStringLiteral("menuWizardButton")),
                                  "checked")
            .toBool();
    };
    QTRY_COMPARE(m_screen.itemsNamed(QStringLiteral("wizardChoiceRow"), m_screen.page()).size(), 6);
    QVERIFY(wizardButtonLit());
    m_screen.clickRow(QStringLiteral("RUN SETUP WIZARD"));
    QTRY_VERIFY(m_screen.showsPage(QStringLiteral("runSetupPage")));
    QVERIFY(wizardButtonLit());
    m_screen.clickButton(QStringLiteral("wizardBackButton"));
    QTRY_VERIFY(m_screen.showsPage(QStringLiteral("wizardListPage")));
    m_screen.clickRow(QStringLiteral("WIZARD OPTIONS"));
    QTRY_VERIFY(m_screen.showsPage(QStringLiteral("wizardOptionsPage")));
    QVERIFY(wizardButtonLit());
}

void TestWizardScreen::runAllIsWrittenBeforeTheSetupStarts_data()
{
    QTest::addColumn<QString>("menuRow"); // opens the page of `row`; empty: the wizard menu's own
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("runAll");
    QTest::newRow("all wizards") << ""
                                 << "RUN ALL WIZARDS"
                                 << "Wizards";
    QTest::newRow("the whole setup") << "RUN SETUP WIZARD"
                                     << "Run All Setup"
                                     << "Setup";
}

// The device reads what the run covers as the setup starts: the run-all value goes out first.
void TestWizardScreen::runAllIsWrittenBeforeTheSetupStarts()
{
    QFETCH(QString, menuRow);
    QFETCH(QString, row);
    QFETCH(QString, runAll);
    const int from = m_screen.device().received().size();
    if (!menuRow.isEmpty()) {
        m_screen.clickRow(menuRow);
        QTRY_VERIFY(m_screen.showsPage(QStringLiteral("runSetupPage")));
    }
    m_screen.clickRow(row);
    m_screen.waitForPage(QStringLiteral("wizardDialogPage"),
                         QStringLiteral("StartSetupWizardWarning"));
    QCOMPARE(m_screen.writes(from),
             QStringList({setLine(kWizard + "WizardRunAll", runAll),
                          setLine(kWizard + "WizardState", "StartSetupWizard")}));
}

void TestWizardScreen::headingNamesTheRunningWizard_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("title");
    const auto row = [](const char* state, const char* heading, const char* title) {
        QTest::newRow(state) << QString(state) << QString(heading) << QString(title);
    };
    row("SelectItemsToSetup", "RUN SETUP WIZARD", "Select items to setup");
    row("SelectFirstPaInput", "RUN SETUP WIZARD", "Select first PA input");
    row("SelectPaOutputFormat", "RUN SETUP WIZARD", "Select PA output format");
    row("SelectMainSpeakerMode", "RUN SETUP WIZARD", "Select main speaker mode");
    row("SelectAutoEqObject", "AUTOEQ WIZARD", "Select AutoEQ to setup:");
    row("OrvellinkInputNames", "ORVEL LINK SETUP WIZARD", "Wizard Menu");
    row("DisplayError", "WIZARD", "");
    row("SelectSubOutputFormat", "WIZARD", "Wizard Menu");
}

// Entered straight from the menu, as when the device is already in a wizard: the heading names
// the wizard (a step of any wizard, one the menu does not name), the page asks its question.
void TestWizardScreen::headingNamesTheRunningWizard()
{
    QFETCH(QString, state);
    QFETCH(QString, heading);
    QFETCH(QString, title);
    m_screen.command(QStringLiteral("wizard-step -1"));
    m_screen.forceState(state);
    QTRY_COMPARE(QQmlProperty::read(m_screen.visibleItem(QStringLiteral("wizardHeading")), "text")
                     .toString(),
                 heading);
    QTRY_COMPARE(m_screen.pageTitle(), title);
}

void TestWizardScreen::setupNotAppliedIsSaid_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<bool>("said");
    QTest::newRow("declined") << "No"
                              << QStringList{setLine(kWizard + "WizardChoice", "No"),
                                             setLine(kWizard + "WizardEvent", "Next")}
                              << true;
    QTest::newRow("applied") << "Yes" << QStringList{setLine(kWizard + "WizardEvent", "Next")}
                             << false;
}

// The device proposes to apply; an answer of No ends the setup with nothing applied, which the
// screen says before the menu.
void TestWizardScreen::setupNotAppliedIsSaid()
{
    QFETCH(QString, answer);
    QFETCH(QStringList, written);
    QFETCH(bool, said);
    m_screen.forceState(QStringLiteral("PromptApplySetup"));
    m_screen.waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("PromptApplySetup"));
    QTRY_COMPARE(m_screen.pageTitle(), QStringLiteral("Apply the current changes?"));
    QQuickItem* list = m_screen.visibleItem(QStringLiteral("wizardChoiceList"));
    QTRY_COMPARE(QQmlProperty::read(list, "selectedIndex").toInt(), 1);
    const int from = m_screen.device().received().size();
    m_screen.clickRow(answer);
    m_screen.clickButton(QStringLiteral("wizardNextButton"));
    m_screen.waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("Inactive"));
    QCOMPARE(m_screen.writes(from), written);
    QQuickItem* notice =
        m_screen.shell().root()->findChild<QQuickItem*>(QStringLiteral("setupNotAppliedDialog"));
    QVERIFY(notice);
    QCOMPARE(notice->isVisible(), said);
    if (!said)
        return;
    QCOMPARE(
        QQmlProperty::read(m_screen.visibleItem(QStringLiteral("dialogMessage"), notice), "text")
            .toString(),
        QStringLiteral("The setup wizard ended without applying your changes. The device "
                       "keeps its current settings."));
    m_screen.screenshot(QStringLiteral("wizard-setup-not-applied"));
    m_screen.clickButton(QStringLiteral("dialogOkButton"));
    QTRY_VERIFY(!notice->isVisible());
}

// With the offline model a menu row shows the notice instead of starting anything.
void TestWizardScreen::offlineMenuShowsTheNotice()
{
    const int from = m_screen.device().received().size();
    m_screen.shell().loader()->setOfflineMode(true);
    m_screen.clickRow(QStringLiteral("RUN NUQ WIZARD"));
    QTRY_VERIFY(m_screen.showsPage(QStringLiteral("wizardOfflinePage")));
    QVERIFY(m_screen.visibleItem(QStringLiteral("offlineNoticeText")));
    m_screen.screenshot(QStringLiteral("wizard-offline"));
    m_screen.clickButton(QStringLiteral("wizardBackButton"));
    QTRY_VERIFY(m_screen.showsPage(QStringLiteral("wizardListPage")));
    m_screen.shell().loader()->setOfflineMode(false);
    QCOMPARE(m_screen.writes(from), QStringList());
}

void TestWizardScreen::progressShowsWhileNoWizardRuns()
{
    QQuickItem* dialog =
        m_screen.shell().root()->findChild<QQuickItem*>(QStringLiteral("loadingDialog"));
    QVERIFY(dialog);
    const QString progress = QStringLiteral(R"(Node\Config\SV\Progress)");
    m_screen.setOnDevice(progress, QStringLiteral("0.42"));
    QTRY_VERIFY(dialog->isVisible());
    QCOMPARE(dialog->property("percent").toInt(), 42);
    m_screen.screenshot(QStringLiteral("wizard-loading"));
    m_screen.setOnDevice(progress, QStringLiteral("1"));
    QTRY_VERIFY(!dialog->isVisible());
}

QX8_TEST_MAIN(TestWizardScreen)
#include "tst_wizardscreen.moc"
