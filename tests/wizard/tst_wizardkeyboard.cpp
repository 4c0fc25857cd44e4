// The wizard screen worked with the keyboard alone against VirtualQX8's wizards: the menu and a
// list page answered by the list's cursor and the page's buttons, the exit question by Escape and
// Enter, the options' exclusive choices and switches, the amplifier dial and a channel spin box
// by their keys. Each reaches the wire as the mouse's gesture does.
#include "keyboardwalk.h"
#include "testmain.h"
#include "viewloader.h"
#include "wizardscreenfixture.h"

#include <QQuickItem>
#include <QQuickView>
#include <QtTest>

namespace {

const QString kWizard = QStringLiteral(R"(\\Node\Wizard\SV\)");
const QString kChoices = QStringLiteral(R"(\\Node\SetupWizardCurrentChoices\SV\)");

} // namespace

class TestWizardKeyboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void menuAndListAnsweredByKeys();
    void aNewStepKeepsTheKeyboardsPlace();
    void optionsByKeys();
    void dialAndSpinBoxStepByKeys();

private:
    QQuickWindow* window() { return m_screen.shell().loader()->view(); }
    // Presses Tab until the item named `objectName` holds the focus; false when it never does.
    bool tabTo(const QString& objectName);
    void press(Qt::Key key, int times = 1);
    QStringList tabRound();

    WizardScreenFixture m_screen;
};

void TestWizardKeyboard::initTestCase()
{
    QVERIFY(m_screen.start());
}

void TestWizardKeyboard::init()
{
    m_screen.command(QStringLiteral("wizard-step 0"));
    m_screen.showMenu();
    window()->contentItem()->forceActiveFocus();
}

bool TestWizardKeyboard::tabTo(const QString& objectName)
{
    for (int press = 0; press < 100; ++press) {
        const QQuickItem* focused = window()->activeFocusItem();
        if (focused && focused->objectName() == objectName && focused->isVisible())
            return true;
        QTest::keyClick(window(), Qt::Key_Tab);
    }
    return false;
}

void TestWizardKeyboard::press(Qt::Key key, int times)
{
    for (int time = 0; time < times; ++time)
        QTest::keyClick(window(), key);
}

// The object names of one round of Tab's stops, once every stop is there.
QStringList TestWizardKeyboard::tabRound()
{
    QStringList names;
    for (const QQuickItem* stop : keyboardwalk::tabRound(window()))
        names << stop->objectName();
    return names;
}

// The menu is the menu bar and one list: its cursor runs a row as a click does; a list page's
// answer and Next go by Space and Enter; Escape on the exit question stays in the wizard and
// gives the focus back to Wizards, Enter leaves it.
void TestWizardKeyboard::menuAndListAnsweredByKeys()
{
    QTRY_COMPARE(m_screen.itemsNamed(QStringLiteral("wizardChoiceRow"), m_screen.page()).size(), 6);
    const QStringList menuBar = {"menuDiscoveryButton",   "menuWizardButton",    "menuHelpButton",
                                 "menuPresetsButton",     "menuUtilitiesButton", "menuHomeButton",
                                 "menuOutputMetersButton"};
    QCOMPARE(tabRound(), menuBar + QStringList{"wizardChoiceCursor"});

    const int from = m_screen.device().received().size();
    QVERIFY(tabTo(QStringLiteral("wizardChoiceCursor")));
    press(Qt::Key_Home);
    press(Qt::Key_Down, 2);
    press(Qt::Key_Return);
    m_screen.waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("PromptRtaMic"));
    QTRY_COMPARE(m_screen.pageTitle(), QStringLiteral("Do you have RTA Mic?"));

    window()->contentItem()->forceActiveFocus();
    QVERIFY(tabTo(QStringLiteral("wizardChoiceCursor")));
    press(Qt::Key_End);
    press(Qt::Key_Space);
    QVERIFY(tabTo(QStringLiteral("wizardNextButton")));
    m_screen.screenshot(QStringLiteral("wizard-keyboard-next"));
    press(Qt::Key_Return);
    m_screen.waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("PromptAutoEQChoice"));

    QVERIFY(tabTo(QStringLiteral("menuWizardButton")));
    press(Qt::Key_Return);
    QQuickItem* question = m_screen.shell().root()->findChild<QQuickItem*>("exitWizardDialog");
    QVERIFY(question && question->isVisible());
    press(Qt::Key_Escape);
    QVERIFY(!question->isVisible());
    QCOMPARE(window()->activeFocusItem()->objectName(), QStringLiteral("menuWizardButton"));
    press(Qt::Key_Space);
    QVERIFY(question->isVisible());
    press(Qt::Key_Return);
    m_screen.waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("Inactive"));
    QCOMPARE(m_screen.writes(from), QStringList({setLine(kWizard + "WizardState", "StartAutoEQ"),
                                                 setLine(kWizard + "WizardChoice", "Yes"),
                                                 setLine(kWizard + "WizardEvent", "Next"),
                                                 setLine(kWizard + "WizardEvent", "Exit")}));
}

