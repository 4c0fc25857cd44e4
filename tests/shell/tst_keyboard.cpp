// The screens worked with the keyboard alone, in the application against VirtualQX8 (with its FTP
// server, for the presets screen). Every page: one round of Tab stops at every shown and enabled
// control once, the menu bar first, Shift+Tab goes the same way back, and a control still waiting
// for its value is not a stop. Every kind of control, focused by Tab and worked by its keys,
// writes what its mouse gesture writes; dialogs take the focus, answer Enter and Escape, keep Tab
// inside and give the focus back; Escape closes the help picture. The focus ring shows on a
// control the keyboard reached, never on one a click worked. QX8_SCREENSHOT_DIR, when set,
// receives pictures of a focused control on a block page, the mixer and a dialog.
#include "consolelinebuilder.h"
#include "devicemodel.h"
#include "keyboardwalk.h"
#include "knownvalueswatch.h"
#include "pagesession.h"
#include "qx8settings.h"
#include "testharness.h"
#include "testmain.h"
#include "viewloader.h"

#include <QMetaEnum>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickView>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QtTest>

namespace {

// A page of the binding table the keyboard walk takes: every page but the shell's own parts and
// the configuration screens (the configurable home screen is off).
bool isWalkedPage(const DeviceModel::Screen& screen)
{
    static const QStringList skipped = {"main.qml", "ScreenWizard.qml", "ConfigOverlay.qml",
                                        "CustomKaloHomeScreen.qml", "ManageTunings.qml"};
    return !screen.everyPage && !skipped.contains(screen.page);
}

// The first item in and below `under` named `name` that binds `variable` (any, when empty).
QQuickItem* findItem(QQuickItem* under, const QString& name, const QString& variable = {})
{
    const QVariant bound = under->property("stateVariableName");
    if (under->isVisible() && under->objectName() == name &&
        (variable.isEmpty() || bound.toString() == variable))
        return under;
    for (QQuickItem* child : under->childItems()) {
        if (QQuickItem* found = findItem(child, name, variable))
            return found;
    }
    return nullptr;
}

// The stop of a round that `focused` stands for: an editable box's field counts as the box.
QQuickItem* stopOf(QQuickItem* focused, const QList<QQuickItem*>& stops)
{
    for (QQuickItem* up = focused; up; up = up->parentItem()) {
        if (stops.contains(up))
            return up;
    }
    return focused;
}

// The focus is on `item` or on an item inside it.
bool holdsFocus(const QQuickItem* item)
{
    return item && item->window() &&
           !keyboardwalk::within({item->window()->activeFocusItem()}, item).isEmpty();
}

// The focus ring drawn for `control` (its FocusFrame child), shown or not.
bool ringShown(QQuickItem* control)
{
    for (QQuickItem* child : control->childItems()) {
        if (QString::fromLatin1(child->metaObject()->className()).startsWith("FocusFrame"))
            return child->isVisible();
    }
    return false;
}

// "Key_Return Key_Down" as keys.
QList<Qt::Key> keysOf(const QString& names)
{
    const QMetaEnum keys = QMetaEnum::fromType<Qt::Key>();
    QList<Qt::Key> parsed;
    for (const QString& name : names.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        parsed << Qt::Key(keys.keyToValue(qPrintable(name)));
    return parsed;
}

QString setLine(const QString& object, const QString& variable, const QString& value,
                const QString& valueType = {})
{
    return QStringLiteral("set \"%1%2\" \"%3\"")
        .arg(ConsoleLineBuilder::pathBody(object, variable), valueType, value);
}

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void tabStopsAtEveryControlOnce_data();
    void tabStopsAtEveryControlOnce();
    void controlWithoutItsValueIsNoStop();
    void slotWithoutItsNameIsNotTaken();
    void keysWriteWhatTheMouseWrites_data();
    void keysWriteWhatTheMouseWrites();
    void bandSelectorFollowsTheArrows();
    void ringShowsOnlyForTheKeyboard();
    void confirmationTakesEnterAndEscape();
    void nameDialogKeepsEnterForItsField();
    void noticeClosesOnEscape();
    void helpPictureClosesOnEscape();
    void splashIsWorkedByTheKeyboard();
    void nameBoxTypedOverAfterTab();

private:
    QQuickWindow* window() { return m_session.shell().loader()->view(); }
    // Loads the page, its controls with their values and drawn, the focus at the window's start.
    bool loadPage(const QString& page, const QString& selector = {});
    // Presses Tab until `target` holds the focus; false when it never does.
    bool tabTo(QQuickItem* target);
    void press(const QString& keys);
    // The set lines the device received from the `from`th line on, once it has them all.
    QStringList setsSince(int from);
    // Waits until the device has received `line` from its `from`th line on.
    bool receivedSince(int from, const QString& line);
    QQuickItem* presetsDialog(const QString& name);
    // On the presets screen, slot `slot` chosen with the keyboard.
    bool chooseSlotByKeys(int slot);

    PageSession m_session;
};

void TestKeyboard::initTestCase()
{
    QVERIFY(m_session.start({"--ftp-port", "21"}));
}

void TestKeyboard::cleanupTestCase()
{
    m_session.stop();
}

void TestKeyboard::cleanup()
{
    m_session.unload();
}

bool TestKeyboard::loadPage(const QString& page, const QString& selector)
{
    // A page's controls are made once the device has listed its preset's objects.
    const auto listed = [this] {
        return !QQmlProperty::read(m_session.shell().pageItem(), "listing").toBool();
    };
    if (!m_session.load(page, selector) || !QTest::qWaitFor(listed, qx8test::timeoutMs()) ||
        !m_session.waitForValues(qx8test::timeoutMs()).isEmpty() || !m_session.waitForFrame())
        return false;
    window()->contentItem()->forceActiveFocus();
    return true;
}

bool TestKeyboard::tabTo(QQuickItem* target)
{
    for (int press = 0; target && press < 400; ++press) {
        if (holdsFocus(target))
            return true;
        QTest::keyClick(window(), Qt::Key_Tab);
    }
    return false;
}

void TestKeyboard::press(const QString& keys)
{
    for (const Qt::Key key : keysOf(keys))
        QTest::keyClick(window(), key);
}

QStringList TestKeyboard::setsSince(int from)
{
    return m_session.device()
        .receivedUntilProbe([] { ShellFixture::sendProbe(); }, from)
        .filter(QRegularExpression(QStringLiteral("^set ")));
}

bool TestKeyboard::receivedSince(int from, const QString& line)
{
    return QTest::qWaitFor([&] { return m_session.device().received().mid(from).contains(line); },
                           qx8test::timeoutMs());
}

void TestKeyboard::tabStopsAtEveryControlOnce_data()
{
    addPageRows(DeviceModel::fromResources(), isWalkedPage);
}

void TestKeyboard::tabStopsAtEveryControlOnce()
{
    QFETCH(QString, page);
    QFETCH(QString, selector);
    QVERIFY(loadPage(page, selector));
    const QList<QQuickItem*> stops = keyboardwalk::tabStops(window()->contentItem());
    QList<QQuickItem*> round;
    for (QQuickItem* focused : keyboardwalk::tabRound(window()))
        round << stopOf(focused, stops);
    QVERIFY2(!round.isEmpty(), "Tab never came round");

    // Every stop once, and nothing else.
    const QSet<QQuickItem*> visited(round.begin(), round.end());
    QCOMPARE(visited.size(), round.size());
    QVERIFY2(visited == QSet<QQuickItem*>(stops.begin(), stops.end()),
             qPrintable("round:\n" + keyboardwalk::describe(round) + "\nstops:\n" +
                        keyboardwalk::describe(stops)));

    // The menu bar's buttons first, where the screen has one.
    if (QQuickItem* menuBar = findItem(window()->contentItem(), QStringLiteral("menuBar"))) {
        const QList<QQuickItem*> menu = keyboardwalk::within(stops, menuBar);
        QVERIFY(!menu.isEmpty());
        QCOMPARE(round.mid(0, menu.size()), menu);
    }

    // In reading order: never back up and to the left.
    for (int i = 1; i < round.size(); ++i) {
        const QRectF before = round.at(i - 1)->mapRectToScene(round.at(i - 1)->boundingRect());
        const QPointF at = round.at(i)->mapToScene(QPointF(0, 0));
        QVERIFY2(at.y() >= before.top() || at.x() >= before.left(),
                 qPrintable(keyboardwalk::describe(round.at(i - 1)) + " before " +
                            keyboardwalk::describe(round.at(i))));
    }

    // Shift+Tab takes the same way back.
    QList<QQuickItem*> back;
    for (QQuickItem* focused : keyboardwalk::tabRound(window(), true))
        back.prepend(stopOf(focused, stops));
    QCOMPARE(back.size(), round.size());
    std::rotate(back.begin(), back.begin() + back.indexOf(round.first()), back.end());
    QCOMPARE(back, round);
}

// A control that has not had its value takes no gesture, so the keyboard passes it by: with the
// device ignoring subscriptions the compressor page's controls never get theirs.
void TestKeyboard::controlWithoutItsValueIsNoStop()
{
    VirtualProcessor& device = m_session.device();
    QCOMPARE(device.command("fault ignore-command=sub"), QStringLiteral("ok"));
    auto answer = qScopeGuard([&] {
        m_session.unload();
        device.command("fault ignore-command off");
    });
    QVERIFY(m_session.load(QStringLiteral("QX8Compressor.qml")));
    QTRY_VERIFY(findItem(m_session.shell().pageItem(), QStringLiteral("onOffButton")));
    QVERIFY(m_session.waitForFrame());
    window()->contentItem()->forceActiveFocus();
    const QList<QQuickItem*> round = keyboardwalk::tabRound(window());
    QQuickItem* menuBar = findItem(window()->contentItem(), QStringLiteral("menuBar"));
    QVERIFY(!round.isEmpty());
    QCOMPARE(keyboardwalk::within(round, menuBar), round);
}

// A preset slot takes no click before its name has come, nor the keys: over a slow link the
// slots' cursor takes none, then takes one once the names are in.
void TestKeyboard::slotWithoutItsNameIsNotTaken()
{
    const auto selected = [this] {
        return QQmlProperty::read(m_session.shell().pageItem(), "selectedSlot").toInt();
    };
    {
        const SlowConsole slow(m_session.device());
        QVERIFY(slow.isSlow());
        QVERIFY(m_session.load(QStringLiteral("ScreenPresets.qml")));
        QVERIFY(tabTo(findItem(m_session.shell().pageItem(), QStringLiteral("slotCursor"))));
        QVERIFY(!findItem(m_session.shell().pageItem(), QStringLiteral("slotRow2"))->isEnabled());
        press(QStringLiteral("Key_Down Key_Space"));
        QCOMPARE(selected(), 0);
    }
    QTRY_VERIFY_WITH_TIMEOUT(
        findItem(m_session.shell().pageItem(), QStringLiteral("slotRow2"))->isEnabled(),
        qx8test::timeoutMs());
    press(QStringLiteral("Key_Down Key_Space"));
    QCOMPARE(selected(), 2);
}

void TestKeyboard::keysWriteWhatTheMouseWrites_data()
{
    struct Row
    {
        const char* name;
        const char* page;
        const char* selector;
        const char* held; // "<object> <variable>=<value>", set on the device first
        const char* focused;
        const char* variable;
        const char* keys;
        QStringList written;
        // The mouse's way to the same lines: a click on each of these ("<name>:<variable>"),
        // none where the mouse drags (a drag of one step).
        QStringList clicks;
    };
    const auto threshold = [](int value) {
        return setLine("Compressor", "Threshold", QString::number(value));
    };
    QStringList tenUp;
    QStringList tenClicks;
    for (int value = -29; value <= -20; ++value) {
        tenUp << threshold(value);
        tenClicks << QStringLiteral("nudgeUp:Threshold");
    }
    // clang-format off
    const Row rows[] = {
        {"switch by Space", "QX8Compressor.qml", "", "Compressor Compressor=1", "onOffButton", "",
         "Key_Space", {setLine("Compressor", "Compressor", "0")}, {"onOffButton"}},
        {"step button by Enter", "QX8Compressor.qml", "", "Compressor Threshold=-20", "nudgeUp",
         "Threshold", "Key_Return", {threshold(-19)}, {"nudgeUp:Threshold"}},
        {"step buttons by Down and Left", "QX8Compressor.qml", "", "Compressor Threshold=-20",
         "nudgeUp", "Threshold", "Key_Down Key_Left", {threshold(-21), threshold(-22)},
         {"nudgeDown:Threshold", "nudgeDown:Threshold"}},
        {"ten steps by Page Up", "QX8Compressor.qml", "", "Compressor Threshold=-30", "nudgeDown",
         "Threshold", "Key_PageUp", tenUp, tenClicks},
        {"release time by Up, as its +", "QX8Compressor.qml", "", "Compressor Release=150",
         "nudgeDown", "Release", "Key_Up", {setLine("Compressor", "Release", "155")},
         {"nudgeUp:Release"}},
        {"delay field by Up, as its +", "ScreenDelay.qml", "", "HighDelay Amount=2.5",
         "amountField", "Amount", "Key_Up", {setLine("HighDelay", "Amount", "2.56ms")},
         {"nudgeUp:Amount"}},
        {"typed delay written before Up steps on", "ScreenDelay.qml", "", "HighDelay Amount=2.5",
         "amountField", "Amount", "Key_End Key_Backspace Key_Backspace Key_Backspace "
         "Key_Backspace Key_3 Key_Up", {setLine("HighDelay", "Amount", "3ms"),
         setLine("HighDelay", "Amount", "3.06ms")}, {}},
        {"delay typed over after Tab", "ScreenDelay.qml", "", "HighDelay Amount=2.5",
         "amountField", "Amount", "Key_7 Key_Return", {setLine("HighDelay", "Amount", "7ms")}, {}},
        {"mixer fader by Up", "ScreenMixer.qml", "StereoMixer", "StereoMixer Input_1_Gain=-10",
         "fader", "Input_1_Gain", "Key_Up", {setLine("StereoMixer", "Input_1_Gain", "-9.9")}, {}},
        {"mixer fader by Page Down", "ScreenMixer.qml", "StereoMixer",
         "StereoMixer Input_1_Gain=-10", "fader", "Input_1_Gain", "Key_PageDown",
         {setLine("StereoMixer", "Input_1_Gain", "-11")}, {}},
        {"mute by Enter", "ScreenMixer.qml", "StereoMixer", "StereoMixer Input_1_Mute=0", "mute",
         "Input_1_Mute", "Key_Return", {setLine("StereoMixer", "Input_1_Mute", "1")},
         {"mute:Input_1_Mute"}},
        {"slider by Right", "QX8SubHarmonic.qml", "", "SubharmonicSynth Subharmonics=50",
         "slider", "Subharmonics", "Key_Right",
         {setLine("SubharmonicSynth", "Subharmonics", "51", "%")}, {}},
        {"choice opened and picked by Enter", "CrossOver.qml", "",
         "Crossover Band_1_HPType=LR 24", "choice", "Band_1_HPType",
         "Key_Return Key_Down Key_Return", {setLine("Crossover", "Band_1_HPType", "LR 36")}, {}},
        {"exclusive choice by Right", "ScreenInputRouter.qml", "",
         "InputRouter Slot1Source=Analog1", "Slot1Source_Analog1", "", "Key_Right",
         {setLine("InputRouter", "Slot1Source", "Analog2")}, {"Slot1Source_Analog2"}},
        {"signal type by Right", "ScreenSigGen.qml", "", "SignalGenerator Signal Type=Pink Noise",
         "type_Pink Noise", "", "Key_Right",
         {setLine("SignalGenerator", "Signal Type", "White Noise")}, {"type_White Noise"}},
        {"graphic EQ band by Right, gain by Up", "QX8GEQ.qml", "StereoGEQ", "StereoGEQ 25 Hz=0",
         "geqPanel", "", "Key_Right Key_Up", {setLine("StereoGEQ", "25 Hz", "0.1")}, {}},
    };
    // clang-format on
    for (const char* column : {"page", "selector", "held", "focused", "variable", "keys"})
        QTest::addColumn<QString>(column);
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QStringList>("clicks");
    for (const Row& row : rows) {
        QTest::newRow(row.name) << QString(row.page) << QString(row.selector) << QString(row.held)
                                << QString(row.focused) << QString(row.variable)
                                << QString(row.keys) << row.written << row.clicks;
    }
}

// Each control, reached by Tab from the page's start and worked by its keys, writes the lines its
// mouse gesture writes from the same value (clicks on the step button that steps the same way,
// a drag of one step), and only those.
void TestKeyboard::keysWriteWhatTheMouseWrites()
{
    QFETCH(QString, page);
    QFETCH(QString, selector);
    QFETCH(QString, held);
    QFETCH(QString, focused);
    QFETCH(QString, variable);
    QFETCH(QString, keys);
    QFETCH(QStringList, written);
    QFETCH(QStringList, clicks);

    const int blank = held.indexOf(QLatin1Char(' '));
    const int equals = held.indexOf(QLatin1Char('='));
    const QString hold = QStringLiteral("set \"%1\" \"%2\"")
                             .arg(ConsoleLineBuilder::pathBody(
                                      held.left(blank), held.mid(blank + 1, equals - blank - 1)),
                                  held.mid(equals + 1));
    const auto loadHolding = [&] {
        m_session.unload();
        return m_session.device().command(hold).startsWith(QLatin1String("ok")) &&
               loadPage(page, selector);
    };

    if (!clicks.isEmpty()) {
        QVERIFY(loadHolding());
        const int wireBefore = m_session.device().received().size();
        for (int i = 0; i < clicks.size(); ++i) {
            const QStringList names = clicks.at(i).split(QLatin1Char(':'));
            QQuickItem* clicked =
                findItem(m_session.shell().pageItem(), names.first(), names.value(1));
            QVERIFY2(clicked, qPrintable(clicks.at(i)));
            QTest::mouseClick(window(), Qt::LeftButton, {},
                              clicked->mapToScene(clicked->boundingRect().center()).toPoint());
            QVERIFY2(receivedSince(wireBefore, written.at(i)),
                     qPrintable(setsSince(wireBefore).join('\n')));
        }
        QCOMPARE(setsSince(wireBefore), written);
    }

    QVERIFY(loadHolding());
    QQuickItem* target = findItem(m_session.shell().pageItem(), focused, variable);
    QVERIFY(tabTo(target));
    const int wireBefore = m_session.device().received().size();
    press(keys);
    QVERIFY2(receivedSince(wireBefore, written.last()),
             qPrintable(setsSince(wireBefore).join('\n')));
    QCOMPARE(setsSince(wireBefore), written);
}

// The graph's band buttons are one choice: an arrow selects the neighbouring band, whose cells
// then show, and takes the focus there.
void TestKeyboard::bandSelectorFollowsTheArrows()
{
    QVERIFY(loadPage(QStringLiteral("QX8PEQ.qml"), QStringLiteral("High")));
    QQuickItem* pageItem = m_session.shell().pageItem();
    QVERIFY(tabTo(findItem(pageItem, QStringLiteral("band_1"))));
    press(QStringLiteral("Key_Right Key_Right Key_Left"));
    QQuickItem* second = findItem(pageItem, QStringLiteral("band_2"));
    QVERIFY(second->hasActiveFocus() && second->property("checked").toBool());
    QTRY_VERIFY(findItem(pageItem, QStringLiteral("nudgeUp"), QStringLiteral("Band_2_Gain")));
}

// Tab shows the ring on the control it reached; a click works a control without taking the focus
// from there, and leaves no ring on what it clicked.
void TestKeyboard::ringShowsOnlyForTheKeyboard()
{
    QVERIFY(loadPage(QStringLiteral("QX8Compressor.qml")));
    QQuickItem* pageItem = m_session.shell().pageItem();
    QQuickItem* onOff = findItem(pageItem, QStringLiteral("onOffButton"));
    QQuickItem* step = findItem(pageItem, QStringLiteral("nudgeUp"), QStringLiteral("Threshold"));
    QVERIFY(onOff && step);
    QVERIFY(!ringShown(onOff));
    QVERIFY(tabTo(step));
    QVERIFY(ringShown(step));
    m_session.shell().screenshot(QStringLiteral("keyboard-block-page.png"));

    const QPoint centre = onOff->mapToScene(onOff->boundingRect().center()).toPoint();
    QTest::mouseClick(window(), Qt::LeftButton, {}, centre);
    QVERIFY(step->hasActiveFocus());
    QVERIFY(ringShown(step));
    QVERIFY(!ringShown(onOff));

    QVERIFY(loadPage(QStringLiteral("ScreenMixer.qml"), QStringLiteral("StereoMixer")));
    QQuickItem* fader = findItem(m_session.shell().pageItem(), QStringLiteral("fader"),
                                 QStringLiteral("Input_2_Gain"));
    QVERIFY(tabTo(fader));
    QVERIFY(ringShown(fader));
    QVERIFY(m_session.waitForFrame());
    m_session.shell().screenshot(QStringLiteral("keyboard-mixer.png"));
}

QQuickItem* TestKeyboard::presetsDialog(const QString& name)
{
    return m_session.shell().root()->findChild<QQuickItem*>(name);
}

bool TestKeyboard::chooseSlotByKeys(int slot)
{
    QQuickItem* cursor = findItem(m_session.shell().pageItem(), QStringLiteral("slotCursor"));
    if (!tabTo(cursor))
        return false;
    press(QStringLiteral("Key_Home"));
    for (int row = 1; row < slot; ++row)
        press(QStringLiteral("Key_Down"));
    press(QStringLiteral("Key_Space"));
    return QQmlProperty::read(m_session.shell().pageItem(), "selectedSlot").toInt() == slot;
}

// A confirmation holds the focus while open: Escape presses Cancel and gives the focus back to the
// button that opened it, ringed; Tab goes round OK and Cancel only, and Enter presses the one it
// is on; on a dialog just opened Enter presses OK.
void TestKeyboard::confirmationTakesEnterAndEscape()
{
    QVERIFY(loadPage(QStringLiteral("ScreenPresets.qml")));
    QVERIFY(chooseSlotByKeys(2));
    QQuickItem* recall = findItem(m_session.shell().pageItem(), QStringLiteral("recallButton"));
    QQuickItem* dialog = presetsDialog(QStringLiteral("confirmDialog"));
    QVERIFY(recall && dialog);
    QVERIFY(tabTo(recall));

    const int wireBefore = m_session.device().received().size();
    press(QStringLiteral("Key_Return"));
    QVERIFY(dialog->isVisible());
    QVERIFY(holdsFocus(dialog));
    press(QStringLiteral("Key_Escape"));
    QVERIFY(!dialog->isVisible());
    QVERIFY(recall->hasActiveFocus());
    QVERIFY(ringShown(recall));
    QCOMPARE(setsSince(wireBefore), QStringList());

    press(QStringLiteral("Key_Space"));
    QVERIFY(dialog->isVisible());
    QSet<QQuickItem*> stops;
    for (int press = 0; press < 4; ++press) {
        QTest::keyClick(window(), Qt::Key_Tab);
        QQuickItem* focused = window()->activeFocusItem();
        QVERIFY2(holdsFocus(dialog) && focused->objectName().startsWith("dialog"),
                 qPrintable(keyboardwalk::describe(focused)));
        stops << focused;
    }
    QCOMPARE(stops.size(), 2);
    QVERIFY(window()->activeFocusItem()->objectName() == QLatin1String("dialogCancelButton"));
    m_session.shell().screenshot(QStringLiteral("keyboard-dialog.png"));
    press(QStringLiteral("Key_Return"));
    QVERIFY(!dialog->isVisible());
    QVERIFY(recall->hasActiveFocus());

    press(QStringLiteral("Key_Return"));
    QVERIFY(dialog->isVisible());
    press(QStringLiteral("Key_Return"));
    const QString recalled = QStringLiteral("set \"\\\\Storage\\Presets\\SV\\Recall\\\" \"2\"");
    QVERIFY2(receivedSince(wireBefore, recalled), qPrintable(setsSince(wireBefore).join('\n')));
    QCOMPARE(setsSince(wireBefore), QStringList{recalled});
    QVERIFY(!dialog->isVisible());
}

// The name dialog opens on its field, the proposed name selected; Tab goes from the field to OK
// and Cancel and back; Enter in the field is the field's own accept, which stores the preset once.
void TestKeyboard::nameDialogKeepsEnterForItsField()
{
    QVERIFY(loadPage(QStringLiteral("ScreenPresets.qml")));
    QVERIFY(chooseSlotByKeys(7));
    QQuickItem* store = findItem(m_session.shell().pageItem(), QStringLiteral("storeButton"));
    QQuickItem* dialog = presetsDialog(QStringLiteral("nameDialog"));
    QVERIFY(tabTo(store));
    press(QStringLiteral("Key_Return"));
    QVERIFY(dialog->isVisible());
    QQuickItem* field = findItem(dialog, QStringLiteral("dialogTextField"));
    QVERIFY(field && field->hasActiveFocus());
    // The proposed name is selected, so what is typed replaces it.
    QVERIFY(!field->property("text").toString().isEmpty());
    QCOMPARE(field->property("selectedText"), field->property("text"));

    QStringList round;
    for (int press = 0; press < 3; ++press) {
        QTest::keyClick(window(), Qt::Key_Tab);
        round << window()->activeFocusItem()->objectName();
    }
    QCOMPARE(round, QStringList({"dialogOkButton", "dialogCancelButton", "dialogTextField"}));

    QTest::keyClick(window(), Qt::Key_A, Qt::ControlModifier);
    for (const char letter : {'K', 'e', 'y', 's'})
        QTest::keyClick(window(), letter);
    const int wireBefore = m_session.device().received().size();
    press(QStringLiteral("Key_Return"));
    const QString presets = QStringLiteral("set \"\\\\Storage\\Presets\\SV\\");
    const QStringList stored = {presets + "Store\\\" \"7\"", presets + "Name_7\\\" \"Keys\"",
                                presets + "RenamePreset\\\" \"7\""};
    QVERIFY2(receivedSince(wireBefore, stored.last()),
             qPrintable(setsSince(wireBefore).join('\n')));
    QCOMPARE(setsSince(wireBefore), stored);
    QVERIFY(!dialog->isVisible());
    QVERIFY(store->hasActiveFocus());
}

// A notice with only OK closes on Escape, as its OK would close it.
void TestKeyboard::noticeClosesOnEscape()
{
    QVERIFY(loadPage(QStringLiteral("ScreenPresets.qml")));
    QQuickItem* notice = presetsDialog(QStringLiteral("messageDialog"));
    QVERIFY(QMetaObject::invokeMethod(m_session.shell().pageItem(), "showMessage",
                                      Q_ARG(QVariant, QStringLiteral("Tunings updated."))));
    QVERIFY(notice->isVisible() && holdsFocus(notice));
    press(QStringLiteral("Key_Escape"));
    QVERIFY(!notice->isVisible());
    QVERIFY(!holdsFocus(notice));
}

// Escape closes the help picture, and the focus is back on Help.
void TestKeyboard::helpPictureClosesOnEscape()
{
    QVERIFY(m_session.open(QStringLiteral("HomeButtonPressed"), QString(),
                           QStringLiteral("QX8HomeScreen.qml")));
    QQuickItem* help = m_session.waitForItem(QStringLiteral("menuHelpButton"));
    auto* overlay = m_session.shell().root()->findChild<QQuickItem*>(QStringLiteral("helpOverlay"));
    QVERIFY(help && overlay);
    window()->contentItem()->forceActiveFocus();
    QVERIFY(tabTo(help));
    press(QStringLiteral("Key_Return"));
    QVERIFY(overlay->property("visible").toBool());
    press(QStringLiteral("Key_Tab"));
    QVERIFY(holdsFocus(overlay));
    press(QStringLiteral("Key_Escape"));
    QVERIFY(!overlay->property("visible").toBool());
    QVERIFY(help->hasActiveFocus());
    QVERIFY(ringShown(help));
}

// The splash shown over the discovery page, as at every start: its search and its link are the
// stops, the page under it none, and Enter asks for the search as a click does.
void TestKeyboard::splashIsWorkedByTheKeyboard()
{
    QObject* root = m_session.shell().root();
    auto* splash = root->findChild<QQuickItem*>(QStringLiteral("startUpSplash"));
    QVERIFY(splash);
    QVERIFY(root->setProperty("startUpScreenVisible", true));
    const auto hide = qScopeGuard([&] {
        root->setProperty("startUpScreenVisible", false);
        splash->setVisible(false);
    });
    QVERIFY(loadPage(QStringLiteral("QX8Discovery.qml")));
    QVERIFY(splash->isVisible());
    auto* search = splash->findChild<QQuickItem*>(QStringLiteral("searchForDevicesButton"));
    auto* link = splash->findChild<QQuickItem*>(QStringLiteral("watchDemoLink"));
    QVERIFY(search && link);
    QSignalSpy searches(splash, SIGNAL(searchRequested()));

    press(QStringLiteral("Key_Tab"));
    QVERIFY2(search->hasActiveFocus(), qPrintable(window()->activeFocusItem()->objectName()));
    QVERIFY(ringShown(search));
    press(QStringLiteral("Key_Tab"));
    QVERIFY(link->hasActiveFocus());
    QVERIFY(ringShown(link));
    press(QStringLiteral("Key_Tab"));
    QVERIFY(search->hasActiveFocus());
    press(QStringLiteral("Key_Return"));
    QCOMPARE(searches.count(), 1);
}

// A name box reached by Tab holds its name selected: what is typed replaces it.
void TestKeyboard::nameBoxTypedOverAfterTab()
{
    const QString path =
        QStringLiteral("\\\\Node\\SetupWizardCurrentChoices\\SV\\Channel_5_OrvellinkInputName\\");
    VirtualProcessor& device = m_session.device();
    QVERIFY(device.command(QStringLiteral("set \"%1\" \"Orvel 5\"").arg(path)).startsWith("ok"));
    const auto restore =
        qScopeGuard([&] { device.command(QStringLiteral("set \"%1\" \"Orvel 5\"").arg(path)); });
    QVERIFY(loadPage(QStringLiteral("ScreenInputRouter.qml")));
    QQuickItem* box = findItem(m_session.shell().pageItem(), QStringLiteral("inputName_5"));
    QVERIFY(box);
    QTRY_COMPARE(box->property("editText").toString(), QStringLiteral("Orvel 5"));
    QVERIFY(tabTo(box));
    const int wireBefore = device.received().size();
    press(QStringLiteral("Key_K Key_I Key_C Key_K Key_Return"));
    const QString written = QStringLiteral("set \"%1\" \"kick\"").arg(path);
    QVERIFY2(receivedSince(wireBefore, written), qPrintable(setsSince(wireBefore).join('\n')));
    QCOMPARE(device.command(QStringLiteral("value \"%1\"").arg(path)), QStringLiteral("ok kick"));
}

QX8_TEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
