// The wizard screen of the running application against VirtualQX8's wizards: the menu starts a
// wizard, the page follows every state the device reports, the user's choices and events reach
// the wire, and every state opens its page. QX8_SCREENSHOT_DIR, when set, receives a picture of
// each list page.
#include "qx8settings.h"
#include "settingskeys.h"
#include "shellfixture.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "testmain.h"
#include "viewloader.h"
#include "virtualprocessor.h"
#include "wizardstatetable.h"

#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickView>
#include <QtTest>

namespace {
// Items named `objectName` at or below `from`, through the visual tree (list rows are not the
// QObject children of their list).
QList<QQuickItem*> itemsNamed(QQuickItem* from, const QString& objectName)
{
    QList<QQuickItem*> found;
    if (!from)
        return found;
    if (from->objectName() == objectName)
        found << from;
    for (QQuickItem* child : from->childItems())
        found << itemsNamed(child, objectName);
    return found;
}

const QString kPassword = QStringLiteral("quillrampstow");
const QString kWizard = QStringLiteral(R"(\\Node\Wizard\SV\)");

QString setLine(const QString& path, const QString& value)
{
    return "set \"" + path + "\\\" \"" + value + '"';
}

// The page object of each page file this screen loads.
const QHash<QString, QString> kPageObjects = {
    {"WizardListType.qml", "wizardListPage"},
    {"RunSetupWizardScreen.qml", "runSetupPage"},
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
    void progressShowsWhileNoWizardRuns();

private:
    QQuickItem* wizardPage() const;
    QString pageTitle() const;
    QQuickItem* visibleItem(const QString& objectName, QQuickItem* within = nullptr) const;
    void click(QQuickItem* item);
    void clickRow(const QString& text);
    void clickButton(const QString& objectName);
    void forceState(const QString& state);
    void waitForPage(const QString& objectName, const QString& state);
    void screenshot(const QString& name) const;
    QStringList wizardWrites(int from) const;

    VirtualProcessor m_device;
    ShellFixture m_shell;
    QQuickView* m_view = nullptr;
};

void TestWizardScreen::initTestCase()
{
    QX8Settings settings;
    settings.setValue(settingskeys::kAppAnalytics, QStringLiteral("false"));
    settings.setValue(settingskeys::kCheckOnStart, QStringLiteral("false"));
    // Steps the device leaves by itself pass at once: the list pages follow each other.
    QVERIFY(m_device.start({QStringLiteral("--wizard-step-ms"), QStringLiteral("0")}));
    QVERIFY(m_shell.start());
    m_view = m_shell.loader()->view();
    m_shell.root()->setProperty("startUpScreenVisible", false);
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
    m_shell.guiSignal(QStringLiteral("ConnectDevice"), m_device.address() + ':' + kPassword);
    QTRY_VERIFY_WITH_TIMEOUT(TCPAdaptor::instance()->Ready(), qx8test::timeoutMs());
}

// Every case starts on the wizard menu.
void TestWizardScreen::init()
{
    forceState(QStringLiteral("Inactive"));
    m_shell.guiSignal(QStringLiteral("Wizard"));
    QTRY_VERIFY(m_shell.loader()->isActive(ViewLoader::Wizard));
    waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("Inactive"));
}

QQuickItem* TestWizardScreen::wizardPage() const
{
    QObject* loader = m_shell.root()->findChild<QObject*>(QStringLiteral("wizardPageLoader"));
    return loader ? qobject_cast<QQuickItem*>(
                        QQmlProperty::read(loader, QStringLiteral("item")).value<QObject*>())
                  : nullptr;
}

QString TestWizardScreen::pageTitle() const
{
    QQuickItem* title = visibleItem(QStringLiteral("wizardPageTitle"), wizardPage());
    return title ? QQmlProperty::read(title, QStringLiteral("text")).toString() : QString();
}

QQuickItem* TestWizardScreen::visibleItem(const QString& objectName, QQuickItem* within) const
{
    for (QQuickItem* item : itemsNamed(within ? within : m_shell.root(), objectName)) {
        if (item->isVisible())
            return item;
    }
    return nullptr;
}

