// The processing pages in the application against VirtualQX8. Every page of the device model's
// binding table (each selector value): it loads without a QML warning, every bound control comes
// to show the device's value, it asks the device for variables of its row only and for every
// object of it (a page showing an object the preset lacks says so and asks for none of it), and
// leaving it ends what it subscribed. Then, per family of controls, one gesture reaches the wire
// and a change on the device's front panel moves the control. How soon a page shows its values
// is the page-load benchmark's measure: on a machine under load, or under a sanitizer, a fixed
// time says nothing about the page.
#include "consolelinebuilder.h"
#include "curvegraphitem.h"
#include "devicemodel.h"
#include "fieldleaving.h"
#include "knownvalueswatch.h"
#include "pagesession.h"
#include "pixels.h"
#include "processingobjectlist.h"
#include "qx8control.h"
#include "qx8geqbands.h"
#include "qx8geqgraphitem.h"
#include "qx8numericalsv.h"
#include "qx8settings.h"
#include "shownframes.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "testmain.h"
#include "valueresolution.h"
#include "valuetext.h"
#include "viewloader.h"

#include <QColor>
#include <QPointer>
#include <QQmlExpression>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickView>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QtTest>
#include <algorithm>
#include <memory>

namespace {

// The variable of a request line on the wire ("sub", "asyncget", "lc"), as its path without the
// percent suffix and without the enumeration's "EN".
QString requestedPath(const QString& line)
{
    static const QRegularExpression request(R"(^(sub|asyncget|lc) "([^"]*)\"$)");
    const QRegularExpressionMatch match = request.match(line);
    if (!match.hasMatch())
        return {};
    QString path = match.captured(2);
    if (path.endsWith(QLatin1Char('%')))
        path.chop(1);
    if (match.captured(1) == QLatin1String("lc") && path.endsWith(QLatin1String("\\EN\\")))
        path.chop(3);
    return path;
}

// The page's row of the binding table for a selector value, as console paths, and the paths of
// the components on every page.
QSet<QString> rowPaths(const DeviceModel::Screen& screen, const QString& selector)
{
    QSet<QString> paths;
    for (const DeviceModel::Binding& binding : screen.bindings) {
        if (binding.selector.isEmpty() || binding.selector == selector)
            paths.insert(ConsoleLineBuilder::pathBody(binding.object, binding.variable));
    }
    return paths;
}

// A page of the processing chain: bound to processing objects only.
bool isProcessingPage(const DeviceModel::Screen& screen)
{
    if (screen.everyPage || screen.bindings.isEmpty())
        return false;
    for (const DeviceModel::Binding& binding : screen.bindings) {
        if (binding.object == QLatin1String("NPO") || binding.object == QLatin1String("Presets"))
            return false;
    }
    return true;
}

// The first item in and below `under` (item tree, depth first) with that object name and, when
// it binds a variable, that variable.
QQuickItem* findItem(QQuickItem* under, const QString& name, const QString& variable)
{
    const QVariant bound = under->property("stateVariableName");
    if (under->objectName() == name &&
        (variable.isEmpty() || !bound.isValid() || bound.toString() == variable))
        return under;
    for (QQuickItem* child : under->childItems()) {
        if (QQuickItem* found = findItem(child, name, variable))
            return found;
    }
    return nullptr;
}

// Every visible item in and below `under` with that object name.
QList<QQuickItem*> visibleItemsNamed(QQuickItem* under, const QString& name)
{
    QList<QQuickItem*> found;
    if (!under->isVisible())
        return found;
    if (under->objectName() == name)
        found.append(under);
    for (QQuickItem* child : under->childItems())
        found += visibleItemsNamed(child, name);
    return found;
}

// Every visible item in and below `under` (item tree, depth first).
QList<QQuickItem*> visibleItemsUnder(QQuickItem* under)
{
    QList<QQuickItem*> found;
    if (!under->isVisible())
        return found;
    found.append(under);
    for (QQuickItem* child : under->childItems())
        found += visibleItemsUnder(child);
    return found;
}

// The nudge button beside a field that moves its value that way (1 up, -1 down).
QQuickItem* nudgeBeside(QQuickItem* field, int direction)
{
    for (QQuickItem* sibling : field->parentItem()->childItems()) {
        if (sibling->isVisible() && sibling->property("bumpDirection").toInt() == direction)
            return sibling;
    }
    return nullptr;
}

// True while a write of the input delay's amount awaits the device's answer.
bool amountWriteUnanswered()
{
    return TCPAdaptor::instance()
        ->requests()
        .unansweredWrite(ConsoleRequest::targetOf(QStringLiteral("InputDelay"),
                                                  QStringLiteral("Amount"), QString()))
        .has_value();
}

// The console path of an option card input's name.
QString inputNamePath(int input)
{
    return QStringLiteral(
               "\\\\Node\\SetupWizardCurrentChoices\\SV\\Channel_%1_OrvellinkInputName\\")
        .arg(input);
}

} // namespace

class TestPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void pageShowsAndEndsItsRow_data();
    void pageShowsAndEndsItsRow();
    void gestureReachesDeviceAndBack_data();
    void gestureReachesDeviceAndBack();
    void pressWithoutDragWritesNothing_data();
    void pressWithoutDragWritesNothing();
    void dragWritesAtTheResolution_data();
    void dragWritesAtTheResolution();
    void typedAmountIsCheckedBeforeItIsWritten_data();
    void typedAmountIsCheckedBeforeItIsWritten();
    void homeBlockOpensItsPage_data();
    void homeBlockOpensItsPage();
    void homeDrawsTheCrossoverBands();
    void controlsShowWhatTheyDoNotKnow();
    void graphsDrawOnlyWhatTheyKnow_data();
    void graphsDrawOnlyWhatTheyKnow();
    void homeBlocksShowWhatTheyDoNotKnow();
    void quickNudgesOnASlowLinkEachStepOn_data();
    void quickNudgesOnASlowLinkEachStepOn();
    void typedAmountStaysUntilTheDeviceAnswers();
    void nudgedAmountShowsInEveryUnitEveryFrame();
    void quickSwitchClicksOnASlowLinkEachSwitch_data();
    void quickSwitchClicksOnASlowLinkEachSwitch();
    void quickPicksOnASlowLinkEndOnTheLast_data();
    void quickPicksOnASlowLinkEndOnTheLast();
    void quickDragsOnASlowLinkEndOnTheLast_data();
    void quickDragsOnASlowLinkEndOnTheLast();
    void pageShowsItsHeadingWhileThePresetIsListed_data();
    void pageShowsItsHeadingWhileThePresetIsListed();
    void crossoverAndDelayFollowTheHome_data();
    void crossoverAndDelayFollowTheHome();
    void nudgeButtonsMoveReleaseTimesAsLabelled_data();
    void nudgeButtonsMoveReleaseTimesAsLabelled();
    void muteAllSaysWhatItDoesNext();
    void typedTextLeftBehindGivesWayToTheDeviceValue_data();
    void typedTextLeftBehindGivesWayToTheDeviceValue();
    void emptyInputNameIsRefused();
    void inputNameLeftByTheFocus_data();
    void inputNameLeftByTheFocus();
    void typedTextLeftWithThePage_data();
    void typedTextLeftWithThePage();
    void inputNameRefusalNamesItsBox();

private:
    QPoint centreOf(QQuickItem* item) const;
    void drag(QQuickItem* item, QPoint by);
    void click(QQuickItem* item);
    bool pick(QQuickItem* comboBox, const QString& entry);
    // Loads the page and finds the control, shown with its device values.
    QQuickItem* loadedControl(const QString& page, const QString& selector, const QString& item,
                              const QString& variable);
    // Waits until the page has sent its last throttled write: a throttle period passes with
    // no new set line on the wire after the `from`th line (meters poll on regardless).
    bool waitForWritesToEnd(int from);
    // The value the device holds for the variable, as a number.
    std::optional<double> heldNumber(const QString& object, const QString& variable);
    // The set lines the device received from the `from`th line on, once it has every line the
    // application sent.
    QStringList setsSince(int from);
    // The set line of the input delay's amount with the value `written`; none for an empty one.
    static QStringList amountSets(const QString& written);
    // The input delay's milliseconds field, loaded with the device holding `held` ms (shown as
    // `heldShown`) and `typed` typed over it, not yet confirmed; null when it did not get there.
    QQuickItem* amountFieldTyped(const QString& held, const QString& heldShown,
                                 const QString& typed);

    PageSession m_session;
    std::unique_ptr<ProcessingObjectList> m_presetObjects; // the preset's objects, once logged in
    const DeviceModel& m_model = DeviceModel::fromResources();
    QSet<QString> m_shellSubscriptions;
};

void TestPages::initTestCase()
{
    QVERIFY(m_session.start());
    m_presetObjects = std::make_unique<ProcessingObjectList>();
    QTRY_VERIFY_WITH_TIMEOUT(m_presetObjects->listed(), qx8test::timeoutMs());
    m_session.unload();
    const QStringList subscriptions = m_session.subscriptions();
    m_shellSubscriptions = QSet<QString>(subscriptions.begin(), subscriptions.end());
}

// A row that failed half-way leaves no page behind for the next one to find on its wire.
void TestPages::cleanup()
{
    m_session.unload();
}

void TestPages::cleanupTestCase()
{
    m_presetObjects.reset();
    m_session.stop();
}

void TestPages::pageShowsAndEndsItsRow_data()
{
    addPageRows(m_model, isProcessingPage);
}

void TestPages::pageShowsAndEndsItsRow()
{
    QFETCH(QString, page);
    QFETCH(QString, selector);
    const int wireBefore = m_session.device().received().size();
    QVERIFY(m_session.load(page, selector));
    QQuickItem* pageItem = m_session.shell().pageItem();

    // A row whose object the preset leaves out: the page says so and binds nothing of it.
    if (!QQmlProperty::read(pageItem, "shownObjects").toStringList().isEmpty()) {
        QTRY_VERIFY_WITH_TIMEOUT(
            !QQmlProperty::read(pageItem, "presetObjectNames").toStringList().isEmpty(),
            qx8test::timeoutMs());
    }
    const QString absent = QQmlProperty::read(pageItem, "missingObject").toString();
    auto bindsAbsent = [&] {
        for (const QX8Control* control : m_session.pageControls()) {
            if (control->poName() == absent)
                return true;
        }
        return false;
    };
    if (!absent.isEmpty()) {
        QVERIFY(findItem(pageItem, "absentNotice", QString())->isVisible());
        QTRY_VERIFY(!bindsAbsent());
    } else {
        const QList<QX8Control*> waiting = m_session.waitForValues(qx8test::timeoutMs());
        QVERIFY2(waiting.isEmpty(),
                 qPrintable(QString("%1 of %2 controls without their value, first %3 %4")
                                .arg(waiting.size())
                                .arg(m_session.pageControls().size())
                                .arg(waiting.isEmpty() ? QString() : waiting.first()->poName(),
                                     waiting.isEmpty() ? QString() : waiting.first()->svName())));
    }

    // What the page asked for on the wire is its row, all of it (the window's own requests and
    // the menu bar's polls aside).
    const QStringList lines =
        m_session.device().receivedUntilProbe([] { ShellFixture::sendProbe(); }, wireBefore);
    QSet<QString> requested;
    for (const QString& line : lines) {
        const QString path = requestedPath(line);
        if (!path.isEmpty())
            requested.insert(path);
    }
    const DeviceModel::Screen& screen = *m_model.screen(page);
    QSet<QString> row = rowPaths(screen, selector);
    QSet<QString> shell = m_shellSubscriptions;
    for (const DeviceModel::Screen& other : m_model.screens()) {
        if (other.everyPage || other.page == QLatin1String("main.qml"))
            shell.unite(rowPaths(other, QString()));
    }
    // Every object of the row is asked for (a page may bind some variables only for the item
    // the user selected, a band or a slot); nothing outside the row is.
    QSet<QString> unaskedObjects;
    for (const DeviceModel::Binding& binding : screen.bindings) {
        if (!binding.selector.isEmpty() && binding.selector != selector)
            continue;
        const QString object = QStringLiteral("\\\\Preset\\") + binding.object + '\\';
        const bool asked =
            std::any_of(requested.cbegin(), requested.cend(),
                        [&](const QString& path) { return path.startsWith(object); });
        if (m_presetObjects->contains(binding.object) ? !asked : asked)
            unaskedObjects.insert(binding.object);
    }
    QVERIFY2(unaskedObjects.isEmpty(), qPrintable("objects not (or, lacking, still) asked for: " +
                                                  unaskedObjects.values().join(", ")));
    QSet<QString> foreign = requested - row - shell;
    QVERIFY2(foreign.isEmpty(), qPrintable("not in its row: " + foreign.values().join(", ")));

    // Leaving the page ends every subscription it made.
    m_session.unload();
    auto subscriptions = [this] {
        const QStringList paths = m_session.subscriptions();
        return QSet<QString>(paths.begin(), paths.end());
    };
    QTRY_VERIFY2_WITH_TIMEOUT(
        (subscriptions() - m_shellSubscriptions).isEmpty(),
        qPrintable("still subscribed: " +
                   (subscriptions() - m_shellSubscriptions).values().join(", ")),
        qx8test::timeoutMs());
}

void TestPages::gestureReachesDeviceAndBack_data()
{
    struct Row
    {
        const char* name;
        const char* page;
        const char* selector;
        const char* item;     // objectName of the control
        const char* variable; // its stateVariableName (empty: any)
        const char* gesture;  // "drag:dx,dy", "click", "pick:entry"
        const char* written;  // pattern of the set line it sends
        const char* object;   // the variable the device then changes...
        const char* changed;
        const char* value;    // ...to this value,
        const char* watched;  // and the control item (objectName) that shows it
        const char* property; // in this property
        const char* shown;    // as this text
    };
    static const Row rows[] = {
        {"eq band handle", "QX8PEQ.qml", "High", "handle_1", "", "drag:60,-40",
         R"(^set "\\\\Preset\\HighPEQ\\SV\\Band_1_Frequency\\" ")", "HighPEQ", "Band_1_Gain", "6",
         "readout", "text", "6dB"},
        {"mixer fader", "ScreenMixer.qml", "StereoMixer", "fader", "Input_1_Gain", "drag:0,80",
         R"(^set "\\\\Preset\\StereoMixer\\SV\\Input_1_Gain\\" ")", "StereoMixer", "Input_2_Gain",
         "-20", "readout", "text", "-20dB"},
        {"output mute", "ScreenOutputMeters.qml", "", "mute", "Channel_2_Mute", "click",
         R"(^set "\\\\Preset\\OutputGains\\SV\\Channel_2_Mute\\" "1"$)", "OutputGains",
         "Channel_2_Mute", "Off", "mute", "checked", "false"},
        {"crossover type", "CrossOver.qml", "", "choice", "Band_1_HPType", "pick:BW 24",
         R"(^set "\\\\Preset\\Crossover\\SV\\Band_1_HPType\\" "BW 24"$)", "Crossover",
         "Band_1_HPType", "LR 48", "choice", "displayText", "LR 48"},
        {"nudge", "ScreenNuq.qml", "", "nudgeUp", "Sensitivity", "click",
         R"(^set "\\\\Preset\\Nuq\\SV\\Sensitivity\\" "6.1"$)", "Nuq", "Sensitivity", "9",
         "readout", "text", "9dB"},
        {"router cell", "ScreenInputRouter.qml", "", "Slot2Source_AES1", "", "click",
         R"(^set "\\\\Preset\\InputRouter\\SV\\Slot2Source\\" "AES1"$)", "InputRouter",
         "Slot2Source", "AES3", "Slot2Source_AES3", "checked", "true"},
        {"synthesis slider", "QX8SubHarmonic.qml", "", "slider", "Subharmonics", "drag:60,0",
         R"(^set "\\\\Preset\\SubharmonicSynth\\SV\\Subharmonics\\%" ")", "SubharmonicSynth",
         "Subharmonics", "80", "slider", "value", "80"},
        // The option card's source shows under the name the card gives it.
        {"analyser source", "ScreenRTA.qml", "", "sourceChoice", "Source", "pick:Analog2",
         R"(^set "\\\\Preset\\RTARouter\\SV\\Source\\" "Analog2"$)", "RTARouter", "Source",
         "OptionCard1", "sourceChoice", "displayText", "Orvel 1"},
        // The generator's band says at once whether it sends.
        {"generator switch", "ScreenSigGen.qml", "", "onOffButton", "SignalGenerator", "click",
         R"(^set "\\\\Preset\\SignalGenerator\\SV\\SignalGenerator\\" "1"$)", "SignalGenerator",
         "SignalGenerator", "Off", "statusText", "text", "GENERATOR OFF"},
    };
    for (const char* column : {"page", "selector", "item", "variable", "gesture", "written",
                               "object", "changed", "value", "watched", "property", "shown"})
        QTest::addColumn<QString>(column);
    for (const Row& row : rows) {
        QTest::newRow(row.name) << QString(row.page) << QString(row.selector) << QString(row.item)
                                << QString(row.variable) << QString(row.gesture)
                                << QString(row.written) << QString(row.object)
                                << QString(row.changed) << QString(row.value)
                                << QString(row.watched) << QString(row.property)
                                << QString(row.shown);
    }
}

