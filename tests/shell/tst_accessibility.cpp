// Every screen of the application against VirtualQX8, read as a screen reader reads it: through
// Qt's accessibility interfaces, from the window down. No control shown goes without a role and
// a name, and none lies out of the reader's reach; each page's root is named after the heading it
// shows; a value control says its label and the value it shows, and follows the device; every
// text field is read to its end; no interface tells the password typed into the password dialog.
#include "fieldleaving.h"
#include "homescreenmodel.h"
#include "pagesession.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "testharness.h"
#include "testmain.h"
#include "tst_discoverynetwork.h"
#include "viewloader.h"
#include "virtualprocessor.h"
#include "wizardstatetable.h"

#include <QAccessible>
#include <QApplication>
#include <QProcess>
#include <QQuickItem>
#include <QQuickView>
#include <QScopeGuard>
#include <QtTest>

#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace {

bool isInteractive(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::Slider:
    case QAccessible::Dial:
    case QAccessible::SpinBox:
    case QAccessible::EditableText:
    case QAccessible::ListItem:
    case QAccessible::Link:
        return true;
    default:
        return false;
    }
}

// What a user works with: buttons, sliders, choices, fields, and whatever takes clicks.
bool isControl(const QQuickItem* item)
{
    if (item->inherits("QQuickMouseArea"))
        return item->property("acceptedButtons").toInt() != Qt::NoButton;
    return item->inherits("QQuickAbstractButton") || item->inherits("QQuickSlider") ||
           item->inherits("QQuickComboBox") || item->inherits("QQuickSpinBox") ||
           item->inherits("QQuickTextInput");
}

// Declared no business of a screen reader (a click catcher behind a dialog, say).
bool declaredIgnored(const QQuickItem* item)
{
    for (const QObject* child : item->children()) {
        if (child->inherits("QQuickAccessibleAttached"))
            return child->property("ignored").toBool();
    }
    return false;
}

// The item, and the object names above it up to the window: where a finding lies.
QString located(const QObject* object)
{
    QStringList names;
    for (auto* item = qobject_cast<const QQuickItem*>(object); item; item = item->parentItem()) {
        if (!item->objectName().isEmpty())
            names.prepend(item->objectName());
    }
    return QString::fromLatin1(object->metaObject()->className()) + " in " + names.join('/');
}

// What a screen reader finds from the window down, leaving out what is not shown.
struct Reading
{
    QHash<QObject*, QAccessibleInterface*> reached;
    QList<QAccessibleInterface*> controls;

    Reading() = default;
    explicit Reading(QQuickWindow* window)
    {
        // Qt Quick Controls take their roles once an assistive technology is there: as the
        // platform's bridge does when a screen reader starts, this reaches every control made.
        QAccessible::setActive(true);
        read(QAccessible::queryAccessibleInterface(window));
    }

    void read(QAccessibleInterface* iface)
    {
        if (!iface || iface->state().invisible || reached.contains(iface->object()))
            return;
        reached.insert(iface->object(), iface);
        if (isInteractive(iface->role()))
            controls.append(iface);
        for (int i = 0; i < iface->childCount(); ++i)
            read(iface->child(i));
    }

    // The controls shown without a name, and the controls that no named control of the reading
    // stands for (neither they nor an item around them).
    QStringList faults(QQuickItem* root) const
    {
        QStringList found;
        for (QAccessibleInterface* control : controls) {
            if (control->text(QAccessible::Name).trimmed().isEmpty())
                found << "no name: " + located(control->object());
        }
        collectUnreached(root, &found);
        return found;
    }

    void collectUnreached(QQuickItem* item, QStringList* found) const
    {
        if (!item->isVisible() || declaredIgnored(item))
            return;
        if (isControl(item)) {
            QQuickItem* standIn = item;
            while (standIn && !reached.contains(standIn))
                standIn = standIn->parentItem();
            if (!standIn || !isInteractive(reached.value(standIn)->role()))
                *found << "out of reach: " + located(item);
        }
        for (QQuickItem* child : item->childItems())
            collectUnreached(child, found);
    }