// Every step brings its own page: the keyboard's focus goes to the new page's list when a row of
// the menu's list started the wizard, and stays on Next when Next went on, so the next key acts
// there and not at the top of the window.
void TestWizardKeyboard::aNewStepKeepsTheKeyboardsPlace()
{
    const auto focusedName = [this] {
        const QQuickItem* focused = window()->activeFocusItem();
        return focused ? focused->objectName() : QString();
    };
    QTRY_COMPARE(m_screen.itemsNamed(QStringLiteral("wizardChoiceRow"), m_screen.page()).size(), 6);
    QVERIFY(tabTo(QStringLiteral("wizardChoiceCursor")));
    press(Qt::Key_Home);
    press(Qt::Key_Down, 2);
    press(Qt::Key_Return);
    m_screen.waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("PromptRtaMic"));
    QTRY_COMPARE(focusedName(), QStringLiteral("wizardChoiceCursor"));
    press(Qt::Key_End);
    press(Qt::Key_Space);
    QVERIFY(tabTo(QStringLiteral("wizardNextButton")));
    press(Qt::Key_Return);
    m_screen.waitForPage(QStringLiteral("wizardListPage"), QStringLiteral("PromptAutoEQChoice"));
    QTRY_COMPARE(focusedName(), QStringLiteral("wizardNextButton"));
}

// On the options page Tab stops at each choice, each switch and Back; an arrow moves an exclusive
// choice to its neighbour, Space turns a switch.
void TestWizardKeyboard::optionsByKeys()
{
    QVERIFY(tabTo(QStringLiteral("wizardChoiceCursor")));
    press(Qt::Key_End);
    press(Qt::Key_Up);
    press(Qt::Key_Return);
    QTRY_VERIFY(m_screen.showsPage(QStringLiteral("wizardOptionsPage")));
    QTRY_VERIFY(m_screen.visibleItem(QStringLiteral("optionSwitch"))->isEnabled());
    const QStringList page = tabRound().mid(7);
    QCOMPARE(page,
             QStringList({"optionChoice", "optionChoice", "optionChoice", "optionSwitch",
                          "optionChoice", "optionChoice", "optionSwitch", "wizardBackButton"}));

    m_screen.setOnDevice(QStringLiteral(R"(Node\Wizard\SV\TargetCurve)"),
                         QStringLiteral("Recommended PA Curve"));
    m_screen.setOnDevice(QStringLiteral(R"(Node\Wizard\SV\LevelAssistAutoTrim)"),
                         QStringLiteral("On"));
    QTRY_VERIFY(
        m_screen.itemsNamed(QStringLiteral("optionChoice")).first()->property("checked").toBool());
    const int from = m_screen.device().received().size();
    QVERIFY(tabTo(QStringLiteral("optionChoice")));
    press(Qt::Key_Right);
    QVERIFY(tabTo(QStringLiteral("optionSwitch")));
    press(Qt::Key_Space);
    const QString trim = setLine(kWizard + "LevelAssistAutoTrim", "Off");
    QTRY_VERIFY(m_screen.device().received().mid(from).contains(trim));
    QCOMPARE(m_screen.writes(from), QStringList({setLine(kWizard + "TargetCurve", "Flat"), trim}));
}

// The dial steps as its "-" and "+" do, ten at a time by the page keys; a spin box steps as its
// buttons do.
void TestWizardKeyboard::dialAndSpinBoxStepByKeys()
{
    const QString level = kChoices + "HighAmplifierLevel";
    m_screen.setOnDevice(level.mid(2), QStringLiteral("50"));
    m_screen.command(QStringLiteral("wizard-step -1"));
    m_screen.forceState(QStringLiteral("SelectHighAmplifierLevel"));
    m_screen.waitForPage(QStringLiteral("wizardDialPage"),
                         QStringLiteral("SelectHighAmplifierLevel"));
    QTRY_COMPARE(m_screen.visibleItem(QStringLiteral("dialValue"))->property("text").toString(),
                 QStringLiteral("50%"));
    int from = m_screen.device().received().size();
    QVERIFY(tabTo(QStringLiteral("levelDial")));
    press(Qt::Key_Up);
    QTRY_VERIFY(m_screen.device().received().mid(from).contains(setLine(level, "51")));
    press(Qt::Key_PageDown);
    QTRY_VERIFY(m_screen.device().received().mid(from).contains(setLine(level, "41")));
    QCOMPARE(m_screen.writes(from), QStringList({setLine(level, "51"), setLine(level, "41")}));

    const QString channel = kChoices + "Channel_1_OrvellinkInputAssignment";
    m_screen.setOnDevice(channel.mid(2), QStringLiteral("9"));
    m_screen.forceState(QStringLiteral("OrvellinkInputStartChannel"));
    m_screen.waitForPage(QStringLiteral("wizardFormPage"),
                         QStringLiteral("OrvellinkInputStartChannel"));
    QTRY_COMPARE(m_screen.visibleItem(QStringLiteral("formSpinBox"))->property("value").toInt(), 9);
    from = m_screen.device().received().size();
    QVERIFY(tabTo(QStringLiteral("formSpinBox")));
    press(Qt::Key_Right);
    QTRY_VERIFY(m_screen.device().received().mid(from).contains(setLine(channel, "10")));
    QCOMPARE(m_screen.writes(from), QStringList({setLine(channel, "10")}));
    m_screen.command(QStringLiteral("wizard-step 0"));
}

QX8_TEST_MAIN(TestWizardKeyboard)
#include "tst_wizardkeyboard.moc"