void TestPages::gestureReachesDeviceAndBack()
{
    QFETCH(QString, page);
    QFETCH(QString, selector);
    QFETCH(QString, item);
    QFETCH(QString, variable);
    QFETCH(QString, gesture);
    QFETCH(QString, written);
    QFETCH(QString, object);
    QFETCH(QString, changed);
    QFETCH(QString, value);
    QFETCH(QString, watched);
    QFETCH(QString, property);
    QFETCH(QString, shown);

    QQuickItem* target = loadedControl(page, selector, item, variable);
    QVERIFY(target);
    QQuickItem* pageItem = m_session.shell().pageItem();

    const int wireBefore = m_session.device().received().size();
    if (gesture.startsWith(QLatin1String("drag:"))) {
        const QStringList by = gesture.mid(5).split(QLatin1Char(','));
        drag(target, QPoint(by.at(0).toInt(), by.at(1).toInt()));
    } else if (gesture.startsWith(QLatin1String("pick:"))) {
        QVERIFY(pick(target, gesture.mid(5)));
    } else {
        click(target);
    }
    const QRegularExpression pattern(written);
    QTRY_VERIFY_WITH_TIMEOUT(
        !m_session.device().received().mid(wireBefore).filter(pattern).isEmpty(),
        qx8test::timeoutMs());
    // A drag's last value follows its release by a throttle period; the front panel comes after.
    QVERIFY(waitForWritesToEnd(wireBefore));

    // The device's value shows once the gesture's last throttled write has landed: on a slow
    // machine that write can overtake the device's set, so the set is repeated until it shows.
    const QString path = ConsoleLineBuilder::pathBody(object, changed);
    const QString set = QStringLiteral("set \"%1\" \"%2\"").arg(path, value);
    QQuickItem* shownBy = findItem(pageItem, watched, watched == item ? variable : changed);
    QVERIFY(shownBy);
    const auto shownAfterSet = [&] {
        return m_session.device().command(set).startsWith(QLatin1String("ok"))
                   ? shownBy->property(qPrintable(property)).toString()
                   : QStringLiteral("(the device refused the set)");
    };
    QTRY_COMPARE_WITH_TIMEOUT(shownAfterSet(), shown, qx8test::timeoutMs());
}

// The controls a hand drags: sliders, faders and graph handles.
static void addDraggedControlColumns()
{
    for (const char* column : {"page", "selector", "item", "variable"})
        QTest::addColumn<QString>(column);
}

void TestPages::pressWithoutDragWritesNothing_data()
{
    addDraggedControlColumns();
    const char* const rows[][5] = {
        {"mixer fader", "ScreenMixer.qml", "StereoMixer", "fader", "Input_2_Gain"},
        {"output fader", "ScreenOutputMeters.qml", "", "fader", "Channel_2_Gain"},
        {"synthesis slider", "QX8SubHarmonic.qml", "", "slider", "Subharmonics"},
        {"eq band handle", "QX8PEQ.qml", "High", "handle_2", ""},
        {"crossover handle", "CrossOver.qml", "", "handle_Band_1_LPFrequency", ""},
        {"graphic eq handle", "QX8GEQ.qml", "StereoGEQ", "handle_18", ""},
    };
    for (const auto& [name, page, selector, item, variable] : rows)
        QTest::newRow(name) << QString(page) << QString(selector) << QString(item)
                            << QString(variable);
}

// A press and release on a control, still or trembling by less than a drag, sends nothing.
void TestPages::pressWithoutDragWritesNothing()
{
    QFETCH(QString, page);
    QFETCH(QString, selector);
    QFETCH(QString, item);
    QFETCH(QString, variable);
    QQuickItem* target = loadedControl(page, selector, item, variable);
    QVERIFY(target);
    QQuickView* view = m_session.shell().loader()->view();
    const int wireBefore = m_session.device().received().size();
    for (const QPoint tremble : {QPoint(0, 0), QPoint(3, -2)}) {
        const QPoint at = centreOf(target);
        QTest::mousePress(view, Qt::LeftButton, {}, at);
        QTest::mouseMove(view, at + tremble);
        QTest::mouseRelease(view, Qt::LeftButton, {}, at + tremble);
    }
    QTest::mouseMove(view, QPoint(-1, -1));
    // Nothing to wait for but the throttle periods in which a write would have gone out.
    QTest::qWait(3 * QX8NumericalSV::kThrottleMs);
    const QStringList sets = m_session.device()
                                 .receivedUntilProbe([] { ShellFixture::sendProbe(); }, wireBefore)
                                 .filter(QRegularExpression(QStringLiteral("^set ")));
    QVERIFY2(sets.isEmpty(), qPrintable(sets.join('\n')));
}

void TestPages::dragWritesAtTheResolution_data()
{
    addDraggedControlColumns();
    for (const char* column : {"drag", "object", "changed"})
        QTest::addColumn<QString>(column);
    const char* const rows[][8] = {
        {"eq band handle", "QX8PEQ.qml", "High", "handle_1", "", "60,-40", "HighPEQ",
         "Band_1_Frequency"},
        {"mixer fader", "ScreenMixer.qml", "StereoMixer", "fader", "Input_1_Gain", "0,75",
         "StereoMixer", "Input_1_Gain"},
        {"synthesis slider", "QX8SubHarmonic.qml", "", "slider", "Subharmonics", "57,0",
         "SubharmonicSynth", "Subharmonics"},
        {"crossover handle", "CrossOver.qml", "", "handle_Band_1_LPFrequency", "", "-45,0",
         "Crossover", "Band_1_LPFrequency"},
        {"graphic eq handle", "QX8GEQ.qml", "StereoGEQ", "handle_18", "", "0,-33", "StereoGEQ",
         "1.0 kHz"},
    };
    for (const auto& [name, page, selector, item, variable, drag, object, changed] : rows)
        QTest::newRow(name) << QString(page) << QString(selector) << QString(item)
                            << QString(variable) << QString(drag) << QString(object)
                            << QString(changed);
}

// Every value a drag writes lies on its variable's resolution in the device model, and the
// read-out then shows the device's own text for the value.
void TestPages::dragWritesAtTheResolution()
{
    QFETCH(QString, page);
    QFETCH(QString, selector);
    QFETCH(QString, item);
    QFETCH(QString, variable);
    QFETCH(QString, drag);
    QFETCH(QString, object);
    QFETCH(QString, changed);
    QQuickItem* target = loadedControl(page, selector, item, variable);
    QVERIFY(target);
    const int wireBefore = m_session.device().received().size();
    const QStringList by = drag.split(QLatin1Char(','));
    this->drag(target, QPoint(by.at(0).toInt(), by.at(1).toInt()));
    QVERIFY(waitForWritesToEnd(wireBefore));

    static const QRegularExpression setLine(R"re(^set "\\\\(.*?)(%?)" "([^"]*)"$)re");
    const QString path = ConsoleLineBuilder::pathBody(object, changed);
    int writesOfChanged = 0;
    for (const QString& line :
         m_session.device().receivedUntilProbe([] { ShellFixture::sendProbe(); }, wireBefore)) {
        const QRegularExpressionMatch set = setLine.match(line);
        if (!set.hasMatch())
            continue;
        const DeviceModel::Variable* written = m_model.variable(set.captured(1).chopped(1));
        QVERIFY2(written, qPrintable(line));
        double value = set.captured(3).toDouble();
        if (!set.captured(2).isEmpty())
            value = written->minimum + value / 100 * (written->maximum - written->minimum);
        const ValueResolution resolution(written->steps);
        QVERIFY2(qAbs(resolution.rounded(value) - value) < resolution.stepAt(value) * 1e-4,
                 qPrintable(line));
        writesOfChanged += line.contains(path) ? 1 : 0;
    }
    QVERIFY(writesOfChanged > 0);

    // The read-out shows the device's value at the resolution, with every decimal of the step
    // there (kHz counting as Hz).
    QQuickItem* readout = nullptr;
    QTRY_VERIFY(
        (readout = findItem(m_session.shell().pageItem(), QStringLiteral("readout"), changed)));
    const QString held = m_session.device().command("value \"" + path + '"').mid(3);
    const std::optional<double> heldValue = ValueText::number(held);
    QVERIFY2(heldValue, qPrintable(held));
    const DeviceModel::Variable* changedVariable = m_model.variable(path.mid(2).chopped(1));
    QVERIFY(changedVariable);
    const ValueResolution resolution(changedVariable->steps);
    const auto shownRightly = [&] {
        const QStringList parts = QQmlProperty::read(readout, "parts").toStringList();
        const std::optional<double> shown = ValueText::number(parts.join(QString()));
        const double scale = parts.value(1) == QLatin1String("kHz") ? 1000.0 : 1.0;
        const int decimals = parts.value(0).contains(QLatin1Char('.'))
                                 ? parts.value(0).size() - parts.value(0).indexOf('.') - 1
                                 : 0;
        return shown && qAbs(*shown - resolution.rounded(*heldValue)) < 1e-6 &&
               decimals == resolution.decimalsAt(*heldValue, scale);
    };
    QTRY_VERIFY_WITH_TIMEOUT(shownRightly(), qx8test::timeoutMs());
}

void TestPages::typedAmountIsCheckedBeforeItIsWritten_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written"); // the value of the set line, or empty for none
    QTest::addColumn<QString>("shown");   // in the field once the device has answered
    QTest::addColumn<QString>("refusal"); // the beginning of the reason it gives, or empty
    const QString notANumber = QStringLiteral("Not a number");
    const QString outOfRange = QStringLiteral("Out of range");
    QTest::newRow("letters") << "abc"
                             << ""
                             << "abc" << notANumber;
    QTest::newRow("nothing") << ""
                             << ""
                             << "" << notANumber;
    QTest::newRow("above the range") << "9999"
                                     << ""
                                     << "9999" << outOfRange;
    QTest::newRow("below the range") << "-5"
                                     << ""
                                     << "-5" << outOfRange;
    QTest::newRow("finer than the resolution") << "3.456"
                                               << "3.46ms"
                                               << "3.46"
                                               << "";
    QTest::newRow("exponent") << "1e3"
                              << ""
                              << "1e3" << notANumber;
    QTest::newRow("decimal comma") << "12,5"
                                   << ""
                                   << "12,5" << notANumber;
    QTest::newRow("the top of the range") << "1000"
                                          << "1000ms"
                                          << "1000.00"
                                          << "";
}

// What is typed into the input delay's milliseconds field: a number in the range goes out at the
// resolution and the field shows what the device then holds; anything else is refused in place
// with the reason and the range, nothing is sent, and Escape shows the device's value again.
void TestPages::typedAmountIsCheckedBeforeItIsWritten()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QString, shown);
    QFETCH(QString, refusal);
    VirtualProcessor& device = m_session.device();
    const int wireBefore = device.received().size();
    QQuickItem* field = amountFieldTyped(QStringLiteral("2.5"), QStringLiteral("2.50"), typed);
    QVERIFY(field);
    QQuickView* view = m_session.shell().loader()->view();
    QTest::keyClick(view, Qt::Key_Return);

    const QStringList sets = amountSets(written);
    if (!sets.isEmpty())
        QVERIFY(device.waitForReceived(sets.first()));
    QCOMPARE(setsSince(wireBefore), sets);
    QTRY_COMPARE(field->property("text").toString(), shown);
    const QString reason = field->property("refusal").toString();
    if (refusal.isEmpty()) {
        QCOMPARE(reason, QString());
        return;
    }
    QVERIFY2(reason.startsWith(refusal) && reason.endsWith(QLatin1String("from 0 to 1000 ms")),
             qPrintable(reason));
    QVERIFY(field->hasActiveFocus());
    m_session.shell().screenshot(QStringLiteral("input-delay-%1.png")
                                     .arg(QString(QTest::currentDataTag()).replace(' ', '-')));
    QTest::keyClick(view, Qt::Key_Escape);
    QTRY_COMPARE(field->property("text").toString(), QStringLiteral("2.50"));
    QCOMPARE(field->property("refusal").toString(), QString());
}