    // The control of that name, or null.
    QAccessibleInterface* control(const QString& name) const
    {
        for (QAccessibleInterface* candidate : controls) {
            if (candidate->text(QAccessible::Name) == name)
                return candidate;
        }
        return nullptr;
    }
};

// All a reader can read of an interface: its texts, its value, and its text whole, then at,
// before and after every character by every boundary (character by character, word by word...).
// Not at the end: Qt's own text fields never return from a word asked there.
QStringList readable(QAccessibleInterface* iface)
{
    QStringList texts;
    for (const QAccessible::Text kind :
         {QAccessible::Name, QAccessible::Description, QAccessible::Value, QAccessible::Help,
          QAccessible::Accelerator, QAccessible::DebugDescription, QAccessible::UserText})
        texts << iface->text(kind);
    if (QAccessibleValueInterface* value = iface->valueInterface())
        texts << value->currentValue().toString();
    QAccessibleTextInterface* text = iface->textInterface();
    if (!text)
        return texts;
    const int length = text->characterCount();
    texts << text->text(0, length);
    for (const QAccessible::TextBoundaryType boundary :
         {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
          QAccessible::ParagraphBoundary, QAccessible::LineBoundary, QAccessible::NoBoundary}) {
        QString pieces;
        for (int offset = 0; offset < length; ++offset) {
            int start = 0;
            int end = 0;
            pieces += text->textAtOffset(offset, boundary, &start, &end);
            texts << text->textBeforeOffset(offset, boundary, &start, &end)
                  << text->textAfterOffset(offset, boundary, &start, &end);
        }
        texts << pieces;
    }
    return texts;
}

// Whether the object's interface gives a reader `secret`, in whole or spelt out.
bool tells(QObject* object, const QString& secret)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface && readable(iface).join('|').contains(secret);
}

// The items under `item`, itself included, that tell `secret`.
void collectTelling(QQuickItem* item, const QString& secret, QStringList* found)
{
    if (tells(item, secret))
        *found << located(item);
    for (QQuickItem* child : item->childItems())
        collectTelling(child, secret, found);
}

QString nameOf(QObject* object)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// Kills the processes this program started: the VirtualQX8s, whose FTP servers end with them.
// Left behind by an abort, they would hold its output open, and the test runner would wait.
void killChildren()
{
    QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(getpid()));
    if (!children.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray& child : children.readAll().split(' ')) {
        if (const int pid = child.toInt(); pid > 0)
            kill(pid, SIGKILL);
    }
}

// Ends the test program, saying what it waited for, unless it is dismissed within the harness
// time-out: a reading that never returns fails the run instead of hanging it.
class Watchdog
{
public:
    explicit Watchdog(const QString& waitedFor)
        : m_thread([this, waitedFor] {
            std::unique_lock<std::mutex> lock(m_mutex);
            const std::chrono::milliseconds limit(qx8test::timeoutMs());
            if (m_dismissed.wait_for(lock, limit, [this] { return m_done; }))
                return;
            killChildren();
            qFatal("%s did not return within %lld ms", qPrintable(waitedFor),
                   static_cast<long long>(limit.count()));
        })
    {
    }
    ~Watchdog()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_dismissed.notify_one();
        m_thread.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_dismissed;
    bool m_done = false;
    std::thread m_thread; // last: starts once the rest is made
};

// The text input of a field: the item itself, or the first below it.
QQuickItem* textInputIn(QQuickItem* item)
{
    if (item->inherits("QQuickTextInput"))
        return item;
    for (QQuickItem* child : item->childItems()) {
        if (QQuickItem* input = textInputIn(child))
            return input;
    }
    return nullptr;
}