void TestWizardScreen::click(QQuickItem* item)
{
    QVERIFY(item);
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(m_view, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

void TestWizardScreen::clickRow(const QString& text)
{
    QQuickItem* row = nullptr;
    QTRY_VERIFY(wizardPage());
    QTRY_VERIFY([&] {
        for (QQuickItem* candidate : itemsNamed(wizardPage(), QStringLiteral("wizardChoiceRow"))) {
            for (QQuickItem* child : candidate->childItems()) {
                if (QQmlProperty::read(child, QStringLiteral("text")).toString() == text)
                    row = candidate;
            }
        }
        return row != nullptr;
    }());
    click(row);
}

void TestWizardScreen::clickButton(const QString& objectName)
{
    QTRY_VERIFY(visibleItem(objectName) && visibleItem(objectName)->isEnabled());
    click(visibleItem(objectName));
}

void TestWizardScreen::forceState(const QString& state)
{
    const QString answer =
        m_device.command("set \"" + kWizard + "WizardState\\\" \"" + state + '"');
    QVERIFY2(answer.startsWith(QLatin1String("ok")), qPrintable(answer));
}

void TestWizardScreen::waitForPage(const QString& objectName, const QString& state)
{
    QObject* screen = m_shell.root()->findChild<QObject*>(QStringLiteral("wizardScreen"));
    QTRY_VERIFY(screen && screen->property("wizardState").toString() == state);
    QTRY_VERIFY(wizardPage() && wizardPage()->objectName() == objectName);
    QCOMPARE(QX8Settings().value(settingskeys::kWizardCurrentState).toString(), state);
}

void TestWizardScreen::screenshot(const QString& name) const
{
    const QString folder = qEnvironmentVariable("QX8_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        m_view->grabWindow().save(folder + '/' + name + ".png");
}

// The writes to the wizard variables since line `from`, path and value.
QStringList TestWizardScreen::wizardWrites(int from) const
{
    QStringList writes;
    for (const QString& line : m_device.received().mid(from)) {
        if (line.startsWith(QLatin1String("set ")) && !line.contains(QLatin1String("WizardRunAll")))
            writes << line;
    }
    return writes;
}

// Three list steps forward and one back, then out through the menu bar's question.
void TestWizardScreen::menuStartsAWizardAndThePageFollowsTheDevice()
{
    const int from = m_device.received().size();
    QTRY_COMPARE(itemsNamed(wizardPage(), QStringLiteral("wizardChoiceRow")).size(), 6);
    screenshot(QStringLiteral("wizard-menu"));
    clickRow(QStringLiteral("RUN AUTOEQ/LEVEL ASSIST"));
    waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("PromptRtaMic"));
    QTRY_COMPARE(pageTitle(), QStringLiteral("Do you have RTA Mic?"));
    QCOMPARE(QQmlProperty::read(visibleItem(QStringLiteral("wizardHeading")), "text").toString(),
             QStringLiteral("AUTOEQ WIZARD"));

    clickRow(QStringLiteral("Yes"));
    clickButton(QStringLiteral("wizardNextButton"));
    waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("PromptAutoEQChoice"));
    QTRY_COMPARE(pageTitle(), QStringLiteral("Select wizard option."));
    clickRow(QStringLiteral("Level Assist Only"));
    clickButton(QStringLiteral("wizardNextButton"));
    waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("PromptAutoEQMeasurements"));
    screenshot(QStringLiteral("wizard-list"));
    clickRow(QStringLiteral("4 BEST"));
    clickButton(QStringLiteral("wizardBackButton"));
    waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("PromptAutoEQChoice"));
    // The device's value is the selected row.
    QTRY_COMPARE(
        QQmlProperty::read(visibleItem(QStringLiteral("wizardChoiceList")), "selectedIndex")
            .toInt(),
        1);

    clickButton(QStringLiteral("menuWizardButton"));
    clickButton(QStringLiteral("dialogOkButton"));
    waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("Inactive"));
    QCOMPARE(wizardWrites(from),
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
    for (auto it = table.cbegin(); it != table.cend(); ++it) {
        if (kPageObjects.contains(it.value()))
            QTest::newRow(qPrintable(it.key())) << it.key() << it.value();
    }
    QTest::newRow("unknown state") << "SelectSubOutputFormat"
                                   << "WizardNotImplemented.qml";
}

// Forced through the device; any QML warning fails the case.
void TestWizardScreen::everyStateOpensItsPage()
{
    QFETCH(QString, state);
    QFETCH(QString, page);
    forceState(state);
    waitForPage(kPageObjects.value(page), state);
    if (page == QLatin1String("WizardNotImplemented.qml"))
        QVERIFY(visibleItem(QStringLiteral("notImplementedText")));
    if (qEnvironmentVariableIsEmpty("QX8_SCREENSHOT_DIR"))
        return;
    // A page with rows is pictured once they are in.
    QTest::qWaitFor(
        [&] {
            QQuickItem* list = visibleItem(QStringLiteral("wizardChoiceList"));
            return !list || QQmlProperty::read(list, QStringLiteral("count")).toInt() > 0;
        },
        1000);
    screenshot(QStringLiteral("wizard-") + state);
}

// The run-setup menu starts a partial run; its page writes the chosen row's value, then the event.
void TestWizardScreen::runSetupNextWritesTheChoice()
{
    const int from = m_device.received().size();
    clickRow(QStringLiteral("RUN SETUP WIZARD"));
    QTRY_VERIFY(wizardPage() && wizardPage()->objectName() == QLatin1String("runSetupPage"));
    QTRY_COMPARE(itemsNamed(wizardPage(), QStringLiteral("wizardChoiceRow")).size(), 4);
    screenshot(QStringLiteral("wizard-runsetup-menu"));
    clickRow(QStringLiteral("Run GEQ Setup Items"));
    waitForPage(QStringLiteral("runSetupPage"), QStringLiteral("SelectGEQ"));
    QTRY_COMPARE(pageTitle(), QStringLiteral("Select GEQ configuration"));
    clickRow(QStringLiteral("Dual Mono"));
    screenshot(QStringLiteral("wizard-runsetup"));
    clickButton(QStringLiteral("wizardNextButton"));
    waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("PromptApplySetup"));
    QCOMPARE(wizardWrites(from),
             QStringList({setLine(kWizard + "WizardState", "StartGEQ"),
                          setLine(R"(\\Node\SetupWizardCurrentChoices\SV\GEQSetup)", "Dual Mono"),
                          setLine(kWizard + "WizardEvent", "Next")}));
}

void TestWizardScreen::progressShowsWhileNoWizardRuns()
{
    QQuickItem* dialog = m_shell.root()->findChild<QQuickItem*>(QStringLiteral("loadingDialog"));
    QVERIFY(dialog);
    const QString progress = QStringLiteral(R"(set "\\Node\Config\SV\Progress\" "%1")");
    QVERIFY(m_device.command(progress.arg("0.42")).startsWith(QLatin1String("ok")));
    QTRY_VERIFY(dialog->isVisible());
    QCOMPARE(dialog->property("percent").toInt(), 42);
    QVERIFY(m_device.command(progress.arg("1")).startsWith(QLatin1String("ok")));
    QTRY_VERIFY(!dialog->isVisible());
}

QX8_TEST_MAIN(TestWizardScreen)
#include "tst_wizardscreen.moc"