void TestPages::homeBlockOpensItsPage_data()
{
    struct Row
    {
        const char* name;
        const char* block;
        const char* page;
        const char* key; // the setting that carries the payload to the page
        const char* value;
    };
    static const Row rows[] = {
        {"mid PEQ", "block_PEQ_Mid", "QX8PEQ.qml", "Data/PEQType", "Mid"},
        {"low delay", "block_Delay_Low", "ScreenDelay.qml", "Data/DelayType", "Low"},
        {"graphic EQ", "block_GEQ_StereoGEQ", "QX8GEQ.qml", "Data/GEQType", "StereoGEQ"},
        {"mixer", "block_MIX_StereoMixer", "ScreenMixer.qml", "Data/MixerType", "StereoMixer"},
        {"input delay", "block_InputDelay_Input:None", "InputDelay.qml", "", ""},
        {"crossover", "block_Crossover_Low", "CrossOver.qml", "", ""},
        {"inputs", "block_InputRouter", "ScreenInputRouter.qml", "", ""},
        {"room EQ", "block_AEQ", "QX8AEQ.qml", "", ""},
        {"feedback", "block_Nuq", "ScreenNuq.qml", "", ""},
    };
    for (const char* column : {"block", "page", "key", "value"})
        QTest::addColumn<QString>(column);
    for (const Row& row : rows) {
        QTest::newRow(row.name) << QString(row.block) << QString(row.page) << QString(row.key)
                                << QString(row.value);
    }
}

void TestPages::homeBlockOpensItsPage()
{
    QFETCH(QString, block);
    QFETCH(QString, page);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QVERIFY(m_session.open(QStringLiteral("HomeButtonPressed"), QString(),
                           QStringLiteral("QX8HomeScreen.qml")));
    // The blocks stand where they stay once the page shows the device's values and is drawn.
    QVERIFY(m_session.waitForValues(qx8test::timeoutMs()).isEmpty());
    QQuickItem* button = nullptr;
    QTRY_VERIFY((button = findItem(m_session.shell().pageItem(), block, QString())) &&
                button->isVisible() && button->isEnabled());
    QVERIFY(m_session.waitForFrame());
    click(button);
    QVERIFY(m_session.waitForPage(page));
    if (!key.isEmpty())
        QCOMPARE(QX8Settings().value(key).toString(), value);
}

// The band groups follow the device's band count and mono sub (as the home-screen model reads
// them): one band without a sub is a stereo high group alone; with a mono sub a mono low group
// joins it.
void TestPages::homeDrawsTheCrossoverBands()
{
    VirtualProcessor& device = m_session.device();
    QVERIFY(m_session.open(QStringLiteral("HomeButtonPressed"), QString(),
                           QStringLiteral("QX8HomeScreen.qml")));
    QQuickItem* home = m_session.shell().pageItem();
    auto groupsShown = [&] {
        QStringList shown;
        for (const char* group : {"High", "Mid", "Low"}) {
            if (findItem(home, QStringLiteral("block_PEQ_") + group, QString()))
                shown << group;
        }
        return shown;
    };
    QTRY_COMPARE(groupsShown(), QStringList({"High", "Mid", "Low"}));
    auto setAttribute = [&](const char* name, const char* value) {
        return device
            .command(QStringLiteral(R"(set "\\Preset\Crossover\AT\%1\" "%2")").arg(name, value))
            .startsWith(QLatin1String("ok"));
    };
    QVERIFY(setAttribute("NumBands", "1"));
    QVERIFY(setAttribute("MonoSub", "0"));
    QTRY_COMPARE_WITH_TIMEOUT(groupsShown(), QStringList({"High"}), qx8test::timeoutMs());
    QVERIFY(setAttribute("MonoSub", "1"));
    QTRY_COMPARE_WITH_TIMEOUT(groupsShown(), QStringList({"High", "Low"}), qx8test::timeoutMs());
    QVERIFY(setAttribute("NumBands", "3"));
}