// Reads the text at, before and after every offset from the end (-1) to the length, by every
// boundary, and walks it piece by piece from the start. The faults: a piece that is not the text
// between the offsets it gives, a walk that does not give back the text whole.
QStringList readingFaults(const QAccessibleTextInterface* text)
{
    using Reading =
        QString (QAccessibleTextInterface::*)(int, QAccessible::TextBoundaryType, int*, int*) const;
    const std::pair<const char*, Reading> readings[] = {
        {"at", &QAccessibleTextInterface::textAtOffset},
        {"before", &QAccessibleTextInterface::textBeforeOffset},
        {"after", &QAccessibleTextInterface::textAfterOffset}};
    const QString whole = text->text(0, text->characterCount());
    QStringList faults;
    for (const QAccessible::TextBoundaryType boundary :
         {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
          QAccessible::ParagraphBoundary, QAccessible::LineBoundary, QAccessible::NoBoundary}) {
        for (int offset = -1; offset <= whole.size(); ++offset) {
            for (const auto& [name, read] : readings) {
                int start = 0;
                int end = 0;
                const QString piece = (text->*read)(offset, boundary, &start, &end);
                const bool none = piece.isEmpty() && start == -1 && end == -1;
                if (!none &&
                    (start < 0 || end > whole.size() || whole.mid(start, end - start) != piece))
                    faults << QStringLiteral("boundary %1, %2 %3: \"%4\" from %5 to %6")
                                  .arg(boundary)
                                  .arg(name)
                                  .arg(offset)
                                  .arg(piece)
                                  .arg(start)
                                  .arg(end);
            }
        }
        QString walked;
        for (int offset = 0; offset < whole.size();) {
            int start = 0;
            int end = 0;
            walked += text->textAtOffset(offset, boundary, &start, &end);
            if (start != offset || end <= offset)
                break;
            offset = end;
        }
        if (walked != whole)
            faults << QStringLiteral("boundary %1, walked: \"%2\"").arg(boundary).arg(walked);
    }
    return faults;
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void pagesNameEveryControl_data();
    void pagesNameEveryControl();
    void configurableHomeNamesEveryControl_data();
    void configurableHomeNamesEveryControl();
    void dialogsNameEveryControl_data();
    void dialogsNameEveryControl();
    void valueControlsSayWhatTheyShow();
    void wizardPagesNameEveryControl_data();
    void wizardPagesNameEveryControl();
    void textFieldsReadToTheEnd_data();
    void textFieldsReadToTheEnd();
    void discoveryNamesEveryControl();
    void passwordFieldKeepsThePassword();

private:
    QQuickWindow* window() { return m_session.shell().loader()->view(); }
    // Reads the window once the page has its values and is drawn; fails on every fault.
    void readScreen(Reading* reading);
    // The page's root is named after the heading the page shows (`heading` where the page has no
    // CustomHeading).
    void checkRootName(const QString& heading = QString());
    void setDevice(const QString& path, const QString& value);
    void type(const QString& text);

    PageSession m_session;
};

// With FTP and tuning folders, so that the presets and tunings screens list what the device
// stores.
void TestAccessibility::initTestCase()
{
    QVERIFY(qx8test::hasPrivateNetwork());
    QProcess seed;
    seed.start(QStringLiteral("/usr/bin/python3"),
               {qx8test::sourceDir() + "/simulator/storage/seed_tuning_storage.py",
                m_session.device().storagePath()});
    QVERIFY(seed.waitForFinished(qx8test::timeoutMs()) && seed.exitCode() == 0);
    QVERIFY(m_session.start({"--ftp-port", "21"}));
    QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, m_session.device().address());
}

void TestAccessibility::cleanupTestCase()
{
    m_session.stop();
}

void TestAccessibility::readScreen(Reading* reading)
{
    // A page's controls are made once the device has listed its preset's objects.
    QTRY_VERIFY(!m_session.shell().pageItem()->property("listing").toBool());
    m_session.waitForFrame();
    m_session.waitForValues(qx8test::timeoutMs());
    m_session.waitForFrame();
    *reading = Reading(window());
    const QStringList faults = reading->faults(m_session.shell().root());
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    // A reader asks for the word at the caret, which sits at the end once the user has typed:
    // no text of the screen may hold it there.
    {
        const Watchdog watchdog(QStringLiteral("A word at the end of a text of the screen"));
        for (QAccessibleInterface* iface : qAsConst(reading->reached)) {
            if (QAccessibleTextInterface* text = iface->textInterface()) {
                int start = 0;
                int end = 0;
                text->textAtOffset(-1, QAccessible::WordBoundary, &start, &end);
                text->textAtOffset(text->characterCount(), QAccessible::WordBoundary, &start, &end);
            }
        }
    }
    QVERIFY2(!reading->controls.isEmpty(), "a reading that reaches nothing proves nothing");
}