// Over a slow link (each answer held back 1.5 s, then sent at 2,000 bytes a second) a page shows
// what it does not know yet: the mixer says that it waits until the device has listed its
// objects; an on/off, a mute and a fader show no state and take no gesture until the device has
// told theirs, and then show the device's. The graphic EQ says that it waits, and shows a band's
// handle only once the band's gain has come. A choice and a typed field show a dimmed dash: a
// pick, a typed amount and a typed name made before their values came reach no wire and change
// nothing shown. So do the input router's cells and MUTE ALL, and a click on them writes nothing;
// the room EQ does not say that the device holds no measurement before it has said so.
void TestPages::controlsShowWhatTheyDoNotKnow()
{
    const SlowConsole slow(m_session.device());
    QVERIFY(slow.isSlow());
    KnownValuesWatch watch;

    // The parametric EQ's on/off: a dimmed dash, then the device's "ON".
    QVERIFY(m_session.load("QX8PEQ.qml", "High"));
    QQuickItem* peq = m_session.shell().pageItem();
    const auto onOffShown = [](QQuickItem* button, bool known) {
        const QString text = button->property("text").toString();
        const bool right = known ? text == QLatin1String("ON") && button->isEnabled()
                                 : text == QStringLiteral("\u2013") && !button->isEnabled();
        return right ? QString() : QStringLiteral("on/off shows \"%1\"").arg(text);
    };
    QVERIFY2(watch.untilKnown([&] { return visibleItemsNamed(peq, "onOffButton"); }, onOffShown),
             qPrintable(watch.wrong()));
    QVERIFY(watch.unknownSeen() > 0);

    // The mixer: that it waits, then faders without a cap and mutes with a dash, then the
    // device's levels and mutes.
    QVERIFY(m_session.load("ScreenMixer.qml", "StereoMixer"));
    QQuickItem* mixer = m_session.shell().pageItem();
    QVERIFY(findItem(mixer, "waitingNotice", QString())->isVisible());
    m_session.shell().screenshot("mixer-waiting.png");
    const auto mixerControls = [&] {
        return visibleItemsNamed(mixer, "fader") + visibleItemsNamed(mixer, "mute");
    };
    QVERIFY(
        qx8test::runEventsUntil([&] { return !mixerControls().isEmpty(); }, qx8test::timeoutMs()));
    m_session.shell().screenshot("mixer-unknown.png");
    const auto mixerShown = [](QQuickItem* control, bool known) {
        if (control->objectName() == QLatin1String("mute")) {
            const QString text = control->property("text").toString();
            const bool right = known ? text.startsWith(QLatin1String("MUTE"))
                                     : text == QStringLiteral("\u2013") && !control->isEnabled();
            return right ? QString() : QStringLiteral("mute shows \"%1\"").arg(text);
        }
        const QX8Control* backend = KnownValuesWatch::backendOf(control);
        const bool capShown = control->property("handle").value<QQuickItem*>()->isVisible();
        const double position = control->property("value").toDouble();
        const double devicePosition = backend->property("faderValue").toDouble();
        const bool right = known ? capShown && control->isEnabled() && position == devicePosition
                                 : !capShown && !control->isEnabled();
        return right ? QString()
                     : QStringLiteral("fader %1 %2 a cap at %3")
                           .arg(backend->svName(), capShown ? "with" : "without")
                           .arg(position);
    };
    QVERIFY2(watch.untilKnown(mixerControls, mixerShown), qPrintable(watch.wrong()));
    QVERIFY(watch.unknownSeen() > 0);
    QVERIFY(!findItem(mixer, "waitingNotice", QString())->isVisible());

    // The graphic EQ: no handle of a band whose gain has not come, and a notice that it waits;
    // then every handle over its bar at the device's gain.
    QVERIFY(m_session.load("QX8GEQ.qml", "StereoGEQ"));
    QQuickItem* geq = m_session.shell().pageItem();
    const auto handles = [&] {
        QList<QQuickItem*> found;
        for (int band = 1;
             QQuickItem* handle = findItem(geq, "handle_" + QString::number(band), {}); ++band)
            found << handle;
        return found;
    };
    const auto graphOf = [](QQuickItem* handle) {
        return qobject_cast<QX8GEQGraphItem*>(
            handle->parentItem()->property("canvas").value<QObject*>());
    };
    const auto gainOf = [&](QQuickItem* handle) {
        const QX8GEQBands* bands = graphOf(handle)->bands();
        return bands->variables().numeric(bands->labels().value(handle->property("index").toInt()));
    };
    const auto gainKnown = [&](QQuickItem* handle) {
        const QX8NumericalSV* gain = gainOf(handle);
        return gain && gain->hasDeviceValue();
    };
    const auto handleShown = [&](QQuickItem* handle, bool known) {
        if (known) // shown from the next repaint on, checked below
            return QString();
        if (handle->isVisible())
            return QStringLiteral("%1 shows before its gain came").arg(handle->objectName());
        const bool waits = findItem(geq, "waitingNotice", QString())->isVisible();
        return waits ? QString() : QStringLiteral("the graph does not say that it waits");
    };
    QVERIFY(qx8test::runEventsUntil([&] { return !handles().isEmpty(); }, qx8test::timeoutMs()));
    m_session.shell().screenshot("geq-unknown.png");
    QVERIFY2(watch.untilKnown(handles, handleShown, gainKnown), qPrintable(watch.wrong()));
    QVERIFY(watch.unknownSeen() > 0);
    QCOMPARE(handles().size(), 31);
    const auto atItsGain = [&](QQuickItem* handle) {
        const QX8GEQGraphItem* graph = graphOf(handle);
        const double centre = handle->y() + handle->height() / 2 - graph->y();
        const double expected =
            graph->height() / 2 - int(gainOf(handle)->value() * graph->height() / 24);
        return handle->isVisible() && qAbs(centre - expected) <= 1;
    };
    const auto allAtTheirGains = [&] {
        const QList<QQuickItem*> all = handles();
        return std::all_of(all.begin(), all.end(), atItsGain);
    };
    QTRY_VERIFY_WITH_TIMEOUT(allAtTheirGains(), qx8test::timeoutMs());
    QVERIFY(!findItem(geq, "waitingNotice", QString())->isVisible());

    const QString dash = QStringLiteral("\u2013");
    const int from = m_session.device().received().size();
    // The page's items of that name, once the page has made them.
    const auto shownOnPage = [this](const QString& name) {
        QList<QQuickItem*> found;
        qx8test::runEventsUntil(
            [&] {
                return !(found = visibleItemsNamed(m_session.shell().pageItem(), name)).isEmpty();
            },
            qx8test::timeoutMs());
        return found;
    };

    // The analyser's source: its list does not open.
    QVERIFY(m_session.load(QStringLiteral("ScreenRTA.qml"), QString()));
    const QList<QQuickItem*> source = shownOnPage(QStringLiteral("sourceChoice"));
    QVERIFY(!source.isEmpty());
    QVERIFY2(!KnownValuesWatch::backendKnows(source.first()), "the value came first");
    m_session.shell().screenshot(QStringLiteral("rta-unknown.png"));
    click(source.first());
    const auto sourceShown = [&](QQuickItem* box, bool known) {
        const QString shown = box->property("displayText").toString();
        const bool listOpen =
            box->property("popup").value<QObject*>()->property("visible").toBool();
        const QString device =
            KnownValuesWatch::backendOf(box)->property("deviceSvValue").toString();
        const int deviceIndex = QQmlProperty::read(box, "model").toStringList().indexOf(device);
        const bool right = known ? box->isEnabled() && shown != dash &&
                                       box->property("currentIndex").toInt() == deviceIndex
                                 : !box->isEnabled() && !listOpen && shown == dash;
        return right ? QString()
                     : QStringLiteral("the source shows \"%1\"%2")
                           .arg(shown, listOpen ? " with its list open" : "");
    };
    QVERIFY2(watch.untilKnown([&] { return source; }, sourceShown), qPrintable(watch.wrong()));
    QVERIFY(watch.unknownSeen() > 0);

    // The input delay's amount: a click and a typed amount change nothing.
    QVERIFY(m_session.load(QStringLiteral("InputDelay.qml"), QString()));
    const QList<QQuickItem*> fields = shownOnPage(QStringLiteral("amountField"));
    QVERIFY(!fields.isEmpty());
    QVERIFY2(!KnownValuesWatch::backendKnows(fields.first()), "the value came first");
    QQuickView* view = m_session.shell().loader()->view();
    click(fields.first());
    QTest::keyClick(view, '5');
    QTest::keyClick(view, Qt::Key_Return);
    const auto fieldShown = [&](QQuickItem* field, bool known) {
        const QString shown = field->property("text").toString();
        const bool right = known
                               ? field->isEnabled() && !shown.isEmpty()
                               : !field->isEnabled() && !field->hasActiveFocus() && shown.isEmpty();
        return right ? QString()
                     : QStringLiteral("an amount field shows \"%1\", %2")
                           .arg(shown, field->isEnabled() ? "taking typing" : "dimmed");
    };
    QVERIFY2(watch.untilKnown([&] { return fields; }, fieldShown), qPrintable(watch.wrong()));
    QVERIFY(watch.unknownSeen() > 0);

    // The option card's input names: a name typed over an empty box goes nowhere.
    QVERIFY(m_session.load(QStringLiteral("ScreenInputRouter.qml"), QString()));
    const QList<QQuickItem*> names = shownOnPage(QStringLiteral("inputName_1"));
    QVERIFY(!names.isEmpty());
    QVERIFY2(!KnownValuesWatch::backendKnows(names.first()), "the value came first");
    click(names.first());
    for (const char key : {'K', 'i', 'c', 'k'})
        QTest::keyClick(view, key);
    QTest::keyClick(view, Qt::Key_Tab);
    QVERIFY2(watch.untilKnown([&] { return names; }, &KnownValuesWatch::nameBoxMisshown),
             qPrintable(watch.wrong()));
    QVERIFY(watch.unknownSeen() > 0);

    // The writes of the three controls (the analyser page asks for the option card's names by
    // one of its own).
    const QStringList sets = setsSince(from).filter(
        QRegularExpression(QStringLiteral(R"(\\(RTARouter|InputDelay)\\|InputName)")));
    QVERIFY2(sets.isEmpty(), qPrintable("written: " + sets.join(", ")));

    // The input router: every cell of a slot whose source has not come shows the dash and takes
    // no click; then the device's source is the one cell filled.
    const int fromGrid = m_session.device().received().size();
    QVERIFY(m_session.load(QStringLiteral("ScreenInputRouter.qml"), QString()));
    const QList<QQuickItem*> slotRows = shownOnPage(QStringLiteral("slotRow"));
    QCOMPARE(slotRows.size(), 7);
    QVERIFY2(!KnownValuesWatch::backendKnows(slotRows.first()), "the value came first");
    m_session.shell().screenshot(QStringLiteral("router-unknown.png"));
    const QString firstSlot = slotRows.first()->property("variable").toString();
    const DeviceModel::Variable* slotVariable = m_model.variable(
        ConsoleLineBuilder::pathBody(QStringLiteral("InputRouter"), firstSlot).mid(2).chopped(1));
    QVERIFY(slotVariable);
    const QStringList sources = slotVariable->entries;
    QQuickItem* otherSource = findItem(slotRows.first(), firstSlot + '_' + sources.last(), {});
    QVERIFY(otherSource);
    click(otherSource);
    const auto slotShown = [&](QQuickItem* row, bool known) {
        const QString variable = row->property("variable").toString();
        const QString source =
            KnownValuesWatch::backendOf(row)->property("selectedValue").toString();
        for (const QString& entry : sources) {
            const QQuickItem* cell = findItem(row, variable + QLatin1Char('_') + entry, QString());
            if (!cell)
                return QStringLiteral("%1 has no %2 cell").arg(variable, entry);
            const QString text = cell->property("text").toString();
            const bool filled = cell->property("checked").toBool();
            const bool right = known ? cell->isEnabled() && filled == (entry == source) &&
                                           text == (filled ? entry : QString())
                                     : !cell->isEnabled() && !filled && text == dash;
            if (!right) {
                return QStringLiteral("%1's %2 cell shows \"%3\"%4%5")
                    .arg(variable, entry, text, filled ? ", filled" : "",
                         cell->isEnabled() ? ", taking a click" : "");
            }
        }
        return QString();
    };
    QVERIFY2(watch.untilKnown([&] { return slotRows; }, slotShown), qPrintable(watch.wrong()));
    QVERIFY(watch.unknownSeen() > 0);

    // MUTE ALL: a dash that takes no click until the device has told all six mutes the strips
    // show; then what a click would do.
    QVERIFY(m_session.load(QStringLiteral("ScreenOutputMeters.qml"), QString()));
    const QList<QQuickItem*> muteAll = shownOnPage(QStringLiteral("muteAllButton"));
    QVERIFY(!muteAll.isEmpty());
    const auto outputMutes = [this] {
        return visibleItemsNamed(m_session.shell().pageItem(), QStringLiteral("mute"));
    };
    const auto mutesKnown = [&](QQuickItem*) {
        const QList<QQuickItem*> mutes = outputMutes();
        return mutes.size() == 6 &&
               std::all_of(mutes.begin(), mutes.end(), &KnownValuesWatch::backendKnows);
    };
    QVERIFY2(!mutesKnown(nullptr), "the states came first");
    m_session.shell().screenshot(QStringLiteral("outputs-unknown.png"));
    click(muteAll.first());
    const auto muteAllShown = [&](QQuickItem* button, bool known) {
        const QString text = button->property("text").toString();
        const QList<QQuickItem*> mutes = outputMutes();
        const bool allMuted = std::all_of(mutes.begin(), mutes.end(), [](QQuickItem* mute) {
            return KnownValuesWatch::backendOf(mute)->property("activeState").toBool();
        });
        const bool right = known ? button->isEnabled() &&
                                       text == QLatin1String(allMuted ? "UNMUTE ALL" : "MUTE ALL")
                                 : !button->isEnabled() && text == dash;
        return right ? QString()
                     : QStringLiteral("MUTE ALL shows \"%1\"%2")
                           .arg(text, button->isEnabled() ? ", taking a click" : "");
    };
    QVERIFY2(watch.untilKnown([&] { return muteAll; }, muteAllShown, mutesKnown),
             qPrintable(watch.wrong()));
    QVERIFY(watch.unknownSeen() > 0);

    // The room EQ says that the device holds no room measurement once the device has said so,
    // not while the measurement is on its way.
    QVERIFY(m_session.load(QStringLiteral("QX8AEQ.qml"), QString()));
    QVERIFY(!shownOnPage(QStringLiteral("onOffButton")).isEmpty());
    QQuickItem* noMeasurement =
        findItem(m_session.shell().pageItem(), QStringLiteral("noRoomMeasurement"), QString());
    QVERIFY(noMeasurement);
    QX8Control* response = nullptr;
    for (QX8Control* control : boundControlsUnder(m_session.shell().pageItem())) {
        if (control->svName() == QLatin1String("Response"))
            response = control;
    }
    QVERIFY(response);
    QVERIFY2(!response->hasDeviceValue(), "the response came first");
    const auto noticeShown = [response](QQuickItem* notice, bool known) {
        const bool none = known && response->property("value").toString().isEmpty();
        return notice->isVisible() == none
                   ? QString()
                   : QStringLiteral("\"%1\" is %2")
                         .arg(notice->property("text").toString(), none ? "hidden" : "shown");
    };
    QVERIFY2(watch.untilKnown([&] { return QList<QQuickItem*>{noMeasurement}; }, noticeShown,
                              [response](QQuickItem*) { return response->hasDeviceValue(); }),
             qPrintable(watch.wrong()));
    QVERIFY(watch.unknownSeen() > 0);

    const QStringList early = setsSince(fromGrid).filter(
        QRegularExpression(QStringLiteral(R"(\\InputRouter\\|_Mute\\)")));
    QVERIFY2(early.isEmpty(), qPrintable("written: " + early.join(", ")));
}

// Over the slow link a graph says that it waits and draws no total of its bands until the device
// has told every value of every band, and a parametric EQ's band shows its handle only once all
// its values have come; then the graph draws the device's curves and waits no more.
void TestPages::graphsDrawOnlyWhatTheyKnow_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("selector");
    QTest::newRow("parametric EQ") << "QX8PEQ.qml"
                                   << "Mid";
    QTest::newRow("crossover") << "CrossOver.qml" << QString();
    QTest::newRow("Nuq") << "ScreenNuq.qml" << QString();
}

void TestPages::graphsDrawOnlyWhatTheyKnow()
{
    QFETCH(QString, page);
    QFETCH(QString, selector);
    const SlowConsole slow(m_session.device());
    QVERIFY(slow.isSlow());
    QVERIFY(m_session.load(page, selector));
    const auto graphs = [this] {
        QList<QQuickItem*> found;
        for (QQuickItem* item : visibleItemsUnder(m_session.shell().pageItem())) {
            if (qobject_cast<CurveGraphItem*>(item))
                found << item;
        }
        return found;
    };
    // The panel's notice: in the nearest item above the graph that holds one.
    const auto noticeOf = [](QQuickItem* graph) {
        QQuickItem* notice = nullptr;
        for (QQuickItem* panel = graph->parentItem(); panel && !notice; panel = panel->parentItem())
            notice = findItem(panel, QStringLiteral("waitingNotice"), QString());
        return notice;
    };
    const auto valuesOf = [](QQuickItem* graph, const QString& band) {
        QList<QX8Control*> values;
        for (QX8Control* value : graph->findChildren<QX8Control*>()) {
            if (value->svName().startsWith(band))
                values << value;
        }
        return values;
    };
    const auto allKnown = [](const QList<QX8Control*>& values) {
        return !values.isEmpty() &&
               std::all_of(values.begin(), values.end(),
                           [](const QX8Control* value) { return value->hasDeviceValue(); });
    };
    // The total's line; an edge's faint pixels read any colour.
    const auto white = [](QRgb pixel) {
        return qAlpha(pixel) > 200 && qRed(pixel) > 240 && qGreen(pixel) > 240 &&
               qBlue(pixel) > 240;
    };
    const auto graphShown = [&](QQuickItem* item, bool known) {
        auto* graph = qobject_cast<CurveGraphItem*>(item);
        if (known) // drawn from the next repaint on, checked below
            return QString();
        const QQuickItem* notice = noticeOf(graph);
        if (graph->allValuesArrived() || !notice || !notice->isVisible())
            return QStringLiteral("the graph does not say that it waits");
        if (qx8test::anyPixel(qx8test::painted(*graph), white))
            return QStringLiteral("the total shows before every band came");
        for (int band = 1; QQuickItem* handle = findItem(graph->parentItem(),
                                                         QStringLiteral("handle_%1").arg(band), {});
             ++band) {
            if (handle->isVisible() &&
                !allKnown(valuesOf(graph, QStringLiteral("Band_%1_").arg(band))))
                return QStringLiteral("%1 shows before its values came").arg(handle->objectName());
        }
        return QString();
    };
    const QString tag = QString(QTest::currentDataTag()).replace(' ', '-');
    QVERIFY(qx8test::runEventsUntil([&] { return !graphs().isEmpty(); }, qx8test::timeoutMs()));
    m_session.shell().screenshot(tag + "-unknown.png");
    KnownValuesWatch watch;
    QVERIFY2(watch.untilKnown(graphs, graphShown,
                              [&](QQuickItem* graph) { return allKnown(valuesOf(graph, {})); }),
             qPrintable(watch.wrong()));
    QVERIFY(watch.unknownSeen() > 0);
    auto* graph = qobject_cast<CurveGraphItem*>(graphs().first());
    QVERIFY(graph->allValuesArrived());
    QVERIFY(!noticeOf(graph)->isVisible());
    // The device's curves, the parametric EQ's total among them.
    const bool total = page == QLatin1String("QX8PEQ.qml");
    QTRY_VERIFY_WITH_TIMEOUT(
        qx8test::anyPixel(qx8test::painted(*graph),
                          [&](QRgb pixel) { return total ? white(pixel) : qAlpha(pixel) > 0; }),
        qx8test::timeoutMs());
    m_session.shell().screenshot(tag + "-known.png");
}