void TestAccessibility::checkRootName(const QString& heading)
{
    QQuickItem* page = m_session.shell().pageItem();
    QVERIFY(page);
    QString shown = heading;
    if (shown.isEmpty()) {
        QQuickItem* title = ShellFixture::visibleItem(page, QStringLiteral("headingTitle"));
        QVERIFY2(title, "the page shows no heading");
        shown = title->property("text").toString();
    }
    QCOMPARE(nameOf(page), shown);
}

void TestAccessibility::setDevice(const QString& path, const QString& value)
{
    QVERIFY(m_session.device()
                .command(QStringLiteral("set \"\\\\%1\\\" \"%2\"").arg(path, value))
                .startsWith("ok"));
}

void TestAccessibility::type(const QString& text)
{
    for (const QChar character : text)
        QTest::keyClick(window(), character.toLatin1());
}

// Every page of the device model's table, each selector; the pages that are no block's page name
// their root after the heading they write themselves.
void TestAccessibility::pagesNameEveryControl_data()
{
    const QStringList ownPages = {"main.qml",          "MenuBar.qml",
                                  "ConfigOverlay.qml", "QX8Discovery.qml",
                                  "ScreenWizard.qml",  "CustomKaloHomeScreen.qml"};
    addPageRows(DeviceModel::fromResources(),
                [&](const DeviceModel::Screen& screen) { return !ownPages.contains(screen.page); });
}

void TestAccessibility::pagesNameEveryControl()
{
    QFETCH(QString, page);
    QFETCH(QString, selector);
    const QHash<QString, QString> ownHeadings = {{"ScreenPresets.qml", "PRESETS"},
                                                 {"ScreenUtilities.qml", "UTILITIES"},
                                                 {"ManageTunings.qml", "MANAGE TUNINGS"}};
    QVERIFY(m_session.load(page, selector));
    // The tunings screen lists its rows once it has read the stores.
    if (page == QLatin1String("ManageTunings.qml"))
        QTRY_VERIFY_WITH_TIMEOUT(m_session.item(QStringLiteral("tuningRow")), qx8test::timeoutMs());
    Reading reading;
    readScreen(&reading);
    if (QTest::currentTestFailed())
        return;
    // A page whose object the preset lacks shows no heading, only that it lacks it.
    if (m_session.item(QStringLiteral("absentNotice")))
        QVERIFY(!nameOf(m_session.shell().pageItem()).isEmpty());
    else
        checkRootName(ownHeadings.value(page));
}

// The configurable chain, and each of the configuration overlay's lists.
void TestAccessibility::configurableHomeNamesEveryControl_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("heading");
    QTest::newRow("chain") << "Data/ConfigurableHomeScreen=true"
                           << "SIGNAL CHAIN";
    const char* cells[] = {"in:0:0", "out:0:1", "in:3:0", "out:3:0", "out:7:2"};
    for (const char* cell : cells)
        QTest::addRow("configuring %s", cell)
            << QString("isConfigMode=true;Data/ConfigData=") + cell << "CONFIGURATION";
}

void TestAccessibility::configurableHomeNamesEveryControl()
{
    QFETCH(QString, settings);
    QFETCH(QString, heading);
    QX8Settings store;
    HomeScreenModel* model = m_session.shell().root()->findChild<HomeScreenModel*>();
    const auto fixedChainAgain = qScopeGuard([&] {
        store.setValue("isConfigMode", "false");
        store.setValue("Data/ConfigurableHomeScreen", "false");
        model->refreshConfig();
    });
    for (const QString& setting : settings.split(';'))
        store.setValue(setting.section('=', 0, 0), setting.section('=', 1));
    model->refreshConfig();
    QVERIFY(m_session.open("HomeButtonPressed", QString(), "QX8HomeScreen.qml"));
    QTRY_VERIFY(m_session.item(QStringLiteral("configGrid")));
    Reading reading;
    readScreen(&reading);
    if (QTest::currentTestFailed())
        return;
    checkRootName();
    QCOMPARE(nameOf(m_session.shell().pageItem()), heading);
    // An output's name opens for typing in place.
    if (QQuickItem* outputName = m_session.item(QStringLiteral("outputName_1"))) {
        QMetaObject::invokeMethod(outputName, "startEditing");
        readScreen(&reading);
        QVERIFY(reading.control("OUT 1 name"));
    }
}

// Every state of the device's wizards, on the page that shows it, and the menu's own pages.
void TestAccessibility::wizardPagesNameEveryControl_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("menuPage");
    const QHash<QString, QString>& table = wizardstates::pageTable();
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        QTest::newRow(qPrintable(it.key())) << it.key() << QString();
    QTest::newRow("unknown state") << "SelectSubOutputFormat" << QString();
    QTest::newRow("options") << "Inactive"
                             << "wizardOptions.qml";
    QTest::newRow("run setup") << "Inactive"
                               << "RunSetupWizardScreen.qml";
}

void TestAccessibility::wizardPagesNameEveryControl()
{
    QFETCH(QString, state);
    QFETCH(QString, menuPage);
    m_session.device().command(QStringLiteral("wizard-step -1"));
    setDevice(QStringLiteral("Node\\Wizard\\SV\\WizardState"), state);
    if (!m_session.shell().loader()->isActive(ViewLoader::Wizard))
        m_session.shell().guiSignal(QStringLiteral("Wizard"));
    QObject* screen = nullptr;
    QTRY_VERIFY((screen = m_session.shell().root()->findChild<QObject*>("wizardScreen")) &&
                screen->property("wizardState").toString() == state);
    if (!menuPage.isEmpty())
        QMetaObject::invokeMethod(screen, "showPage", Q_ARG(QVariant, menuPage),
                                  Q_ARG(QVariant, QStringLiteral("Wizard Menu")),
                                  Q_ARG(QVariant, QStringLiteral("Wizards")));
    QObject* loader = screen->findChild<QObject*>(QStringLiteral("wizardPageLoader"));
    const QString page = menuPage.isEmpty() ? wizardstates::pageFor(state) : menuPage;
    QTRY_VERIFY(loader->property("source").toString().endsWith(page) &&
                loader->property("status").toInt() == 1);
    Reading reading;
    readScreen(&reading);
    if (QTest::currentTestFailed())
        return;
    // The screen's name is the heading above the page, or the page's title where that stands
    // in for it; the page's own root is named after its title.
    auto* pageItem = qvariant_cast<QQuickItem*>(loader->property("item"));
    const QString title = pageItem->property("title").toString();
    QCOMPARE(nameOf(pageItem), title);
    QQuickItem* heading = m_session.item(QStringLiteral("wizardHeading"));
    QCOMPARE(nameOf(screen), heading ? heading->property("text").toString() : title);
}

// A dialog of each kind, opened as a user opens it: it is named, and so is every control in it.
void TestAccessibility::dialogsNameEveryControl_data()
{
    QTest::addColumn<QString>("param");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("confirmation") << "Presets"
                                  << "ScreenPresets.qml" << QStringList{"slotRow1", "recallButton"}
                                  << "confirmDialog";
    QTest::newRow("name") << "Presets"
                          << "ScreenPresets.qml" << QStringList{"slotRow1", "storeButton"}
                          << "nameDialog";
    QTest::newRow("device name") << "Utilities"
                                 << "ScreenUtilities.qml" << QStringList{"renameButton"}
                                 << "renameDialog";
    QTest::newRow("reset") << ""
                           << "ManageTunings.qml" << QStringList{"resetButton"} << "resetDialog";
    QTest::newRow("help") << "HomeButtonPressed"
                          << "QX8HomeScreen.qml" << QStringList{"menuHelpButton"} << "helpOverlay";
}