// Over the slow link a block of the home screen shows neither on nor off, dimmed under a dash,
// until the device has told whether its object is on; then dimmed under "OFF" only when it is
// off. A click on a block opens its page before that all the same.
void TestPages::homeBlocksShowWhatTheyDoNotKnow()
{
    const SlowConsole slow(m_session.device());
    QVERIFY(slow.isSlow());
    const QString dash = QStringLiteral("\u2013");
    QVERIFY(m_session.load(QStringLiteral("QX8HomeScreen.qml")));
    const auto blocks = [this] {
        QList<QQuickItem*> switched;
        for (QQuickItem* item : visibleItemsUnder(m_session.shell().pageItem())) {
            if (item->objectName().startsWith(QLatin1String("block_")) &&
                !item->property("switchVariable").toString().isEmpty())
                switched << item;
        }
        return switched;
    };
    const auto blockShown = [&](QQuickItem* block, bool known) {
        const QQuickItem* state = findItem(block, QStringLiteral("blockState"), QString());
        const QString text = state->isVisible() ? state->property("text").toString() : QString();
        const bool dimmed = block->property("dimmed").toBool();
        const bool off =
            known && !KnownValuesWatch::backendOf(block)->property("activeState").toBool();
        const bool right =
            block->isEnabled() &&
            (known ? dimmed == off && text == (off ? "OFF" : "") : dimmed && text == dash);
        return right ? QString()
                     : QStringLiteral("%1 shows \"%2\"%3")
                           .arg(block->objectName(), text, dimmed ? ", dimmed" : "");
    };
    KnownValuesWatch watch;
    QVERIFY(qx8test::runEventsUntil([&] { return !blocks().isEmpty(); }, qx8test::timeoutMs()));
    m_session.shell().screenshot(QStringLiteral("home-unknown.png"));
    QVERIFY2(watch.untilKnown(blocks, blockShown), qPrintable(watch.wrong()));
    QVERIFY(watch.unknownSeen() > 0);
    QVERIFY(m_session.waitForFrame());
    m_session.shell().screenshot(QStringLiteral("home-known.png"));

    m_session.unload();
    QVERIFY(m_session.load(QStringLiteral("QX8HomeScreen.qml")));
    QQuickItem* block = m_session.waitForItem(QStringLiteral("block_PEQ_High"));
    QVERIFY(block);
    QVERIFY2(!KnownValuesWatch::backendKnows(block), "the state came first");
    QVERIFY(m_session.click(QStringLiteral("block_PEQ_High")));
    QVERIFY(m_session.waitForPage(QStringLiteral("QX8PEQ.qml")));
}

void TestPages::quickNudgesOnASlowLinkEachStepOn_data()
{
    QTest::addColumn<int>("direction"); // of the button: 1 "+", -1 "-"
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("heldMs"); // a press held after the clicks; 0: none
    QTest::newRow("five up") << 1 << 5 << 0;
    QTest::newRow("five down") << -1 << 5 << 0;
    QTest::newRow("two up, then held") << 1 << 2 << 4000;
}

// Over the slow link, the input delay's "+" or "-" clicked 270 ms apart: every click writes one
// step on from the last, and the device ends as many steps away as there were clicks. A press
// held after them steps on from them at once, and then once per answer of the device to its
// last step. The field then shows the device's value.
void TestPages::quickNudgesOnASlowLinkEachStepOn()
{
    QFETCH(int, direction);
    QFETCH(int, clicks);
    QFETCH(int, heldMs);
    VirtualProcessor& device = m_session.device();
    const double start = 7.12;
    const double step = 0.06;
    const QString path =
        ConsoleLineBuilder::pathBody(QStringLiteral("InputDelay"), QStringLiteral("Amount"));
    QVERIFY(device.command(QStringLiteral("set \"%1\" %2").arg(path).arg(start)).startsWith("ok"));
    QQuickItem* field = loadedControl(QStringLiteral("InputDelay.qml"), QString(),
                                      QStringLiteral("amountField"), QStringLiteral("Amount"));
    QVERIFY(field);
    QTRY_COMPARE(field->property("text").toString(), QStringLiteral("7.12"));
    QQuickItem* button = nudgeBeside(field, direction);
    QVERIFY(button);
    const SlowConsole slow(device);
    QVERIFY(slow.isSlow());
    const int wireBefore = device.received().size();

    for (int clicked = 0; clicked < clicks; ++clicked) {
        click(button);
        QTest::qWait(270);
    }
    if (heldMs > 0) {
        QQuickView* view = m_session.shell().loader()->view();
        QTest::mousePress(view, Qt::LeftButton, {}, centreOf(button));
        QTest::qWait(heldMs);
        QTest::mouseRelease(view, Qt::LeftButton, {}, centreOf(button));
        QTest::mouseMove(view, QPoint(-1, -1));
    }
    QTRY_VERIFY_WITH_TIMEOUT(!amountWriteUnanswered(), 30000);

    const QStringList sets = setsSince(wireBefore);
    QStringList expected;
    for (int steps = 1; steps <= sets.size(); ++steps) {
        expected += amountSets(QString::number(start + direction * steps * step, 'g', 6) +
                               QStringLiteral("ms"));
    }
    QCOMPARE(sets, expected);
    // Held, it stepped at the press and then on each answer to its last step (the device answers
    // no sooner than its latency), while held.
    const int most = clicks + 1 + heldMs / SlowConsole::kLatencyMs;
    QVERIFY2(heldMs > 0 ? sets.size() >= clicks + 2 && sets.size() <= most : sets.size() == clicks,
             qPrintable(sets.join('\n')));
    // The device holds it in milliseconds, feet and metres.
    const QString reached = QString::number(start + direction * sets.size() * step, 'f', 2);
    QCOMPARE(device.command("value \"" + path + '"').section('/', 0, 0),
             "ok " + reached + QStringLiteral("ms"));
    QTRY_COMPARE(field->property("text").toString(), reached);
}

// Over the slow link, an amount typed and left by Tab stays in the field, dimmed, in every frame
// drawn until the device answers; then the device's value shows, in the values' colour.
void TestPages::typedAmountStaysUntilTheDeviceAnswers()
{
    QQuickItem* field =
        amountFieldTyped(QStringLiteral("2.5"), QStringLiteral("2.50"), QStringLiteral("7"));
    QVERIFY(field);
    const auto themed = [field](const char* colour) {
        return QQmlExpression(qmlContext(field), field, QStringLiteral("Theme.") + colour)
            .evaluate()
            .value<QColor>();
    };
    const SlowConsole slow(m_session.device());
    QVERIFY(slow.isSlow());
    const int wireBefore = m_session.device().received().size();
    QQuickView* view = m_session.shell().loader()->view();
    QList<QPair<QString, QColor>> frames;
    // Each frame drawn asks for the next, so that the field is seen all the way.
    const QMetaObject::Connection drawn = connect(view, &QQuickWindow::frameSwapped, this, [&] {
        frames.append(
            {field->property("text").toString(), field->property("color").value<QColor>()});
        view->update();
    });
    fieldleaving::leave(view, QStringLiteral("tab"), QPoint());
    QTRY_COMPARE_WITH_TIMEOUT(field->property("text").toString(), QStringLiteral("7.00"),
                              qx8test::timeoutMs());
    QVERIFY(m_session.waitForFrame());
    disconnect(drawn);

    const auto answered = std::find_if(frames.begin(), frames.end(), [](const auto& frame) {
        return frame.first != QLatin1String("7");
    });
    QVERIFY2(answered - frames.begin() >= 10,
             qPrintable(QString::number(answered - frames.begin())));
    for (auto frame = frames.begin(); frame != frames.end(); ++frame) {
        const bool waiting = frame < answered;
        QCOMPARE(frame->first, waiting ? QStringLiteral("7") : QStringLiteral("7.00"));
        QCOMPARE(frame->second, themed(waiting ? "textDim" : "text"));
    }
    QCOMPARE(setsSince(wireBefore), amountSets(QStringLiteral("7ms")));
}

// Over the slow link, five clicks on the input delay's "+" 270 ms apart: in every frame from each
// click the fields in milliseconds, feet and metres show the newest value written, dimmed, in
// their unit as the device will report it, never an earlier value brought by the answer to an
// earlier click; once the device has answered the last, its value shows, undimmed.
void TestPages::nudgedAmountShowsInEveryUnitEveryFrame()
{
    VirtualProcessor& device = m_session.device();
    const QString path =
        ConsoleLineBuilder::pathBody(QStringLiteral("InputDelay"), QStringLiteral("Amount"));
    QVERIFY(device.command(QStringLiteral("set \"%1\" 2.5").arg(path)).startsWith("ok"));
    QQuickItem* msField = loadedControl(QStringLiteral("InputDelay.qml"), QString(),
                                        QStringLiteral("amountField"), QStringLiteral("Amount"));
    QVERIFY(msField);
    const QList<QQuickItem*> fields =
        visibleItemsNamed(m_session.shell().pageItem(), QStringLiteral("amountField"));
    QCOMPARE(fields.size(), 3);
    QCOMPARE(fields.first(), msField);
    const DeviceModel::Variable* amount = m_model.variable(path.mid(2).chopped(1));
    QVERIFY(amount);
    QCOMPARE(amount->displayUnits.size(), fields.size());
    // The amount in each unit as the device reports it.
    const auto inEveryUnit = [&](double ms, bool dimmed) {
        QStringList texts;
        for (const DeviceModel::DisplayUnit& unit : amount->displayUnits)
            texts << QString::number(ms * unit.scale, 'f', 2);
        return texts.join(' ') + (dimmed ? QStringLiteral(", dimmed") : QString());
    };
    const auto shown = [&] {
        QStringList texts;
        bool dimmed = false;
        for (QQuickItem* field : fields) {
            texts << field->property("text").toString();
            dimmed = dimmed || looksPending(field);
        }
        return texts.join(' ') + (dimmed ? QStringLiteral(", dimmed") : QString());
    };
    QTRY_COMPARE(shown(), inEveryUnit(2.5, false));
    QQuickItem* up = nudgeBeside(msField, 1);
    QVERIFY(up);
    const SlowConsole slow(device);
    QVERIFY(slow.isSlow());
    ShownFrames frames(m_session.shell().loader()->view(), shown);
    QVERIFY(frames.waitForFrame());

    QStringList expected{inEveryUnit(2.5, false)};
    for (int clicks = 1; clicks <= 5; ++clicks) {
        click(up);
        expected << inEveryUnit(2.5 + 0.06 * clicks, true);
        QTest::qWait(270);
    }
    expected << inEveryUnit(2.8, false);
    QTRY_VERIFY_WITH_TIMEOUT(!amountWriteUnanswered(), 30000);
    QVERIFY(m_session.waitForFrame());
    QVERIFY(frames.stop());

    QCOMPARE(device.command("value \"" + path + '"').section('/', 0, 0), "ok 2.80ms");
    QCOMPARE(frames.shown(), expected);
    QVERIFY2(frames.drawn() >= 20, qPrintable(QString::number(frames.drawn())));
}

void TestPages::quickSwitchClicksOnASlowLinkEachSwitch_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QStringList>("variables"); // that one click switches
    QTest::addColumn<bool>("on");               // as the device holds them first
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QStringList>("texts"); // the button's, off and on
    const QStringList onOff{"OFF", "ON"};
    const QStringList mute{"MUTE", "MUTED"};
    QStringList allMutes;
    for (int output = 1; output <= 6; ++output)
        allMutes << QStringLiteral("Channel_%1_Mute").arg(output);
    QTest::newRow("ON, two clicks") << "ScreenNuq.qml"
                                    << "onOffButton"
                                    << "Nuq" << QStringList{"Nuq"} << true << 2 << onOff;
    QTest::newRow("ON, three clicks") << "ScreenNuq.qml"
                                      << "onOffButton"
                                      << "Nuq" << QStringList{"Nuq"} << true << 3 << onOff;
    QTest::newRow("MUTE, two clicks")
        << "ScreenOutputMeters.qml"
        << "mute"
        << "OutputGains" << QStringList{"Channel_3_Mute"} << false << 2 << mute;
    QTest::newRow("MUTE, three clicks")
        << "ScreenOutputMeters.qml"
        << "mute"
        << "OutputGains" << QStringList{"Channel_3_Mute"} << false << 3 << mute;
    QTest::newRow("MUTE ALL, two clicks")
        << "ScreenOutputMeters.qml"
        << "muteAllButton"
        << "OutputGains" << allMutes << false << 2 << QStringList{"MUTE ALL", "UNMUTE ALL"};
}

// Over the slow link, an on/off button clicked 270 ms apart: every click writes the opposite of
// the last click's state, which shows, dimmed, in every frame from the click until the device
// has answered every write, never turned back by the answer to an earlier one; the device ends
// as many switches away as there were clicks, and then its state shows, undimmed.
void TestPages::quickSwitchClicksOnASlowLinkEachSwitch()
{
    QFETCH(QString, page);
    QFETCH(QString, item);
    QFETCH(QString, object);
    QFETCH(QStringList, variables);
    QFETCH(bool, on);
    QFETCH(int, clicks);
    QFETCH(QStringList, texts);
    VirtualProcessor& device = m_session.device();
    const auto path = [&](const QString& variable) {
        return ConsoleLineBuilder::pathBody(object, variable);
    };
    const auto setAll = [&](bool state) {
        for (const QString& variable : variables) {
            if (!device
                     .command(
                         QStringLiteral("set \"%1\" %2").arg(path(variable), state ? "On" : "Off"))
                     .startsWith("ok"))
                return false;
        }
        return true;
    };
    QVERIFY(setAll(on));
    const auto restore = qScopeGuard([&] { setAll(on); });
    QQuickItem* button =
        loadedControl(page, QString(), item, item == "muteAllButton" ? QString() : variables[0]);
    QVERIFY(button);
    QTRY_COMPARE(button->property("text").toString(), texts[on]);
    const auto written = [&] {
        return std::any_of(variables.begin(), variables.end(), [&](const QString& variable) {
            return TCPAdaptor::instance()
                ->requests()
                .unansweredWrite(ConsoleRequest::targetOf(object, variable, QString()))
                .has_value();
        });
    };
    const SlowConsole slow(device);
    QVERIFY(slow.isSlow());
    const int wireBefore = device.received().size();
    QQuickView* view = m_session.shell().loader()->view();
    // The text and whether the face is dimmed, in each frame unlike the one before.
    using Frame = QPair<QString, bool>;
    QList<Frame> frames;
    int drawnFrames = 0;
    const auto contents = button->property("contentItem").value<QQuickItem*>();
    const QMetaObject::Connection drawn = connect(view, &QQuickWindow::frameSwapped, this, [&] {
        const Frame frame{button->property("text").toString(), contents->opacity() < 1};
        if (frames.isEmpty() || frames.last() != frame)
            frames.append(frame);
        ++drawnFrames;
        view->update();
    });
    QVERIFY(m_session.waitForFrame());

    QStringList expectedSets;
    QList<Frame> expectedFrames{{texts[on], false}};
    const QPoint spot = centreOf(button);
    bool state = on;
    for (int clicked = 0; clicked < clicks; ++clicked) {
        // As a hand's quick clicks, in place and 270 ms apart by the events' own clock too:
        // within the double-click interval.
        QTest::mouseClick(view, Qt::LeftButton, {}, spot);
        QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval - 270;
        state = !state;
        for (const QString& variable : variables)
            expectedSets
                << QStringLiteral("set \"%1\" \"%2\"").arg(path(variable), state ? "1" : "0");
        expectedFrames.append({texts[state], true});
        QTest::qWait(270);
    }
    QTest::mouseMove(view, QPoint(-1, -1));
    expectedFrames.append({texts[state], false});
    QTRY_VERIFY_WITH_TIMEOUT(!written(), 30000);
    QVERIFY(m_session.waitForFrame());
    disconnect(drawn);

    QCOMPARE(setsSince(wireBefore), expectedSets);
    for (const QString& variable : variables) {
        QCOMPARE(device.command("value \"" + path(variable) + '"'),
                 QString(state ? "ok On" : "ok Off"));
    }
    QCOMPARE(frames, expectedFrames);
    QVERIFY2(drawnFrames >= 20, qPrintable(QString::number(drawnFrames)));
}

void TestPages::quickPicksOnASlowLinkEndOnTheLast_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("item"); // a combo box, or the prefix of a group's buttons
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("held"); // by the device first
    QTest::addColumn<QStringList>("picks");
    QTest::newRow("crossover type, a pick and back") << "CrossOver.qml"
                                                     << "choice"
                                                     << "Crossover"
                                                     << "Band_1_HPType"
                                                     << "LR 48" << QStringList{"BW 24", "LR 48"};
    QTest::newRow("generator type, a choice and back")
        << "ScreenSigGen.qml"
        << "type_"
        << "SignalGenerator"
        << "Signal Type"
        << "Pink Noise" << QStringList{"Sine", "Pink Noise"};
}

// Over the slow link, a combo box's entry or a group's button picked and, 270 ms later, picked
// back: both picks are written and the device ends on the last. Each pick shows, dimmed, in every
// frame from the pick until the device has answered both, never turned back by the answer to the
// first; then the device's choice shows, undimmed.
void TestPages::quickPicksOnASlowLinkEndOnTheLast()
{
    QFETCH(QString, page);
    QFETCH(QString, item);
    QFETCH(QString, object);
    QFETCH(QString, variable);
    QFETCH(QString, held);
    QFETCH(QStringList, picks);
    VirtualProcessor& device = m_session.device();
    const QString path = ConsoleLineBuilder::pathBody(object, variable);
    QVERIFY(device.command(QStringLiteral("set \"%1\" \"%2\"").arg(path, held)).startsWith("ok"));
    const bool group = item.endsWith(QLatin1Char('_'));
    QQuickItem* control = loadedControl(page, QString(), group ? item + held : item, variable);
    QVERIFY(control);
    QQuickItem* pageItem = m_session.shell().pageItem();
    const DeviceModel::Variable* choice = m_model.variable(path.mid(2).chopped(1));
    QVERIFY(choice);
    // The pick shown: the combo box's text, or the group's pressed button.
    const auto shown = [&] {
        QQuickItem* showing = control;
        QString text = control->property("displayText").toString();
        for (const QString& entry : choice->entries) {
            QQuickItem* button = group ? findItem(pageItem, item + entry, QString()) : nullptr;
            if (button && button->property("checked").toBool()) {
                showing = button;
                text = entry;
            }
        }
        return text + (looksPending(showing) ? QStringLiteral(", dimmed") : QString());
    };
    QTRY_COMPARE(shown(), held);
    const SlowConsole slow(device);
    QVERIFY(slow.isSlow());
    const int wireBefore = device.received().size();
    ShownFrames frames(m_session.shell().loader()->view(), shown);
    QVERIFY(frames.waitForFrame());

    QStringList expectedSets;
    QStringList expectedFrames{held};
    for (const QString& entry : picks) {
        if (group)
            click(findItem(pageItem, item + entry, QString()));
        else
            QVERIFY(pick(control, entry));
        expectedSets << QStringLiteral("set \"%1\" \"%2\"").arg(path, entry);
        expectedFrames << entry + QStringLiteral(", dimmed");
        QTest::qWait(270);
    }
    expectedFrames << picks.last();
    QVERIFY(SlowConsole::answeredWrites(object, variable));
    QVERIFY(frames.stop());

    QCOMPARE(setsSince(wireBefore), expectedSets);
    QCOMPARE(device.command("value \"" + path + '"'), "ok " + picks.last());
    QCOMPARE(frames.shown(), expectedFrames);
    QVERIFY2(frames.drawn() >= 20, qPrintable(QString::number(frames.drawn())));
}

void TestPages::quickDragsOnASlowLinkEndOnTheLast_data()
{
    addDraggedControlColumns();
    QTest::addColumn<QString>("object");
    QTest::addColumn<QPoint>("by"); // the first drag; the second goes back as far
    QTest::newRow("synthesis slider") << "QX8SubHarmonic.qml" << QString() << "slider"
                                      << "Subharmonics"
                                      << "SubharmonicSynth" << QPoint(60, 0);
    QTest::newRow("output fader") << "ScreenOutputMeters.qml" << QString() << "fader"
                                  << "Channel_2_Gain"
                                  << "OutputGains" << QPoint(0, -60);
}

// Over the slow link, a slider or fader dragged and, 270 ms after the release, dragged back: in
// every frame the position moves with the hand, stays where each drag left it, dimmed, and never
// jumps back to where the answer to an earlier write puts it; once the device has answered every
// write it holds the last written, which shows, undimmed.
void TestPages::quickDragsOnASlowLinkEndOnTheLast()
{
    QFETCH(QString, page);
    QFETCH(QString, selector);
    QFETCH(QString, item);
    QFETCH(QString, variable);
    QFETCH(QString, object);
    QFETCH(QPoint, by);
    QQuickItem* control = loadedControl(page, selector, item, variable);
    QVERIFY(control);
    const auto shown = [control] {
        return QString::number(control->property("value").toDouble(), 'f', 2) +
               (looksPending(control) ? QStringLiteral(", dimmed") : QString());
    };
    VirtualProcessor& device = m_session.device();
    const SlowConsole slow(device);
    QVERIFY(slow.isSlow());
    const int wireBefore = device.received().size();
    ShownFrames frames(m_session.shell().loader()->view(), shown);
    QVERIFY(frames.waitForFrame());

    drag(control, by);
    QTest::qWait(270);
    drag(control, -by);
    const QString valueType = KnownValuesWatch::backendOf(control)->valueType();
    QTest::qWait(2 * QX8NumericalSV::kThrottleMs);
    QVERIFY(SlowConsole::answeredWrites(object, variable, valueType));
    QVERIFY(frames.stop());

    // Up and back, or down and back: the positions shown turn once.
    QList<double> positions;
    for (const QString& frame : frames.shown()) {
        const double position = frame.section(',', 0, 0).toDouble();
        if (positions.isEmpty() || positions.last() != position)
            positions << position;
    }
    const auto turn = std::max_element(positions.begin(), positions.end(), [&](double a, double b) {
        return (by.x() - by.y()) > 0 ? a < b : a > b;
    });
    QVERIFY2(positions.size() >= 3 && turn != positions.begin() && turn + 1 != positions.end() &&
                 std::is_sorted(positions.begin(), turn + 1) !=
                     std::is_sorted(turn, positions.end()),
             qPrintable(frames.shown().join(" | ")));
    const QStringList shownLast = frames.shown().mid(frames.shown().size() - 2);
    QCOMPARE(shownLast, QStringList({shown().section(',', 0, 0) + ", dimmed", shown()}));
    const QStringList sets = setsSince(wireBefore);
    QVERIFY(!sets.isEmpty());
    const QString held =
        device.command("value \"" + ConsoleRequest::targetOf(object, variable, valueType) + '"');
    QCOMPARE(ValueText::number(held.mid(3)), ValueText::number(sets.last().section('"', 3, 3)));
}

void TestPages::pageShowsItsHeadingWhileThePresetIsListed_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("content"); // an item the page makes once the list has come
    QTest::newRow("graphic EQ") << "QX8GEQ.qml"
                                << "StereoGEQ"
                                << "STEREO GEQ"
                                << "drawButton";
    QTest::newRow("compressor") << "QX8Compressor.qml" << QString() << "COMPRESSOR"
                                << "onOffButton";
    QTest::newRow("outputs") << "ScreenOutputMeters.qml" << QString() << "OUTPUTS"
                             << "muteAllButton";
}

// Over the slow link, from its first frame until the device has listed the preset's objects, a
// page shows its heading and that it waits, not a blank page; then its own content under the
// same heading, and the notice is gone.
void TestPages::pageShowsItsHeadingWhileThePresetIsListed()
{
    QFETCH(QString, page);
    QFETCH(QString, selector);
    QFETCH(QString, heading);
    QFETCH(QString, content);
    const SlowConsole slow(m_session.device());
    QVERIFY(slow.isSlow());
    QVERIFY(m_session.load(page, selector));
    QQuickItem* pageItem = m_session.shell().pageItem();
    QQuickItem* body = findItem(pageItem, QStringLiteral("pageBody"), QString());
    QVERIFY(body);
    const auto headings = [&] {
        QStringList texts;
        for (QQuickItem* title : visibleItemsNamed(pageItem, QStringLiteral("headingTitle")))
            texts << title->property("text").toString();
        return texts;
    };
    // Notices of the page's frame, not of a graph in its content that waits for its values.
    const auto pageNotices = [&] {
        QStringList texts;
        for (QQuickItem* notice : visibleItemsNamed(pageItem, QStringLiteral("waitingNotice"))) {
            if (!body->isAncestorOf(notice))
                texts << notice->property("text").toString();
        }
        return texts;
    };
    const auto listed = [&] {
        return !QQmlProperty::read(pageItem, "presetObjectNames").toStringList().isEmpty();
    };

    QVERIFY2(!listed(), "the list came first");
    QCOMPARE(headings(), QStringList{heading});
    QCOMPARE(pageNotices(), QStringList{QStringLiteral("Waiting for the device")});
    m_session.shell().screenshot(page.section('.', 0, 0) + QStringLiteral("-listing.png"));

    QVERIFY(qx8test::runEventsUntil([&] { return !visibleItemsNamed(pageItem, content).isEmpty(); },
                                    qx8test::timeoutMs()));
    QVERIFY(listed());
    QCOMPARE(headings(), QStringList{heading});
    QCOMPARE(pageNotices(), QStringList());
}

// The crossover and delay pages show the bands the home screen found on the device, as it left
// them in the settings: the crossover's band buttons named after the groups they feed, the
// delays of the groups it shows. The last row is the device's own layout.
void TestPages::crossoverAndDelayFollowTheHome_data()
{
    QTest::addColumn<QString>("numBands");
    QTest::addColumn<QString>("monoSub");
    QTest::addColumn<QStringList>("bandButtons");
    QTest::addColumn<QStringList>("delays");
    QTest::addColumn<QString>("summary");
    QTest::newRow("1 band, mono sub") << "1"
                                      << "1" << QStringList{"HIGH", "LOW"}
                                      << QStringList{"HighDelay", "LowDelay"} << "1 WAY + MONO SUB";
    QTest::newRow("2 bands") << "2"
                             << "0" << QStringList{"LOW", "HIGH"}
                             << QStringList{"HighDelay", "LowDelay"} << "2 WAYS";
    QTest::newRow("3 bands, mono sub")
        << "3"
        << "1" << QStringList{"LOW", "MID", "HIGH", "SUB"}
        << QStringList{"HighDelay", "MidDelay", "LowDelay"} << "3 WAYS + MONO SUB";
}