// Opened from the home screen as a user opens it, or loaded where no block leads there.
void TestAccessibility::dialogsNameEveryControl()
{
    QFETCH(QString, param);
    QFETCH(QString, page);
    QFETCH(QStringList, clicks);
    QFETCH(QString, dialog);
    QVERIFY(param.isEmpty() ? m_session.load(page) : m_session.open(param, QString(), page));
    for (const QString& click : clicks)
        QVERIFY2(m_session.click(click), qPrintable(click));
    QQuickItem* shown = nullptr;
    QTRY_VERIFY((shown = m_session.item(dialog)));
    Reading reading;
    readScreen(&reading);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(reading.reached.contains(shown));
    QCOMPARE(reading.reached.value(shown)->role(), QAccessible::Dialog);
    QVERIFY(!nameOf(shown).isEmpty());
    shown->setVisible(false);
}

// A value control reads as its label, then its value as shown; a button as its text and what it
// acts on; both follow a change on the device's front panel.
void TestAccessibility::valueControlsSayWhatTheyShow()
{
    QVERIFY(m_session.open("CMP", QString(), "QX8Compressor.qml"));
    setDevice(QStringLiteral("Preset\\Compressor\\SV\\Release"), "52");
    QAccessibleInterface* release = nullptr;
    QTRY_VERIFY((release = Reading(window()).control("Release, 52.00 ms")));
    QCOMPARE(release->role(), QAccessible::SpinBox);
    QCOMPARE(release->valueInterface()->currentValue().toDouble(), 52.0);
    QVERIFY(Reading(window()).control("Release +"));
    QVERIFY(Reading(window()).control("COMPRESSOR ON")->state().checked);

    QVERIFY(m_session.open("1", "Output", "ScreenOutputMeters.qml"));
    QAccessibleInterface* mute = nullptr;
    QTRY_VERIFY((mute = Reading(window()).control("MUTE Output 3")));
    QVERIFY(!mute->state().checked);
    setDevice(QStringLiteral("Preset\\OutputGains\\SV\\Channel_3_Mute"), "On");
    QTRY_VERIFY((mute = Reading(window()).control("MUTED Output 3")));
    QVERIFY(mute->state().checked);
    setDevice(QStringLiteral("Preset\\OutputGains\\SV\\Channel_3_Mute"), "Off");
    setDevice(QStringLiteral("Preset\\OutputGains\\SV\\Channel_6_Gain"), "-12");
    QAccessibleInterface* fader = nullptr;
    QTRY_VERIFY((fader = Reading(window()).control("Output 6, -12.0 dB")));
    QCOMPARE(fader->role(), QAccessible::Slider);

    QVERIFY(m_session.open("Delay", "Mid", "ScreenDelay.qml"));
    setDevice(QStringLiteral("Preset\\MidDelay\\SV\\Amount"), "14.8");
    QAccessibleInterface* field = nullptr;
    QTRY_VERIFY((field = Reading(window()).control("Mid Delay in ms")) &&
                field->text(QAccessible::Value) == "14.80");
    QCOMPARE(field->role(), QAccessible::EditableText);

    QVERIFY(m_session.open("PEQ", "High", "QX8PEQ.qml"));
    setDevice(QStringLiteral("Preset\\HighPEQ\\SV\\Band_1_Type"), "Bell");
    QAccessibleInterface* type = nullptr;
    QTRY_VERIFY((type = Reading(window()).control("Band 1 type, Bell")));
    QCOMPARE(type->role(), QAccessible::ComboBox);
}

// A field of each kind, with text typed into it: a number field, a name box, an output's name
// edited in place, and the address dialog's field (last: the discovery page takes the session's
// device off the home screen's models).
void TestAccessibility::textFieldsReadToTheEnd_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("lastWord");
    QTest::newRow("number field") << "InputDelay.qml"
                                  << ""
                                  << ""
                                  << "amountField"
                                  << "12.5"
                                  << "12.5";
    QTest::newRow("name box") << "ScreenInputRouter.qml"
                              << ""
                              << ""
                              << "inputName_1"
                              << "Kick drum"
                              << "drum";
    QTest::newRow("output name") << "QX8HomeScreen.qml"
                                 << "Data/ConfigurableHomeScreen=true;isConfigMode=true;"
                                    "Data/ConfigData=out:7:0"
                                 << ""
                                 << "outputName_1"
                                 << "Sub left"
                                 << "left";
    QTest::newRow("address dialog") << "QX8Discovery.qml"
                                    << ""
                                    << "manualAddressButton"
                                    << "dialogTextField"
                                    << "127.0.0.1"
                                    << "127.0.0.1";
}