void TestPages::crossoverAndDelayFollowTheHome()
{
    QFETCH(QString, numBands);
    QFETCH(QString, monoSub);
    QFETCH(QStringList, bandButtons);
    QFETCH(QStringList, delays);
    QFETCH(QString, summary);
    QVERIFY(m_session.open(QStringLiteral("HomeButtonPressed"), QString(),
                           QStringLiteral("QX8HomeScreen.qml")));
    for (const auto& [attribute, value] : {qMakePair(QStringLiteral("NumBands"), numBands),
                                           qMakePair(QStringLiteral("MonoSub"), monoSub)}) {
        QVERIFY(
            m_session.device()
                .command(
                    QStringLiteral(R"(set "\\Preset\Crossover\AT\%1\" "%2")").arg(attribute, value))
                .startsWith(QLatin1String("ok")));
    }
    QTRY_VERIFY_WITH_TIMEOUT(QX8Settings().value("Crossover/NumBand").toString() == numBands &&
                                 QX8Settings().value("Crossover/MonoSub").toString() == monoSub,
                             qx8test::timeoutMs());

    QVERIFY(m_session.open(QStringLiteral("Crossover"), QStringLiteral("Low"),
                           QStringLiteral("CrossOver.qml")));
    QQuickItem* page = m_session.shell().pageItem();
    QTRY_VERIFY(findItem(page, QStringLiteral("band_1"), QString()));
    QStringList buttons;
    for (int band = 1; QQuickItem* button = findItem(page, "band_" + QString::number(band), {});
         ++band)
        buttons << button->property("text").toString();
    QCOMPARE(buttons, bandButtons);
    QCOMPARE(findItem(page, QStringLiteral("crossoverBands"), {})->property("text").toString(),
             summary);

    QVERIFY(m_session.open(QStringLiteral("Delay"), QStringLiteral("Mid"),
                           QStringLiteral("ScreenDelay.qml")));
    page = m_session.shell().pageItem();
    QCOMPARE(QQmlProperty::read(page, "shownObjects").toStringList(), delays);
    QCOMPARE(findItem(page, QStringLiteral("crossoverBands"), {})->property("text").toString(),
             summary);
}

void TestPages::nudgeButtonsMoveReleaseTimesAsLabelled_data()
{
    for (const char* column : {"page", "selector", "object", "variable", "start"})
        QTest::addColumn<QString>(column);
    const char* const rows[][6] = {
        {"limiter", "QX8Limiter.qml", "High", "HighLimiter", "Release", "50"},
        {"compressor", "QX8Compressor.qml", "", "Compressor", "Release", "50"},
        {"gate", "ScreenGate.qml", "", "Gate", "Release", "50"},
        {"automatic gain control", "ScreenAGC.qml", "", "AGC", "Release", "1"},
        {"automatic gain control's limiter", "ScreenAGC.qml", "", "AGC", "LimRelease", "50"},
    };
    for (const auto& [name, page, selector, object, variable, start] : rows)
        QTest::newRow(name) << QString(page) << QString(selector) << QString(object)
                            << QString(variable) << QString(start);
}

// The step table counts release times the other way round; still "+" raises the value shown
// and "-" lowers it, on the wire and in the read-out, clicked as a hand clicks.
void TestPages::nudgeButtonsMoveReleaseTimesAsLabelled()
{
    QFETCH(QString, page);
    QFETCH(QString, selector);
    QFETCH(QString, object);
    QFETCH(QString, variable);
    QFETCH(QString, start);
    VirtualProcessor& device = m_session.device();
    const QString path = ConsoleLineBuilder::pathBody(object, variable);
    QVERIFY(device.command(QStringLiteral("set \"%1\" %2").arg(path, start)).startsWith("ok"));
    QVERIFY(loadedControl(page, selector, QStringLiteral("nudgeUp"), variable));
    QQuickItem* pageItem = m_session.shell().pageItem();
    QQuickItem* readout = findItem(pageItem, QStringLiteral("readout"), variable);
    QVERIFY(readout);
    const auto shown = [readout] {
        return ValueText::number(QQmlProperty::read(readout, "parts").toStringList().join(""));
    };
    QTRY_COMPARE(shown(), std::optional<double>(start.toDouble()));

    static const QRegularExpression written(R"re(^set "[^"]*" "([^"]*)"$)re");
    for (const auto& [button, sign] :
         {qMakePair(QStringLiteral("nudgeUp"), 1), qMakePair(QStringLiteral("nudgeDown"), -1)}) {
        const std::optional<double> before = heldNumber(object, variable);
        QVERIFY(before);
        const int wireBefore = device.received().size();
        click(findItem(pageItem, button, variable));
        QStringList sets;
        QTRY_VERIFY_WITH_TIMEOUT(
            !(sets = device.received().mid(wireBefore).filter("set \"" + path)).isEmpty(),
            qx8test::timeoutMs());
        QCOMPARE(sets.size(), 1);
        const std::optional<double> sent =
            ValueText::number(written.match(sets.first()).captured(1));
        QVERIFY2(sent && sign * (*sent - *before) > 0,
                 qPrintable(button + ": " + sets.first() + " from " + QString::number(*before)));
        QTRY_COMPARE(shown(), heldNumber(object, variable));
        QCOMPARE(heldNumber(object, variable), sent);
    }
}

// MUTE ALL mutes the six outputs; once the device reports them all muted, the button reads
// UNMUTE ALL and a click unmutes them all; one output unmuted on the front panel makes it MUTE
// ALL again.
void TestPages::muteAllSaysWhatItDoesNext()
{
    VirtualProcessor& device = m_session.device();
    QQuickItem* button = loadedControl(QStringLiteral("ScreenOutputMeters.qml"), QString(),
                                       QStringLiteral("muteAllButton"), QString());
    QVERIFY(button);
    QQuickItem* pageItem = m_session.shell().pageItem();
    const auto mutePath = [](int output) {
        return ConsoleLineBuilder::pathBody(QStringLiteral("OutputGains"),
                                            QStringLiteral("Channel_%1_Mute").arg(output));
    };
    const auto mutesShown = [&] {
        QStringList shown;
        for (int output = 1; output <= 6; ++output) {
            shown << findItem(pageItem, QStringLiteral("mute"),
                              QStringLiteral("Channel_%1_Mute").arg(output))
                         ->property("text")
                         .toString();
        }
        return shown;
    };
    // The mute writes a click sends, in order.
    const auto clickWrites = [&](const QString& value) {
        static const QRegularExpression muteSet(R"(^set "[^"]*_Mute\\" )");
        const int wireBefore = device.received().size();
        click(button);
        QStringList expected;
        for (int output = 1; output <= 6; ++output)
            expected << QStringLiteral("set \"%1\" \"%2\"").arg(mutePath(output), value);
        const auto sent = [&] { return device.received().mid(wireBefore).filter(muteSet); };
        return QTest::qWaitFor([&] { return sent().size() >= 6; }, qx8test::timeoutMs()) &&
               sent() == expected;
    };
    QVERIFY(device.command(QStringLiteral("set \"%1\" Off").arg(mutePath(4))).startsWith("ok"));
    QTRY_COMPARE(button->property("text").toString(), QStringLiteral("MUTE ALL"));

    QVERIFY(clickWrites(QStringLiteral("1")));
    QTRY_COMPARE(button->property("text").toString(), QStringLiteral("UNMUTE ALL"));
    QCOMPARE(mutesShown(), QVector<QString>(6, QStringLiteral("MUTED")).toList());
    m_session.shell().screenshot(QStringLiteral("outputs-all-muted.png"));

    QVERIFY(clickWrites(QStringLiteral("0")));
    QTRY_COMPARE(button->property("text").toString(), QStringLiteral("MUTE ALL"));
    QTRY_COMPARE(mutesShown(), QVector<QString>(6, QStringLiteral("MUTE")).toList());

    QVERIFY(clickWrites(QStringLiteral("1")));
    QTRY_COMPARE(button->property("text").toString(), QStringLiteral("UNMUTE ALL"));
    QVERIFY(device.command(QStringLiteral("set \"%1\" Off").arg(mutePath(2))).startsWith("ok"));
    QTRY_COMPARE(button->property("text").toString(), QStringLiteral("MUTE ALL"));
    for (int output = 1; output <= 6; ++output)
        QVERIFY(device.command(QStringLiteral("set \"%1\" Off").arg(mutePath(output)))
                    .startsWith("ok"));
}

void TestPages::typedTextLeftBehindGivesWayToTheDeviceValue_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("leave");   // "tab": the next field; "click": the page beside it
    QTest::addColumn<QString>("written"); // the value of the set line, or empty for none
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("refusal"); // the beginning of the reason it gives, or empty
    QTest::newRow("letters, the next field") << "abc"
                                             << "tab"
                                             << ""
                                             << "4.00"
                                             << "Not a number";
    QTest::newRow("letters, a click beside") << "abc"
                                             << "click"
                                             << ""
                                             << "4.00"
                                             << "Not a number";
    QTest::newRow("out of range, a click beside") << "9999"
                                                  << "click"
                                                  << ""
                                                  << "4.00"
                                                  << "Out of range";
    QTest::newRow("a number, a click beside") << "12"
                                              << "click"
                                              << "12ms"
                                              << "12.00"
                                              << "";
}

// Text typed into the input delay's field and left there when the focus moves on: a number in
// the range is written, anything else gives way to the device's value, unsent, with the reason
// under it as after Enter.
void TestPages::typedTextLeftBehindGivesWayToTheDeviceValue()
{
    QFETCH(QString, typed);
    QFETCH(QString, leave);
    QFETCH(QString, written);
    QFETCH(QString, shown);
    QFETCH(QString, refusal);
    VirtualProcessor& device = m_session.device();
    const int wireBefore = device.received().size();
    QQuickItem* field = amountFieldTyped(QStringLiteral("4"), QStringLiteral("4.00"), typed);
    QVERIFY(field);
    // Under the field, on the page's ground.
    const QPointF below =
        field->mapToScene(QPointF(field->width() / 2, 0)) + QPointF(0, 2 * field->height());
    fieldleaving::leave(m_session.shell().loader()->view(), leave, below.toPoint());
    QTRY_VERIFY(!field->hasActiveFocus());

    const QStringList sets = amountSets(written);
    if (!sets.isEmpty())
        QVERIFY(device.waitForReceived(sets.first()));
    QCOMPARE(setsSince(wireBefore), sets);
    QTRY_COMPARE(field->property("text").toString(), shown);
    const QString reason = field->property("refusal").toString();
    QVERIFY2(refusal.isEmpty() ? reason.isEmpty() : reason.startsWith(refusal), qPrintable(reason));
}

// An input name emptied and confirmed is refused, as the presets and outputs refuse theirs:
// nothing goes to the device, the strip says why and the box shows the device's name again.
void TestPages::emptyInputNameIsRefused()
{
    VirtualProcessor& device = m_session.device();
    const QString path = inputNamePath(3);
    QVERIFY(device.command(QStringLiteral("set \"%1\" \"Lectern\"").arg(path)).startsWith("ok"));
    QQuickItem* box = loadedControl(QStringLiteral("ScreenInputRouter.qml"), QString(),
                                    QStringLiteral("inputName_3"), QString());
    QVERIFY(box);
    QTRY_COMPARE(box->property("editText").toString(), QStringLiteral("Lectern"));
    QQuickItem* refusal =
        findItem(m_session.shell().pageItem(), QStringLiteral("namingRefusal"), QString());
    QVERIFY(refusal && !refusal->isVisible());

    QQuickView* view = m_session.shell().loader()->view();
    const int wireBefore = device.received().size();
    QTest::mouseClick(view, Qt::LeftButton, {},
                      box->mapToScene(QPointF(20, box->height() / 2)).toPoint());
    QTRY_VERIFY(box->hasActiveFocus());
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_Space);
    QTest::keyClick(view, Qt::Key_Return);

    QTRY_VERIFY(refusal->isVisible());
    QCOMPARE(refusal->property("text").toString(), QStringLiteral("A name cannot be empty."));
    QCOMPARE(box->property("editText").toString(), QStringLiteral("Lectern"));
    const QStringList sets = setsSince(wireBefore);
    QVERIFY2(sets.isEmpty(), qPrintable(sets.join('\n')));
    QCOMPARE(device.command(QStringLiteral("value \"%1\"").arg(path)),
             QStringLiteral("ok Lectern"));
}

void TestPages::inputNameLeftByTheFocus_data()
{
    fieldleaving::addNameBoxRows({"enter", "tab", "click"});
}