void TestAccessibility::textFieldsReadToTheEnd()
{
    QFETCH(QString, page);
    QFETCH(QString, settings);
    QFETCH(QString, opener);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, lastWord);
    QX8Settings store;
    HomeScreenModel* model = m_session.shell().root()->findChild<HomeScreenModel*>();
    const auto fixedChainAgain = qScopeGuard([&] {
        if (settings.isEmpty())
            return;
        store.setValue("isConfigMode", "false");
        store.setValue("Data/ConfigurableHomeScreen", "false");
        model->refreshConfig();
        QVERIFY(m_session.open("HomeButtonPressed", QString(), "QX8HomeScreen.qml"));
    });
    if (settings.isEmpty()) {
        QVERIFY(m_session.load(page));
    } else {
        for (const QString& setting : settings.split(';'))
            store.setValue(setting.section('=', 0, 0), setting.section('=', 1));
        model->refreshConfig();
        // The home screen asked for after the settings draws them.
        QVERIFY(m_session.open("HomeButtonPressed", QString(), page));
    }
    QVERIFY(m_session.waitForValues(qx8test::timeoutMs()).isEmpty());
    QVERIFY(m_session.waitForFrame());
    if (!opener.isEmpty()) {
        QMetaObject::invokeMethod(m_session.shell().pageItem(), "closeDialogs");
        QVERIFY(m_session.click(opener));
    }
    QQuickItem* shown = m_session.waitForItem(field);
    QVERIFY(shown);
    QQuickItem* input = textInputIn(shown);
    QVERIFY(input);
    QVERIFY(fieldleaving::typeOver(window(), input, typed));
    const QString shownText = input->property("displayText").toString();
    QCOMPARE(shownText, typed);

    // As a reader does once the user has typed: from the caret at the end, every way.
    QAccessible::setActive(true);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(input);
    QVERIFY(iface && iface->textInterface());
    const QAccessibleTextInterface* text = iface->textInterface();
    QCOMPARE(text->cursorPosition(), shownText.size());
    QStringList faults;
    QString wordAtEnd;
    QString wordAtLength;
    int start = 0;
    int end = 0;
    {
        const Watchdog watchdog("Reading \"" + shownText + "\" to its end");
        faults = readingFaults(text);
        wordAtEnd = text->textAtOffset(-1, QAccessible::WordBoundary, &start, &end);
        wordAtLength =
            text->textAtOffset(shownText.size(), QAccessible::WordBoundary, &start, &end);
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    QCOMPARE(text->text(0, text->characterCount()), shownText);
    QCOMPARE(iface->text(QAccessible::Value), shownText);
    QCOMPARE(wordAtEnd, lastWord);
    QCOMPARE(wordAtLength, lastWord);
    QCOMPARE(end, shownText.size());
    QTest::keyClick(window(), Qt::Key_Escape);
    if (!opener.isEmpty())
        QMetaObject::invokeMethod(m_session.shell().pageItem(), "closeDialogs");
}

// Last: the discovery page takes the session's device off the home screen's models. It lists a
// unit that answers from behind a veth pair; the splash before it is read too.
void TestAccessibility::discoveryNamesEveryControl()
{
    qx8test::VethNetwork network;
    VirtualProcessor unit;
    QVERIFY(network.create());
    QVERIFY(network.addNearAddress(1));
    QVERIFY(network.addFarAddress(2));
    QVERIFY(network.startDevice(unit, 2, {"--name", "Stage Left"}));
    QVERIFY(m_session.load(QStringLiteral("QX8Discovery.qml")));
    QTRY_VERIFY_WITH_TIMEOUT(m_session.item(QStringLiteral("deviceName")), qx8test::timeoutMs());
    Reading reading;
    readScreen(&reading);
    if (QTest::currentTestFailed())
        return;
    checkRootName(QStringLiteral("Spandrell QX8 Devices"));
    const QString address = QString(qx8test::VethNetwork::kSubnet) + "2";
    QVERIFY(reading.control("Stage Left " + address));
    QVERIFY(reading.control("CONNECT Stage Left"));

    QVERIFY(m_session.click(QStringLiteral("manualAddressButton")));
    QTRY_VERIFY(m_session.item(QStringLiteral("dialogTextField")));
    readScreen(&reading);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(reading.control("Enter IP address of Spandrell QX8"));

    QMetaObject::invokeMethod(m_session.shell().pageItem(), "closeDialogs");

    QQuickItem* splash = m_session.shell().root()->findChild<QQuickItem*>("startUpSplash");
    splash->setVisible(true);
    readScreen(&reading);
    QCOMPARE(nameOf(splash), QStringLiteral("Spandrell QX8 Control"));
    QVERIFY(reading.control("Search For Devices"));
    splash->setVisible(false);
}

// The device refuses the default password and the discovery page asks for one; the field of the
// password typed is reached and named, and nothing any interface of the window gives a reader
// holds the password.
void TestAccessibility::passwordFieldKeepsThePassword()
{
    const QString password = QStringLiteral("Lantern7-quay");
    QVERIFY(m_session.device().command(QStringLiteral("fault refuse-login on")).startsWith("ok"));
    const auto loginAgain =
        qScopeGuard([&] { m_session.device().command(QStringLiteral("fault refuse-login off")); });
    m_session.shell().guiSignal(QStringLiteral("DeviceDiscovery"));
    QVERIFY(m_session.waitForPage(QStringLiteral("QX8Discovery.qml")));
    QMetaObject::invokeMethod(m_session.shell().pageItem(), "closeDialogs");
    QVERIFY(m_session.click(QStringLiteral("manualAddressButton")));
    QVERIFY(m_session.waitForItem(QStringLiteral("dialogTextField")));
    QTest::keyClick(window(), Qt::Key_A, Qt::ControlModifier);
    type(m_session.device().address());
    QVERIFY(m_session.click(QStringLiteral("dialogOkButton")));
    QObject* dialog =
        m_session.shell().pageItem()->findChild<QObject*>(QStringLiteral("passwordDialog"));
    QTRY_VERIFY_WITH_TIMEOUT(dialog->property("visible").toBool(), qx8test::timeoutMs());
    type(password);
    QCOMPARE(dialog->property("inputText").toString(), password);

    // As a screen reader's start does.
    QAccessible::setActive(true);
    QStringList telling;
    if (tells(window(), password))
        telling << "the window";
    collectTelling(window()->contentItem(), password, &telling);
    QVERIFY2(telling.isEmpty(), qPrintable(telling.join('\n')));

    Reading reading;
    readScreen(&reading);
    if (QTest::currentTestFailed())
        return;
    QAccessibleInterface* field =
        reading.control(QStringLiteral("Please enter password to proceed"));
    QVERIFY(field);
    QCOMPARE(field->object(), dialog->findChild<QObject*>(QStringLiteral("dialogTextField")));
    QCOMPARE(field->role(), QAccessible::EditableText);
    QVERIFY(field->state().passwordEdit);
    // A reader asks for the word at the caret, which stands after the last character typed.
    QAccessibleTextInterface* text = field->textInterface();
    QCOMPARE(text->characterCount(), password.size());
    int start = 0;
    int end = 0;
    QCOMPARE(text->textAtOffset(-1, QAccessible::WordBoundary, &start, &end),
             field->text(QAccessible::Value));
    QCOMPARE(end, password.size());
}

int main(int argc, char** argv)
{
    qx8test::enterPrivateNetwork();
    QApplication application(argc, argv);
    application.setAttribute(Qt::AA_Use96Dpi, true);
    TestAccessibility test;
    return qx8test::exec(&test, argc, argv);
}

#include "tst_accessibility.moc"