// An input name typed over and left when the focus moves on, by Tab to the next box or by a
// click on the page's ground: a name the device takes is written as Enter writes it; anything
// else is refused with its reason, nothing is sent and the box shows the device's name again,
// as after Enter.
void TestPages::inputNameLeftByTheFocus()
{
    QFETCH(QString, leave);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QString, refusal);
    VirtualProcessor& device = m_session.device();
    const QString path = inputNamePath(5);
    const auto holdName = [&](const QString& name) {
        return device.command(QStringLiteral("set \"%1\" \"%2\"").arg(path, name)).startsWith("ok");
    };
    QVERIFY(holdName(QStringLiteral("Orvel 5")));
    const auto restore = qScopeGuard([&] { holdName(QStringLiteral("Orvel 5")); });
    QQuickItem* box = loadedControl(QStringLiteral("ScreenInputRouter.qml"), QString(),
                                    QStringLiteral("inputName_5"), QString());
    QVERIFY(box);
    QTRY_COMPARE(box->property("editText").toString(), QStringLiteral("Orvel 5"));
    QQuickItem* pageItem = m_session.shell().pageItem();
    QQuickItem* shownRefusal = findItem(pageItem, QStringLiteral("namingRefusal"), QString());
    QVERIFY(shownRefusal);

    QQuickView* view = m_session.shell().loader()->view();
    const int wireBefore = device.received().size();
    QVERIFY(fieldleaving::typeOver(view, box, typed));
    QCOMPARE(box->property("editText").toString(), typed);
    // On the strip's ground, beside the box's number.
    const QPointF ground = box->mapToScene(QPointF(-4, box->height() / 2));
    fieldleaving::leave(view, leave, ground.toPoint());
    QTRY_COMPARE(box->hasActiveFocus(), leave == QLatin1String("enter"));

    const QString held = written.isEmpty() ? QStringLiteral("Orvel 5") : written;
    QStringList sets;
    if (!written.isEmpty()) {
        sets << QStringLiteral("set \"%1\" \"%2\"").arg(path, written);
        QVERIFY(device.waitForReceived(sets.first()));
    }
    // A new name has the page ask the device for the card's names again, by a set of its own.
    QCOMPARE(setsSince(wireBefore).filter(QStringLiteral("OrvellinkInputName")), sets);
    QTRY_COMPARE(box->property("editText").toString(), held);
    QCOMPARE(shownRefusal->isVisible() ? shownRefusal->property("text").toString() : QString(),
             refusal);
    QCOMPARE(device.command(QStringLiteral("value \"%1\"").arg(path)), "ok " + held);
}

void TestPages::typedTextLeftWithThePage_data()
{
    // "held": the device's value afterwards, as it tells it.
    for (const char* column : {"field", "leave", "typed", "written", "held"})
        QTest::addColumn<QString>(column);
    // "menu bar": a click on its Home; "page change": the shell asked for another page, as when
    // the device recalls a preset. (Refused text left so sends nothing, as it never did.)
    for (const char* leave : {"menu bar", "page change"}) {
        QTest::addRow("a number, %s", leave) << "amount" << leave << "12"
                                             << "12ms"
                                             << "12.00ms/";
        QTest::addRow("a name, %s", leave) << "input name" << leave << "Kick"
                                           << "Kick"
                                           << "Kick";
    }
}

// A value typed into a field and left there when its page goes: the field ends its edit first
// and writes it as Enter writes it, before the page is gone.
void TestPages::typedTextLeftWithThePage()
{
    QFETCH(QString, field);
    QFETCH(QString, leave);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QString, held);
    VirtualProcessor& device = m_session.device();
    const bool amount = field == QLatin1String("amount");
    const QString path = amount ? ConsoleLineBuilder::pathBody(QStringLiteral("InputDelay"),
                                                               QStringLiteral("Amount"))
                                : inputNamePath(5);
    const QString before = amount ? QStringLiteral("4") : QStringLiteral("Orvel 5");
    const auto hold = [&] {
        return device.command(QStringLiteral("set \"%1\" \"%2\"").arg(path, before))
            .startsWith("ok");
    };
    QVERIFY(hold());
    const auto restore = qScopeGuard(hold);
    const int wireBefore = device.received().size();
    QQuickView* view = m_session.shell().loader()->view();
    if (amount) {
        QVERIFY(amountFieldTyped(before, QStringLiteral("4.00"), typed));
    } else {
        QQuickItem* box = loadedControl(QStringLiteral("ScreenInputRouter.qml"), QString(),
                                        QStringLiteral("inputName_5"), QString());
        QVERIFY(box);
        QTRY_COMPARE(box->property("editText").toString(), QStringLiteral("Orvel 5"));
        QVERIFY(fieldleaving::typeOver(view, box, typed));
    }
    const QPointer<QQuickItem> page = m_session.shell().pageItem();
    if (leave == QLatin1String("menu bar")) {
        QQuickItem* home = findItem(page, QStringLiteral("menuHomeButton"), QString());
        QVERIFY(home);
        fieldleaving::leave(view, leave, centreOf(home));
    } else {
        m_session.shell().guiSignal(QStringLiteral("HomeButtonPressed"));
    }
    QTRY_VERIFY(page.isNull());

    const QString set = QStringLiteral("set \"%1\" \"%2\"").arg(path, written);
    QVERIFY(device.waitForReceived(set));
    QCOMPARE(setsSince(wireBefore).filter(path), QStringList{set});
    const QString value = device.command(QStringLiteral("value \"%1\"").arg(path));
    QVERIFY2(value.startsWith("ok " + held), qPrintable(value));
}

// The option card's reason line names the box it speaks of, outlasts an edit of another box, and
// goes when its box takes a valid name or is left as it is.
void TestPages::inputNameRefusalNamesItsBox()
{
    VirtualProcessor& device = m_session.device();
    const auto holdNames = [&] {
        for (int input : {2, 3}) {
            if (!device
                     .command(QStringLiteral("set \"%1\" \"Orvel %2\"")
                                  .arg(inputNamePath(input))
                                  .arg(input))
                     .startsWith("ok"))
                return false;
        }
        return true;
    };
    QVERIFY(holdNames());
    const auto restore = qScopeGuard(holdNames);
    QQuickItem* second = loadedControl(QStringLiteral("ScreenInputRouter.qml"), QString(),
                                       QStringLiteral("inputName_2"), QString());
    QVERIFY(second);
    QQuickItem* pageItem = m_session.shell().pageItem();
    QQuickItem* third = findItem(pageItem, QStringLiteral("inputName_3"), QString());
    QQuickItem* line = findItem(pageItem, QStringLiteral("namingRefusal"), QString());
    QQuickItem* box = findItem(pageItem, QStringLiteral("refusedBox"), QString());
    QVERIFY(third && line && box);
    QTRY_COMPARE(third->property("editText").toString(), QStringLiteral("Orvel 3"));
    const auto shown = [&] {
        return line->isVisible()
                   ? box->property("text").toString() + ' ' + line->property("text").toString()
                   : QString();
    };
    const QString refused = QStringLiteral("Input 2: A name cannot be empty.");
    QQuickView* view = m_session.shell().loader()->view();
    // On the strip's ground, beside the box's number.
    const QPoint ground = second->mapToScene(QPointF(-4, second->height() / 2)).toPoint();

    // Refused when Tab leaves it: the line stays while the next box is edited and written.
    QVERIFY(fieldleaving::typeOver(view, second, QString()));
    fieldleaving::leave(view, QStringLiteral("tab"), ground);
    QTRY_COMPARE(shown(), refused);
    QVERIFY(fieldleaving::typeOver(view, third, QStringLiteral("Lectern")));
    fieldleaving::leave(view, QStringLiteral("enter"), ground);
    QVERIFY(device.waitForReceived(QStringLiteral("set \"%1\" \"Lectern\"").arg(inputNamePath(3))));
    QCOMPARE(shown(), refused);
    // Entered again and left as it is: the line goes.
    fieldleaving::leave(view, QStringLiteral("click"), centreOf(second));
    QTRY_VERIFY(second->hasActiveFocus());
    fieldleaving::leave(view, QStringLiteral("click"), ground);
    QTRY_COMPARE(shown(), QString());
    // Refused on Enter, then given a valid name: the line goes too.
    QVERIFY(fieldleaving::typeOver(view, second, QString()));
    fieldleaving::leave(view, QStringLiteral("enter"), ground);
    QTRY_COMPARE(shown(), refused);
    QVERIFY(fieldleaving::typeOver(view, second, QStringLiteral("Kick")));
    fieldleaving::leave(view, QStringLiteral("enter"), ground);
    QVERIFY(device.waitForReceived(QStringLiteral("set \"%1\" \"Kick\"").arg(inputNamePath(2))));
    QTRY_COMPARE(shown(), QString());
}

std::optional<double> TestPages::heldNumber(const QString& object, const QString& variable)
{
    const QString held = m_session.device().command(
        "value \"" + ConsoleLineBuilder::pathBody(object, variable) + '"');
    return held.startsWith(QLatin1String("ok ")) ? ValueText::number(held.mid(3)) : std::nullopt;
}

QStringList TestPages::setsSince(int from)
{
    return m_session.device()
        .receivedUntilProbe([] { ShellFixture::sendProbe(); }, from)
        .filter(QRegularExpression(QStringLiteral("^set ")));
}

QStringList TestPages::amountSets(const QString& written)
{
    if (written.isEmpty())
        return {};
    return {QStringLiteral("set \"%1\" \"%2\"")
                .arg(ConsoleLineBuilder::pathBody(QStringLiteral("InputDelay"),
                                                  QStringLiteral("Amount")),
                     written)};
}

QQuickItem* TestPages::amountFieldTyped(const QString& held, const QString& heldShown,
                                        const QString& typed)
{
    const QString path =
        ConsoleLineBuilder::pathBody(QStringLiteral("InputDelay"), QStringLiteral("Amount"));
    if (!m_session.device()
             .command(QStringLiteral("set \"%1\" %2").arg(path, held))
             .startsWith("ok"))
        return nullptr;
    QQuickItem* field = loadedControl(QStringLiteral("InputDelay.qml"), QString(),
                                      QStringLiteral("amountField"), QStringLiteral("Amount"));
    if (!field ||
        !QTest::qWaitFor([&] { return field->property("text").toString() == heldShown; }) ||
        field->property("unit").toString() != QLatin1String("ms"))
        return nullptr;
    if (!fieldleaving::typeOver(m_session.shell().loader()->view(), field, typed))
        return nullptr;
    return field->property("text").toString() == typed ? field : nullptr;
}

QQuickItem* TestPages::loadedControl(const QString& page, const QString& selector,
                                     const QString& item, const QString& variable)
{
    if (!m_session.load(page, selector))
        return nullptr;
    QQuickItem* target = nullptr;
    const bool found = QTest::qWaitFor(
        [&] { return (target = findItem(m_session.shell().pageItem(), item, variable)); },
        qx8test::timeoutMs());
    if (!found || !m_session.waitForValues(qx8test::timeoutMs()).isEmpty())
        return nullptr;
    // Graph handles show once their graph has drawn; then a frame places them.
    if (!QTest::qWaitFor([target] { return target->isVisible() && target->isEnabled(); },
                         qx8test::timeoutMs()) ||
        !m_session.waitForFrame())
        return nullptr;
    return target;
}

QPoint TestPages::centreOf(QQuickItem* item) const
{
    return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
}

bool TestPages::waitForWritesToEnd(int from)
{
    QElapsedTimer clock;
    clock.start();
    int lines = -1;
    while (clock.elapsed() < qx8test::timeoutMs()) {
        QTest::qWait(2 * QX8NumericalSV::kThrottleMs);
        const int now = m_session.device()
                            .receivedUntilProbe([] { ShellFixture::sendProbe(); }, from)
                            .filter(QRegularExpression(QStringLiteral("^set ")))
                            .size();
        if (now == lines)
            return true;
        lines = now;
    }
    return false;
}

void TestPages::drag(QQuickItem* item, QPoint by)
{
    QQuickView* view = m_session.shell().loader()->view();
    const QPoint from = centreOf(item);
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    for (int step = 1; step <= 10; ++step) {
        QTest::mouseMove(view, from + by * step / 10);
        QTest::qWait(15);
    }
    QTest::mouseRelease(view, Qt::LeftButton, {}, from + by);
}

// The pointer then leaves the window: the test changes pages itself, and a button left under the
// pointer would open its tool tip on a page already gone. Not to the window's corner: the items
// of the next page are made there before they are laid out.
void TestPages::click(QQuickItem* item)
{
    QQuickWindow* view = m_session.shell().loader()->view();
    QTest::mouseClick(view, Qt::LeftButton, {}, centreOf(item));
    QTest::mouseMove(view, QPoint(-1, -1));
}

// Opens the combo box's list and clicks the entry, as a hand would.
bool TestPages::pick(QQuickItem* comboBox, const QString& entry)
{
    click(comboBox);
    QObject* popup = comboBox->property("popup").value<QObject*>();
    if (!popup || !QTest::qWaitFor([popup] { return popup->property("opened").toBool(); }))
        return false;
    auto* list = popup->property("contentItem").value<QQuickItem*>();
    const int index = QQmlProperty::read(comboBox, "model").toStringList().indexOf(entry);
    QQuickItem* row = nullptr;
    if (!list || index < 0 ||
        !QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem*, row),
                                   Q_ARG(int, index)) ||
        !row)
        return false;
    click(row);
    return true;
}

QX8_TEST_MAIN(TestPages)
#include "tst_pages.moc"
