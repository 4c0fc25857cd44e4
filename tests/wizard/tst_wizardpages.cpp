// The wizard pages that show one step each, in the running application against VirtualQX8: what
// each shows of the device and what each control puts on the wire. QX8_SCREENSHOT_DIR, when set,
// receives a picture of each page.
#include "fieldleaving.h"
#include "knownvalueswatch.h"
#include "logfrequencyaxis.h"
#include "nuqgeometry.h"
#include "qtpeq.h"
#include "qx8control.h"
#include "qx8nuqcurveplotter.h"
#include "qx8nuqgraphitem.h"
#include "qx8peqgraphitem.h"
#include "qx8textsv.h"
#include "reconfigurator.h"
#include "shellfixture.h"
#include "shownframes.h"
#include "testharness.h"
#include "testmain.h"
#include "viewloader.h"
#include "wizardscreenfixture.h"

#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickView>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QtTest>

#include <algorithm>

namespace {

const QString kWizard = QStringLiteral(R"(\\Node\Wizard\SV\)");
const QString kChoices = QStringLiteral(R"(\\Node\SetupWizardCurrentChoices\SV\)");
// The colours of the Nuq wizard's filters, which the AutoEQ result's bands take too.
const QStringList kFilterColours = {"#E341B5", "#1AAD84", "#2E5FFB", "#FC5F2D",
                                    "#00A8FF", "#E53D53", "#FDC23E", "#65B94C",
                                    "#24D3FD", "#E154FC", "#FF8E20", "#A055FB"};

QString text(QQuickItem* item)
{
    return item ? QQmlProperty::read(item, QStringLiteral("text")).toString() : QString();
}

// The texts in and below `item`, through the item tree.
QList<QQuickItem*> textsBelow(QQuickItem* item)
{
    QList<QQuickItem*> texts;
    for (QQuickItem* child : item->childItems()) {
        if (child->property("truncated").isValid())
            texts << child;
        texts << textsBelow(child);
    }
    return texts;
}

// The lowest point of a curve: where a notch is deepest.
QPointF deepest(const Curve& curve)
{
    return curve.isEmpty() ? QPointF(-1, -1)
                           : *std::min_element(
                                 curve.begin(), curve.end(),
                                 [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
}

} // namespace

class TestWizardPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void dialStaysInsideItsRange();
    void sliderBindsItsStepVariable_data();
    void sliderBindsItsStepVariable();
    void dialogButtonsSendTheirEvents_data();
    void dialogButtonsSendTheirEvents();
    void errorStepShowsTheDeviceError_data();
    void errorStepShowsTheDeviceError();
    void levelAssistLightsTheSoundingOutputs();
    void micPicturesShowWhereTheMicGoes();
    void subQuestionsDrawTheirSpeakerStacks();
    void nuqGraphDrawsTheDeviceFilters();
    void nuqPagesFixTheLastFilters();
    void brandPagePicksAProduct();
    void optionsShowAndWriteTheDeviceOptions();
    void autoEqResultOverlays();
    void connectionsFollowTheOptionCard();
    void formChannelsFollowTheFirst();
    void formNamesPassTheNameCheck();
    void formNameLeftByTheFocus_data();
    void formNameLeftByTheFocus();
    void formNameLeftByAButton_data();
    void formNameLeftByAButton();
    void formTextFieldWritesACheckedName_data();
    void formTextFieldWritesACheckedName();
    void controlsShowWhatTheyDoNotKnow();
    void quickStepsOnASlowLinkEachGoOn_data();
    void quickStepsOnASlowLinkEachGoOn();
    void quickOptionClicksOnASlowLinkEndOnTheLast_data();
    void quickOptionClicksOnASlowLinkEndOnTheLast();

private:
    void open(const QString& state, const QString& pageName);
    // The names step, opened once the device holds `name` in the variable `path`: its boxes.
    QList<QQuickItem*> namesStepHolding(const QString& path, const QString& name);
    // The wire lines sent from `from` on that write `variable`.
    QStringList writesTo(const QString& variable, int from) const;
    // Clicks the item's centre as a hand's quick clicks come, 270 ms after the last: within the
    // double-click interval.
    void quickClick(QQuickItem* item);

    WizardScreenFixture m_screen;
};

void TestWizardPages::initTestCase()
{
    QVERIFY(m_screen.start());
}

// Every case starts on the wizard menu, with steps the device would leave by itself held.
void TestWizardPages::init()
{
    m_screen.command(QStringLiteral("wizard-step -1"));
    m_screen.showMenu();
}

void TestWizardPages::open(const QString& state, const QString& pageName)
{
    m_screen.forceState(state);
    m_screen.waitForPage(pageName, state);
}

QList<QQuickItem*> TestWizardPages::namesStepHolding(const QString& path, const QString& name)
{
    m_screen.setOnDevice(path.mid(2), name);
    open(QStringLiteral("OrvellinkInputNames"), QStringLiteral("wizardFormPage"));
    return m_screen.itemsNamed(QStringLiteral("formNameBox"), m_screen.page());
}

QStringList TestWizardPages::writesTo(const QString& variable, int from) const
{
    return m_screen.writes(from).filter(variable + "\\\"");
}

void TestWizardPages::quickClick(QQuickItem* item)
{
    QTest::mouseClick(item->window(), Qt::LeftButton, {},
                      item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint());
    QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval - 270;
}

// Turned past both ends, the dial writes 0 and 100; the device's level turns it.
void TestWizardPages::dialStaysInsideItsRange()
{
    const QString level = kChoices + "HighAmplifierLevel";
    m_screen.setOnDevice(level.mid(2), QStringLiteral("97"));
    open(QStringLiteral("SelectHighAmplifierLevel"), QStringLiteral("wizardDialPage"));
    QQuickItem* value = m_screen.visibleItem(QStringLiteral("dialValue"));
    QTRY_COMPARE(text(value), QStringLiteral("97%"));
    QCOMPARE(m_screen.pageTitle(), QStringLiteral("Match your high amp levels to this:"));
    m_screen.screenshot(QStringLiteral("wizard-dial"));
    const int from = m_screen.device().received().size();

    QQuickItem* dial = m_screen.visibleItem(QStringLiteral("dialArea"));
    m_screen.wheel(dial, 120);
    QVERIFY(m_screen.device().waitForReceived(setLine(level, "100")));
    m_screen.wheel(dial, 120);
    QCOMPARE(m_screen.visibleItem(QStringLiteral("dialOverlay"))->rotation(), 270.0);

    m_screen.setOnDevice(level.mid(2), QStringLiteral("3"));
    QTRY_COMPARE(text(value), QStringLiteral("3%"));
    m_screen.wheel(dial, -120);
    QVERIFY(m_screen.device().waitForReceived(setLine(level, "0")));
    m_screen.click(m_screen.visibleItem(QStringLiteral("dialMinus")));
    m_screen.click(m_screen.visibleItem(QStringLiteral("dialPlus")));
    QVERIFY(m_screen.device().waitForReceived(setLine(level, "1")));
    QCOMPARE(writesTo(level, from),
             QStringList({setLine(level, "100"), setLine(level, "0"), setLine(level, "1")}));
}

void TestWizardPages::sliderBindsItsStepVariable_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("classes");
    QTest::addColumn<bool>("nudges");
    const QString level = QStringLiteral(R"(Node\SetupWizardCurrentChoices\SV\%1AmplifierLevel)");
    QTest::newRow("fixed Nuq filters") << "SetFilters"
                                       << "Nuq"
                                       << "MaxFixedFilters"
                                       << "Nuq MaxFixedFilters" << true;
    for (const char* band : {"High", "Mid", "Low"}) {
        QTest::newRow(qPrintable(QStringLiteral("%1 Quarx sensitivity").arg(band)))
            << QStringLiteral("Select%1AmplifierSensitivityQuarx").arg(band) << "NPO"
            << level.arg(band) << "Wizard DialTypeSlider" << false;
    }
}

// The fixed-filter count reads 0 to 12 and has nudge buttons; a Quarx sensitivity has none and
// reads the range its level's device variable reports, following a new report.
void TestWizardPages::sliderBindsItsStepVariable()
{
    QFETCH(QString, state);
    QFETCH(QString, object);
    QFETCH(QString, variable);
    QFETCH(QString, classes);
    QFETCH(bool, nudges);
    open(state, QStringLiteral("wizardDialPage"));
    QQuickItem* slider = m_screen.visibleItem(QStringLiteral("wizardSlider"));
    QVERIFY(slider);
    QVERIFY(!m_screen.visibleItem(QStringLiteral("levelDial")));
    const auto read = [slider](const char* name) {
        return QQmlProperty::read(slider, name).toString();
    };
    QCOMPARE(read("processingObjectName"), object);
    QCOMPARE(read("stateVariableName"), variable);
    QCOMPARE(read("poClassName") + ' ' + read("svClassName"), classes);
    QObject* inner = QQmlProperty::read(slider, "superSlider").value<QObject*>();
    for (const char* name : {"nudgeDown", "nudgeUp"}) {
        auto* button = qobject_cast<QQuickItem*>(QQmlProperty::read(inner, name).value<QObject*>());
        QVERIFY(button);
        QCOMPARE(button->isVisible(), nudges);
    }
    if (object == QLatin1String("Nuq")) {
        QCOMPARE(read("minLabel"), QStringLiteral("0"));
        QCOMPARE(read("maxLabel"), QStringLiteral("12"));
        return;
    }
    const auto deviceLimit = [&](const char* end) {
        return m_screen.command(QStringLiteral(R"(value "\\%1\%2\")").arg(variable, end)).mid(3);
    };
    QTRY_COMPARE(read("minLabel"), deviceLimit("Min"));
    QTRY_COMPARE(read("maxLabel"), deviceLimit("Max"));
    m_screen.command(QStringLiteral(R"(send subr "\\%1\Max\" "80%")").arg(variable));
    QTRY_COMPARE(read("maxLabel"), QStringLiteral("80%"));
    QCOMPARE(read("minLabel"), deviceLimit("Min"));
}

void TestWizardPages::dialogButtonsSendTheirEvents_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("event");
    const auto row = [](const char* name, const char* state, const char* button, const char* label,
                        const char* event) {
        QTest::newRow(name) << QString(state) << QString(button) << QString(label)
                            << QString(event);
    };
    row("next", "NuqConnectMic", "wizardNextButton", "Next", "Next");
    row("continue", "StartSetupWizardWarning", "wizardNextButton", "Next", "Next");
    row("back", "GainPerformance", "wizardBackButton", "Back", "Previous");
    row("cancel a measurement", "GetReference", "wizardCancelButton", "Cancel", "Cancel");
}

void TestWizardPages::dialogButtonsSendTheirEvents()
{
    QFETCH(QString, state);
    QFETCH(QString, button);
    QFETCH(QString, label);
    QFETCH(QString, event);
    open(state, QStringLiteral("wizardDialogPage"));
    QTRY_VERIFY(m_screen.visibleItem(button));
    QCOMPARE(text(m_screen.visibleItem(button)), label);
    m_screen.screenshot(QStringLiteral("wizard-") + state);
    m_screen.clickButton(button);
    QVERIFY(m_screen.device().waitForReceived(setLine(kWizard + "WizardEvent", event)));
}

void TestWizardPages::errorStepShowsTheDeviceError_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("backShown");
    QTest::newRow("no configuration") << R"(No configuration.\nRun System Setup Wizard.)"
                                      << "No configuration.\nRun System Setup Wizard." << false;
    QTest::newRow("variable missing") << "SV not found. SV name = Output7Amp"
                                      << "Error!" << false;
    QTest::newRow("other") << "Tuning file missing"
                           << "Tuning file missing" << true;
}

// The menu bar's wizard button is off while the device reports an error.
void TestWizardPages::errorStepShowsTheDeviceError()
{
    QFETCH(QString, status);
    QFETCH(QString, shown);
    QFETCH(bool, backShown);
    m_screen.setOnDevice(QStringLiteral(R"(Node\Wizard\SV\LastLoadStatus)"), status);
    open(QStringLiteral("DisplayError"), QStringLiteral("wizardDialogPage"));
    QTRY_COMPARE(text(m_screen.visibleItem(QStringLiteral("dialogInstruction"))), shown);
    QQuickItem* back = m_screen.itemsNamed(QStringLiteral("wizardBackButton")).value(0);
    QCOMPARE(back->isVisible(), backShown);
    QCOMPARE(text(back), QStringLiteral("Manage Tunings"));
    QVERIFY(!m_screen.visibleItem(QStringLiteral("menuWizardButton"))->isEnabled());
    m_screen.screenshot(QStringLiteral("wizard-DisplayError"));
}

// The outputs from the measured AutoEQ's first channel on take the stack's positions, each lit
// while its output sounds (the device's meters sound nearly all the time); moving the first
// channel moves the lights, and a position left without an output goes dark.
void TestWizardPages::levelAssistLightsTheSoundingOutputs()
{
    const QString select = QStringLiteral(R"(Node\Wizard\SV\WizardAutoEqSelect)");
    m_screen.setOnDevice(select, QStringLiteral("AutoEQ2"));
    open(QStringLiteral("GetReference"), QStringLiteral("wizardDialogPage"));
    const auto lit = [this] {
        QStringList positions;
        for (const QVariant& on : QQmlProperty::read(m_screen.page(), "stackLit").toList())
            positions << (on.toBool() ? "on" : "-");
        return positions.join(' ');
    };
    QTRY_COMPARE(lit(), QStringLiteral("on on on on on -"));
    m_screen.screenshot(QStringLiteral("wizard-GetReference"));
    m_screen.setOnDevice(select, QStringLiteral("AutoEQ3"));
    QTRY_COMPARE(lit(), QStringLiteral("on on on on - -"));
    m_screen.setOnDevice(select, QStringLiteral("AutoEQ1"));
    QTRY_COMPARE(lit(), QStringLiteral("on on on on on on"));
}

// While the mic is placed, the room plan shows the device's mic position, or the mic at the unit
// when done; measuring at position 1, the mic stays drawn there, the device's position unread.
void TestWizardPages::micPicturesShowWhereTheMicGoes()
{
    const QString position = QStringLiteral(R"(Node\Wizard\SV\CurrentMicPosition)");
    const QString pictures = QStringLiteral("qrc:/images/Wizards/");
    const auto shown = [this](const char* name) {
        return QQmlProperty::read(m_screen.visibleItem(QLatin1String(name)), "path").toString();
    };
    m_screen.setOnDevice(position, QStringLiteral("Three"));
    open(QStringLiteral("AutoEQPlaceMic"), QStringLiteral("wizardDialogPage"));
    QTRY_COMPARE(shown("dialogOverlay"), pictures + "RTA3.png");
    QCOMPARE(m_screen.pageTitle(), QStringLiteral("Start measurement for mic position 3"));
    m_screen.setOnDevice(position, QStringLiteral("Done"));
    QTRY_COMPARE(shown("dialogOverlay"), pictures + "RTAMic.png");

    const int from = m_screen.device().received().size();
    open(QStringLiteral("MicPosition1"), QStringLiteral("wizardDialogPage"));
    QCOMPARE(shown("dialogPicture"), pictures + "AEQStereo.png");
    QCOMPARE(shown("dialogOverlay"), pictures + "RTA1.png");
    const QStringList sent = m_screen.device().receivedUntilProbe(&ShellFixture::sendProbe, from);
    QCOMPARE(sent.filter(QRegularExpression(R"(^sub .*CurrentMicPosition)")), QStringList());
    QCOMPARE(shown("dialogOverlay"), pictures + "RTA1.png");
    m_screen.screenshot(QStringLiteral("wizard-MicPosition1"));
}

// Each answer is drawn as the speaker stack it makes of the device's PA output format and main
// speaker mode; the aux-fed question shows the input pictures of the format, at their drawn size.
void TestWizardPages::subQuestionsDrawTheirSpeakerStacks()
{
    m_screen.setOnDevice(
        QStringLiteral(R"(Node\SetupWizardCurrentChoices\SV\WizardPaOutputFormat)"),
        QStringLiteral("Stereo"));
    m_screen.setOnDevice(QStringLiteral(R"(Node\SetupWizardCurrentChoices\SV\MainSpeakerMode)"),
                         QStringLiteral("Bi-Amped"));
    open(QStringLiteral("PromptUsingSubs"), QStringLiteral("wizardListPage"));
    QTRY_COMPARE(m_screen.pageTitle(), QStringLiteral("Are you using subs?"));
    const auto stacks = [this] {
        QStringList drawn;
        for (QQuickItem* stack : m_screen.itemsNamed(QStringLiteral("wizardChoiceStack"))) {
            if (stack->isVisible())
                drawn << QQmlProperty::read(stack, "mainLabels").toStringList().join('+') + " / " +
                             QQmlProperty::read(stack, "subLabels").toStringList().join('+');
        }
        return drawn;
    };
    QTRY_COMPARE(stacks(), QStringList({"L+R / ", "L+R / SUB"}));
    m_screen.screenshot(QStringLiteral("wizard-PromptUsingSubs"));
    // Two mono mains stand where a stereo pair would.
    m_screen.setOnDevice(
        QStringLiteral(R"(Node\SetupWizardCurrentChoices\SV\WizardPaOutputFormat)"),
        QStringLiteral("MonoX2"));
    open(QStringLiteral("PromptUsingSubs"), QStringLiteral("wizardListPage"));
    QTRY_COMPARE(stacks(), QStringList({"L+R / ", "L+R / SUB"}));

    m_screen.setOnDevice(
        QStringLiteral(R"(Node\SetupWizardCurrentChoices\SV\WizardPaOutputFormat)"),
        QStringLiteral("Stereo"));
    open(QStringLiteral("PromptSubsAuxFed"), QStringLiteral("wizardListPage"));
    QList<QQuickItem*> pictures;
    QTRY_VERIFY([&] {
        pictures.clear();
        for (QQuickItem* picture : m_screen.itemsNamed(QStringLiteral("wizardChoicePicture")))
            if (picture->isVisible())
                pictures << picture;
        return pictures.size() == 2;
    }());
    QStringList paths;
    for (QQuickItem* picture : pictures) {
        paths << picture->property("path").toString();
        // The files hold three pixels a design pixel: shown no smaller, the labels read at the
        // size they were drawn.
        QTRY_VERIFY(picture->property("paintedHeight").toDouble() >=
                    picture->property("sourceSize").toSizeF().height() / 3 - 0.5);
    }
    QCOMPARE(paths, QStringList({"qrc:/images/Wizards/LRPAInFormat.png",
                                 "qrc:/images/Wizards/StereoInputWithAuxSub.png"}));
    QCOMPARE(stacks(), QStringList());
    m_screen.screenshot(QStringLiteral("wizard-PromptSubsAuxFed"));
}

// The notch of each filter the device reports, drawn where the curve maths puts it; a change on
// the device redraws it. The last filters are FIXED as the device reserves them.
void TestWizardPages::nuqGraphDrawsTheDeviceFilters()
{
    const std::pair<const char*, const char*> filter[] = {{"Band_1_Frequency", "1000"},
                                                          {"Band_1_Gain", "-12"},
                                                          {"Band_1_Q", "8"},
                                                          {"MaxFixedFilters", "3"}};
    for (const auto& [variable, value] : filter)
        m_screen.setOnDevice(QStringLiteral("Preset\\Nuq\\SV\\") + variable, value);
    open(QStringLiteral("GainUp"), QStringLiteral("wizardNuqGraphPage"));
    QVERIFY(!m_screen.visibleItem(QStringLiteral("wizardNextButton")));
    QVERIFY(m_screen.visibleItem(QStringLiteral("nuqInstructionPicture")));
    auto* graph = m_screen.page()->findChild<QX8NuqGraphItem*>();
    QVERIFY(graph);
    QCOMPARE(graph->bandColors().toStringList(), kFilterColours);
    const QX8NuqCurvePlotter& plotter = *graph->plotter();
    // The curve is sampled once a column, over the graph's whole pixels: its deepest sample lies
    // within a pixel of the centre frequency, within a quarter of a dB of the filter's level at
    // that column's frequency.
    const auto notchAt = [&](double frequency, double gain, double q) {
        if (plotter.curves().isEmpty())
            return false;
        const QPointF notch = deepest(plotter.curves().first());
        const double width = std::floor(plotter.boundRectangle().width());
        const LevelMapping mapping =
            NuqGeometry(width, plotter.boundRectangle().height()).levelMapping();
        const double level = (notch.y() - mapping.offset) / mapping.scale;
        QtPEQ::sBiquadCoefs filter;
        QtPEQ::FilterDesign(frequency, gain, q, QtPEQ::kSampleRate, QtPEQ::PeakingNuq, &filter);
        const double expected = QtPEQ::biquadGainDB(
            filter, LogFrequencyAxis::nuq().frequencyAt(notch.x(), width), 1 / QtPEQ::kSampleRate);
        return std::abs(notch.x() - LogFrequencyAxis::nuq().xFor(frequency, width)) <= 1.0 &&
               std::abs(level - expected) < 0.25;
    };
    QTRY_VERIFY_WITH_TIMEOUT(notchAt(1000, -12, 8), qx8test::timeoutMs());
    m_screen.setOnDevice(QStringLiteral(R"(Preset\Nuq\SV\Band_1_Gain)"), QStringLiteral("-6"));
    QTRY_VERIFY_WITH_TIMEOUT(notchAt(1000, -6, 8), qx8test::timeoutMs());

    const QList<QQuickItem*> filters = m_screen.itemsNamed(QStringLiteral("nuqFilterInfo"));
    QCOMPARE(filters.size(), 12);
    QStringList modes;
    for (QQuickItem* info : filters)
        modes << QQmlProperty::read(info, "valueMode").toString();
    QTRY_COMPARE(modes.mid(9), QStringList({"FIXED", "FIXED", "FIXED"}));
    QCOMPARE(modes.mid(0, 9).filter("FIXED"), QStringList());
    // Each read-out stands whole inside the page, right of the graph.
    QQuickItem* page = m_screen.page();
    const QRectF pageArea(QPointF(0, 0), page->size());
    const QQuickItem* panel = m_screen.visibleItem(QStringLiteral("nuqGraph"));
    const double graphRight = panel->mapToItem(page, QPointF(panel->width(), 0)).x();
    for (QQuickItem* info : filters) {
        const QRectF area = info->mapRectToItem(page, QRectF(QPointF(0, 0), info->size()));
        QVERIFY2(pageArea.contains(area) && area.left() > graphRight,
                 qPrintable(QStringLiteral("%1 at %2..%3 of %4, graph to %5")
                                .arg(info->property("filterName").toString())
                                .arg(area.left())
                                .arg(area.right())
                                .arg(pageArea.width())
                                .arg(graphRight)));
        for (QQuickItem* shown : textsBelow(info))
            QVERIFY2(!shown->property("truncated").toBool(), qPrintable(text(shown)));
    }
    m_screen.screenshot(QStringLiteral("wizard-GainUp"));
}

// The Nuq wizard and the Nuq page agree: of the twelve filters, the last ones the device holds
// fixed are FIXED, filter 12 downwards.
void TestWizardPages::nuqPagesFixTheLastFilters()
{
    const QString fixedCount = QStringLiteral(R"(Preset\Nuq\SV\MaxFixedFilters)");
    const auto modes = [this] {
        QStringList read;
        for (QQuickItem* info : m_screen.itemsNamed(QStringLiteral("nuqFilterInfo")))
            read << QQmlProperty::read(info, "valueMode").toString();
        return read.join(' ');
    };
    const auto lastFixed = [](int count) {
        QStringList words;
        for (int filter = 1; filter <= 12; ++filter)
            words << (filter > 12 - count ? "FIXED" : "LIVE");
        return words.join(' ');
    };
    m_screen.setOnDevice(fixedCount, QStringLiteral("4"));
    open(QStringLiteral("GainUp"), QStringLiteral("wizardNuqGraphPage"));
    QTRY_COMPARE(modes(), lastFixed(4));
    for (const int count : {0, 12, 1}) {
        m_screen.setOnDevice(fixedCount, QString::number(count));
        QTRY_COMPARE(modes(), lastFixed(count));
    }

    m_screen.setOnDevice(fixedCount, QStringLiteral("4"));
    m_screen.showMenu();
    m_screen.shell().guiSignal(QStringLiteral("HomeButtonPressed"));
    m_screen.shell().guiSignal(QStringLiteral("Nuq"));
    QTRY_VERIFY(m_screen.shell().pageItem() &&
                m_screen.shell().pageItem()->objectName() == QLatin1String("nuqPage"));
    QTRY_COMPARE(modes(), lastFixed(4));
    m_screen.screenshot(QStringLiteral("nuq-page-fixed-filters"));
}

// The device's product is selected; a brand opens its models and a model is written as the
// device describes it.
void TestWizardPages::brandPagePicksAProduct()
{
    const QString speaker = kChoices + "MainSpeaker";
    m_screen.setOnDevice(speaker.mid(2),
                         "<Speaker Brand='Harrow Audio' Series='Line' Model='M8'/>");
    open(QStringLiteral("SelectMainSpeaker"), QStringLiteral("wizardNestedListPage"));
    QTRY_COMPARE(m_screen.pageTitle(), QStringLiteral("Select main speaker"));
    QTRY_VERIFY(m_screen.itemsNamed(QStringLiteral("modelRow")).size() > 3);
    m_screen.screenshot(QStringLiteral("wizard-SelectMainSpeaker"));
    const int from = m_screen.device().received().size();
    m_screen.clickRow(QStringLiteral("Kestrel Audio"), QStringLiteral("brandRow"));
    // Its fifteen products and "Not listed??".
    QTRY_COMPARE(
        QQmlProperty::read(m_screen.visibleItem(QStringLiteral("modelList")), "count").toInt(), 16);
    m_screen.clickRow(QStringLiteral("Point M10"), QStringLiteral("modelRow"));
    const QString chosen = "<Speaker Brand='Kestrel Audio' Series='Point' Model='M10'/>";

    QVERIFY(m_screen.device().waitForReceived(setLine(speaker, chosen)));
    QTRY_COMPARE(m_screen.device().command("value " + speaker + "\\"), "ok " + chosen);
    QCOMPARE(writesTo(speaker, from), QStringList({setLine(speaker, chosen)}));

    // The device shortens its list under the open page and takes its first product; its Custom
    // product marks "Not listed??" wherever that row is.
    QQuickItem* brands = m_screen.visibleItem(QStringLiteral("brandList"));
    const QString custom = "<Speaker Brand='Custom' Series='Custom' Model='Custom'/>";
    const QStringList shorter = {"<Speaker Brand='Ashdown' Series='A' Model='1'/>", custom,
                                 "<Speaker Brand='Bexley' Series='B' Model='2'/>"};
    QVERIFY(m_screen.command("entries \"" + speaker + "\\\" \"" + shorter.join('|') + '"')
                .startsWith("ok"));
    QTRY_COMPARE(QQmlProperty::read(brands, "count").toInt(), 3);
    QTRY_COMPARE(QQmlProperty::read(m_screen.page(), "focusedBrand").toInt(), 0);
    QCOMPARE(QQmlProperty::read(m_screen.page(), "chosenModel").toInt(), 0);
    m_screen.setOnDevice(speaker.mid(2), custom);
    QTRY_COMPARE(QQmlProperty::read(m_screen.page(), "focusedBrand").toInt(), 1);
    QVERIFY(!m_screen.visibleItem(QStringLiteral("modelList")));
}

// The options follow the device and write on a press; a press on the choice already made leaves
// it shown and writes nothing. None is a wizard event.
void TestWizardPages::optionsShowAndWriteTheDeviceOptions()
{
    m_screen.setOnDevice(QStringLiteral(R"(Node\Wizard\SV\TargetCurve)"), QStringLiteral("Flat"));
    m_screen.setOnDevice(QStringLiteral(R"(Node\Wizard\SV\LevelAssistAutoTrim)"),
                         QStringLiteral("On"));
    const int from = m_screen.device().received().size();
    m_screen.clickRow(QStringLiteral("WIZARD OPTIONS"));
    QTRY_VERIFY(m_screen.showsPage(QStringLiteral("wizardOptionsPage")));
    const auto checked = [&](const QString& name, const QString& label) {
        for (QQuickItem* button : m_screen.itemsNamed(name, m_screen.page())) {
            if (text(button) == label)
                return QQmlProperty::read(button, "checked").toBool();
        }
        return false;
    };
    QTRY_VERIFY(checked(QStringLiteral("optionChoice"), QStringLiteral("Flat")));
    QTRY_VERIFY(checked(QStringLiteral("optionSwitch"), QStringLiteral("ON")));
    m_screen.screenshot(QStringLiteral("wizard-options"));
    m_screen.clickRow(QStringLiteral("Reflective Room"), QStringLiteral("optionChoice"));
    QVERIFY(m_screen.device().waitForReceived(
        setLine(kWizard + "TargetCurve", QStringLiteral("Reflective Room"))));
    QTRY_VERIFY(!checked(QStringLiteral("optionChoice"), QStringLiteral("Flat")));
    QVERIFY(checked(QStringLiteral("optionChoice"), QStringLiteral("Reflective Room")));
    m_screen.clickRow(QStringLiteral("Reflective Room"), QStringLiteral("optionChoice"));
    QVERIFY(checked(QStringLiteral("optionChoice"), QStringLiteral("Reflective Room")));
    m_screen.clickRow(QStringLiteral("ON"), QStringLiteral("optionSwitch"));
    QVERIFY(m_screen.device().waitForReceived(
        setLine(kWizard + "LevelAssistAutoTrim", QStringLiteral("Off"))));
    QCOMPARE(m_screen.writes(from),
             QStringList({setLine(kWizard + "TargetCurve", QStringLiteral("Reflective Room")),
                          setLine(kWizard + "LevelAssistAutoTrim", QStringLiteral("Off"))}));
}

// Room and result curves over the AutoEQ bands, in the Nuq filters' colours; the target can be
// switched off alone.
void TestWizardPages::autoEqResultOverlays()
{
    open(QStringLiteral("AutoEQResult"), QStringLiteral("wizardAutoEqResultPage"));
    auto* graph = m_screen.page()->findChild<QX8PEQGraphItem*>();
    QVERIFY(graph);
    QCOMPARE(graph->bandColors().toStringList(), kFilterColours.mid(0, 10));
    QTRY_COMPARE(graph->roomCurveString().split(' ').size(), 640);
    QTRY_COMPARE(graph->targetCurveString().split(' ').size(), 640);
    m_screen.screenshot(QStringLiteral("wizard-AutoEQResult"));
    m_screen.clickRow(QStringLiteral("TARGET"), QStringLiteral("overlayToggle"));
    QTRY_COMPARE(graph->targetCurveString(), QString());
    QCOMPARE(graph->roomCurveString().split(' ').size(), 640);
}

// The names are the device's; the option card's row and picture come with a card.
void TestWizardPages::connectionsFollowTheOptionCard()
{
    const QString card = QStringLiteral(R"(Node\Wizard\SV\WizardOptionCardName)");
    m_screen.setOnDevice(card, QString());
    m_screen.setOnDevice(QStringLiteral(R"(Node\Wizard\SV\WizardXlrInput2Name)"),
                         QStringLiteral("Vocal Mic"));
    open(QStringLiteral("MakeTheFollowingConnections"), QStringLiteral("wizardConnectionsPage"));
    const auto shownNames = [this] {
        QStringList names;
        for (QQuickItem* label : m_screen.itemsNamed(QStringLiteral("connectionName"))) {
            if (label->parentItem()->isVisible())
                names << text(label);
        }
        return names;
    };
    QTRY_COMPARE(shownNames().size(), 9);
    QTRY_VERIFY(shownNames().contains(QStringLiteral("Vocal Mic")));
    QQuickItem* picture = m_screen.visibleItem(QStringLiteral("connectionsPicture"));
    QCOMPARE(QQmlProperty::read(picture, "path").toString(),
             QStringLiteral("/images/Wizards/connections.png"));
    m_screen.setOnDevice(card, QStringLiteral("Dante"));
    QTRY_COMPARE(shownNames().size(), 10);
    QTRY_VERIFY(shownNames().contains(QStringLiteral("Dante")));
    QCOMPARE(QQmlProperty::read(picture, "path").toString(),
             QStringLiteral("/images/Wizards/OptionCardConnections.png"));
}

void TestWizardPages::formChannelsFollowTheFirst()
{
    m_screen.setOnDevice(
        QStringLiteral(R"(Node\SetupWizardCurrentChoices\SV\Channel_1_OrvellinkInputAssignment)"),
        QStringLiteral("9"));
    open(QStringLiteral("OrvellinkInputStartChannel"), QStringLiteral("wizardFormPage"));
    QCOMPARE(m_screen.pageTitle(), QStringLiteral("Wizard Menu"));
    QStringList following;
    QTRY_VERIFY([&] {
        following.clear();
        for (QQuickItem* label : m_screen.itemsNamed(QStringLiteral("formFollowingChannel")))
            if (label->isVisible())
                following << text(label);
        return following.size() == 7 && following.first() != QStringLiteral("\u2013");
    }());
    QCOMPARE(following, QStringList({"10", "11", "12", "13", "14", "15", "16"}));
    QTRY_COMPARE(
        QQmlProperty::read(m_screen.visibleItem(QStringLiteral("formSpinBox")), "value").toInt(),
        9);
    m_screen.screenshot(QStringLiteral("wizard-OrvellinkInputStartChannel"));
}

// The name boxes offer the recommended input names; a name holding a double quote is refused on
// the page and never sent; a valid one is written.
void TestWizardPages::formNamesPassTheNameCheck()
{
    const QString name = kChoices + "Channel_1_OrvellinkInputName";
    open(QStringLiteral("OrvellinkInputNames"), QStringLiteral("wizardFormPage"));
    QQuickItem* box = m_screen.visibleItem(QStringLiteral("formNameBox"));
    QTRY_COMPARE(QQmlProperty::read(box, "editText").toString(), QStringLiteral("Orvel 1"));
    const QStringList offered = QQmlProperty::read(box, "model").toStringList();
    const QStringList recommended = Reconfigurator::recommendedInputNames();
    QVERIFY(!recommended.isEmpty());
    QVERIFY2(std::all_of(recommended.begin(), recommended.end(),
                         [&](const QString& name) { return offered.contains(name); }),
             qPrintable(offered.join(", ")));
    const int from = m_screen.device().received().size();
    m_screen.typeInto(box, QStringLiteral("Kick \"In\""));
    QTRY_VERIFY(m_screen.visibleItem(QStringLiteral("formRefusal")));
    m_screen.screenshot(QStringLiteral("wizard-OrvellinkInputNames"));
    m_screen.typeInto(box, QStringLiteral("Kick In"));
    QVERIFY(m_screen.device().waitForReceived(setLine(name, QStringLiteral("Kick In"))));
    QCOMPARE(writesTo(name, from), QStringList({setLine(name, QStringLiteral("Kick In"))}));
}

void TestWizardPages::formNameLeftByTheFocus_data()
{
    fieldleaving::addNameBoxRows();
}

// A name typed over on the names step and left when the focus moves on, by Tab to the next box
// or by a click on the page's ground: a name the device takes is written as Enter writes it;
// anything else is refused with its reason, nothing is sent and the box shows the device's name.
void TestWizardPages::formNameLeftByTheFocus()
{
    QFETCH(QString, leave);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QString, refusal);
    const QString name = kChoices + "Channel_2_OrvellinkInputName";
    const QString deviceName = QStringLiteral("Orvel 2");
    const auto restore = qScopeGuard([&] { m_screen.setOnDevice(name.mid(2), deviceName); });
    const QList<QQuickItem*> boxes = namesStepHolding(name, deviceName);
    QCOMPARE(boxes.size(), 8);
    QQuickItem* box = boxes.at(1);
    QTRY_COMPARE(QQmlProperty::read(box, "editText").toString(), deviceName);

    QQuickView* view = m_screen.shell().loader()->view();
    const int from = m_screen.device().received().size();
    QVERIFY(fieldleaving::typeOver(view, box, typed));
    QCOMPARE(QQmlProperty::read(box, "editText").toString(), typed);
    // On the row's label, the page's ground.
    const QPointF ground = box->mapToScene(QPointF(-40, box->height() / 2));
    fieldleaving::leave(view, leave, ground.toPoint());
    QTRY_VERIFY(!box->hasActiveFocus());

    m_screen.device().receivedUntilProbe([] { ShellFixture::sendProbe(); }, from);
    const QString held = written.isEmpty() ? deviceName : written;
    QCOMPARE(writesTo(name, from),
             written.isEmpty() ? QStringList() : QStringList{setLine(name, written)});
    QTRY_COMPARE(QQmlProperty::read(box, "editText").toString(), held);
    QCOMPARE(text(m_screen.visibleItem(QStringLiteral("formRefusal"))), refusal);
    QCOMPARE(m_screen.command("value \"" + name + "\\\""), "ok " + held);
}

void TestWizardPages::formNameLeftByAButton_data()
{
    fieldleaving::addNameBoxRows({"next"});
    // Refused, a name left by Back, the menu bar or the device's own step sends what it would
    // have sent untouched.
    fieldleaving::appendRows({fieldleaving::kNewName}, {"back", "menu bar", "device step"});
}

// A name typed over on the names step and left by Next, Back, the menu bar's Home or the device
// moving to another step: the box ends its edit first. A name the device takes goes out before
// the step's event; a refused one keeps the device's name and holds Next back, the step showing
// why.
void TestWizardPages::formNameLeftByAButton()
{
    QFETCH(QString, leave);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QString, refusal);
    const QString name = kChoices + "Channel_2_OrvellinkInputName";
    const QString deviceName = QStringLiteral("Orvel 2");
    const auto restore = qScopeGuard([&] { m_screen.setOnDevice(name.mid(2), deviceName); });
    QQuickItem* box = namesStepHolding(name, deviceName).value(1);
    QVERIFY(box);
    QTRY_COMPARE(QQmlProperty::read(box, "editText").toString(), deviceName);

    QQuickView* view = m_screen.shell().loader()->view();
    const int from = m_screen.device().received().size();
    QVERIFY(fieldleaving::typeOver(view, box, typed));
    if (leave == QLatin1String("device step")) {
        m_screen.forceState(QStringLiteral("OrvellinkInputStartChannel"));
    } else {
        const QString button = leave == QLatin1String("next")   ? QStringLiteral("wizardNextButton")
                               : leave == QLatin1String("back") ? QStringLiteral("wizardBackButton")
                                                                : QStringLiteral("menuHomeButton");
        QQuickItem* target = m_screen.visibleItem(button);
        QVERIFY(target);
        fieldleaving::leave(
            view, leave,
            target->mapToScene(QPointF(target->width() / 2, target->height() / 2)).toPoint());
    }

    const bool held = leave == QLatin1String("next") && !refusal.isEmpty();
    QStringList expected;
    if (!written.isEmpty())
        expected << setLine(name, written);
    if (leave == QLatin1String("back"))
        expected << setLine(kWizard + "WizardEvent", QStringLiteral("Previous"));
    else if (leave == QLatin1String("next") && !held)
        expected << setLine(kWizard + "WizardEvent", QStringLiteral("Next"));
    // An event goes out a moment later: the last line expected is awaited past the start.
    if (!expected.isEmpty())
        QTRY_VERIFY(m_screen.device().received().mid(from).contains(expected.last()));
    // A Next that should be held would have gone out after a throttle's window.
    if (held)
        QTest::qWait(3 * QX8TextSV::kThrottleMs);
    m_screen.device().receivedUntilProbe([] { ShellFixture::sendProbe(); }, from);
    const QStringList sent = m_screen.writes(from).filter(
        QRegularExpression(QStringLiteral("OrvellinkInputName|WizardEvent")));
    QCOMPARE(sent, expected);
    QCOMPARE(m_screen.command("value \"" + name + "\\\""),
             "ok " + (written.isEmpty() ? deviceName : written));
    if (!held)
        return;
    QVERIFY(m_screen.showsPage(QStringLiteral("wizardFormPage")));
    QCOMPARE(QQmlProperty::read(box, "editText").toString(), deviceName);
    QCOMPARE(text(m_screen.visibleItem(QStringLiteral("formRefusal"))), refusal);
    QCOMPARE(text(m_screen.visibleItem(QStringLiteral("refusedBox"))), QStringLiteral("Input 2:"));
}

void TestWizardPages::formTextFieldWritesACheckedName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("a name") << "Kick In"
                            << "Kick In";
    QTest::newRow("double quotes are not taken") << "Snare \"Top\""
                                                 << "Snare Top";
    QTest::newRow("sixteen characters at most") << "Overheads Left Right"
                                                << "Overheads Left R";
}

// A text-field row takes what the name check lets through and writes it when editing ends.
void TestWizardPages::formTextFieldWritesACheckedName()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    const QString name = kChoices + "Channel_2_OrvellinkInputName";
    open(QStringLiteral("OrvellinkInputNames"), QStringLiteral("wizardFormPage"));
    QVERIFY(QQmlProperty::write(m_screen.page(), "rows",
                                QVariantList{QVariantMap{{"label", "Input 2 name"},
                                                         {"kind", "textField"},
                                                         {"path", name.mid(2)},
                                                         {"offset", 0}}}));
    QQuickItem* field = nullptr;
    QTRY_VERIFY((field = m_screen.visibleItem(QStringLiteral("formTextField"))));
    QTRY_COMPARE(QQmlProperty::read(field, "text").toString(), QStringLiteral("Orvel 2"));
    const int from = m_screen.device().received().size();
    m_screen.typeInto(field, typed);
    QVERIFY(m_screen.device().waitForReceived(setLine(name, written)));
    QCOMPARE(writesTo(name, from), QStringList({setLine(name, written)}));
    m_screen.setOnDevice(name.mid(2), QStringLiteral("Orvel 2"));
}

// Over the slow link of the processing pages' check, the options' switches and the form's
// channel spin box show a dimmed dash and take no click until the device has told their values,
// then show the device's, and the options' exclusive choices are dimmed and none pressed until
// then; a click before writes nothing and presses nothing, "+" after raises the device's value.
void TestWizardPages::controlsShowWhatTheyDoNotKnow()
{
    const QString channel = kChoices + "Channel_1_OrvellinkInputAssignment";
    m_screen.setOnDevice(channel.mid(2), QStringLiteral("9"));
    m_screen.setOnDevice(kWizard.mid(2) + "LevelAssistAutoTrim", QStringLiteral("On"));
    m_screen.setOnDevice(kWizard.mid(2) + "SetupAutoNaming", QStringLiteral("Off"));
    m_screen.setOnDevice(kWizard.mid(2) + "TargetCurve", QStringLiteral("Reflective Room"));
    m_screen.setOnDevice(kWizard.mid(2) + "MicResponse", QStringLiteral("Flat"));
    const SlowConsole slow(m_screen.device());
    QVERIFY(slow.isSlow());
    KnownValuesWatch watch;
    const int from = m_screen.device().received().size();

    m_screen.clickRow(QStringLiteral("WIZARD OPTIONS"));
    QTRY_VERIFY(m_screen.showsPage(QStringLiteral("wizardOptionsPage")));
    const auto switches = [this] {
        return m_screen.itemsNamed(QStringLiteral("optionSwitch"), m_screen.page());
    };
    QCOMPARE(switches().size(), 2);
    m_screen.screenshot(QStringLiteral("wizard-options-unknown"));
    QVERIFY2(!KnownValuesWatch::backendKnows(switches().first()), "the value came first");
    m_screen.click(switches().first());
    const auto choices = [this] {
        return m_screen.itemsNamed(QStringLiteral("optionChoice"), m_screen.page());
    };
    const auto enabledChoices = [&] {
        const QList<QQuickItem*> all = choices();
        return int(
            std::count_if(all.begin(), all.end(), [](QQuickItem* c) { return c->isEnabled(); }));
    };
    const auto pressedChoices = [&] {
        QStringList pressed;
        for (QQuickItem* choice : choices()) {
            if (choice->property("checked").toBool())
                pressed << text(choice);
        }
        return pressed;
    };
    QCOMPARE(choices().size(), 5);
    QVERIFY2(!KnownValuesWatch::backendKnows(choices().first()), "the value came first");
    m_screen.click(choices().first());
    QCOMPARE(pressedChoices(), QStringList());
    QCOMPARE(enabledChoices(), 0);
    const auto switchShown = [](QQuickItem* toggle, bool known) {
        const QString shown = text(toggle);
        const auto showsDevice = [&] {
            const bool on =
                KnownValuesWatch::backendOf(toggle)->property("value").toString() == "On";
            return shown == QLatin1String(on ? "ON" : "OFF") &&
                   toggle->property("checked").toBool() == on && toggle->isEnabled();
        };
        const bool right =
            known ? showsDevice() : shown == QStringLiteral("\u2013") && !toggle->isEnabled();
        return right ? QString() : QStringLiteral("a switch shows \"%1\"").arg(shown);
    };
    QVERIFY2(watch.untilKnown(switches, switchShown), qPrintable(watch.wrong()));
    QVERIFY(watch.unknownSeen() > 0);
    QCOMPARE(text(switches().at(0)) + '|' + text(switches().at(1)), QStringLiteral("ON|OFF"));
    QTRY_COMPARE_WITH_TIMEOUT(pressedChoices(), QStringList({"Reflective Room", "Flat"}),
                              qx8test::timeoutMs());
    QCOMPARE(enabledChoices(), 5);

    m_screen.forceState(QStringLiteral("OrvellinkInputStartChannel"));
    QTRY_VERIFY_WITH_TIMEOUT(m_screen.showsPage(QStringLiteral("wizardFormPage")),
                             qx8test::timeoutMs());
    QQuickItem* spinBox = nullptr;
    QTRY_VERIFY((spinBox = m_screen.visibleItem(QStringLiteral("formSpinBox"))));
    const auto shownNumber = [](QQuickItem* box) {
        return text(box->property("contentItem").value<QQuickItem*>());
    };
    m_screen.screenshot(QStringLiteral("wizard-OrvellinkInputStartChannel-unknown"));
    QVERIFY2(!KnownValuesWatch::backendKnows(spinBox), "the value came first");
    m_screen.click(m_screen.visibleItem(QStringLiteral("upIndicator"), spinBox));
    const auto spinBoxShown = [&](QQuickItem* box, bool known) {
        const QString shown = shownNumber(box);
        const auto showsDevice = [&] {
            const double device = KnownValuesWatch::backendOf(box)->property("value").toDouble();
            return shown == QString::number(qRound(device)) && box->isEnabled();
        };
        const bool right =
            known ? showsDevice() : shown == QStringLiteral("\u2013") && !box->isEnabled();
        return right ? QString() : QStringLiteral("the spin box shows \"%1\"").arg(shown);
    };
    QVERIFY2(watch.untilKnown([spinBox] { return QList<QQuickItem*>{spinBox}; }, spinBoxShown),
             qPrintable(watch.wrong()));
    QVERIFY(watch.unknownSeen() > 0);
    QCOMPARE(shownNumber(spinBox), QStringLiteral("9"));

    const QStringList sent =
        m_screen.device().receivedUntilProbe([] { ShellFixture::sendProbe(); }, from);
    QCOMPARE(sent.filter(QRegularExpression(QStringLiteral("^set "))), QStringList());
    m_screen.click(m_screen.visibleItem(QStringLiteral("upIndicator"), spinBox));
    QVERIFY(m_screen.device().waitForReceived(setLine(channel, QStringLiteral("10"))));

    // The names step: a name typed before the device's names came goes nowhere.
    const int namesFrom = m_screen.device().received().size();
    m_screen.forceState(QStringLiteral("OrvellinkInputNames"));
    const auto boxes = [this] {
        QList<QQuickItem*> shown =
            m_screen.itemsNamed(QStringLiteral("formNameBox"), m_screen.page());
        shown.erase(std::remove_if(shown.begin(), shown.end(),
                                   [](QQuickItem* box) { return !box->isVisible(); }),
                    shown.end());
        return shown;
    };
    QVERIFY(qx8test::runEventsUntil([&] { return boxes().size() == 8; }, qx8test::timeoutMs()));
    QVERIFY2(!KnownValuesWatch::backendKnows(boxes().first()), "the value came first");
    m_screen.screenshot(QStringLiteral("wizard-OrvellinkInputNames-unknown"));
    QQuickItem* firstBox = boxes().first();
    m_screen.click(firstBox);
    for (const char key : {'K', 'i', 'c', 'k'})
        QTest::keyClick(firstBox->window(), key);
    QTest::keyClick(firstBox->window(), Qt::Key_Tab);
    QVERIFY2(watch.untilKnown(boxes, &KnownValuesWatch::nameBoxMisshown),
             qPrintable(watch.wrong()));
    QVERIFY(watch.unknownSeen() > 0);
    const QStringList named =
        m_screen.device().receivedUntilProbe([] { ShellFixture::sendProbe(); }, namesFrom);
    QCOMPARE(named.filter(QRegularExpression(QStringLiteral("^set "))), QStringList());
}

void TestWizardPages::quickStepsOnASlowLinkEachGoOn_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("pageName");
    QTest::addColumn<QString>("variable"); // of the set-up choices
    QTest::addColumn<int>("held");         // by the device first
    QTest::addColumn<QString>("showing");  // the item whose text shows the value
    QTest::addColumn<QString>("button");   // that steps it up
    QTest::addColumn<QString>("unit");
    QTest::newRow("form spin box") << "OrvellinkInputStartChannel"
                                   << "wizardFormPage"
                                   << "Channel_1_OrvellinkInputAssignment" << 9 << "formSpinBox"
                                   << "upIndicator" << QString();
    QTest::newRow("level dial") << "SelectHighAmplifierLevel"
                                << "wizardDialPage"
                                << "HighAmplifierLevel" << 50 << "dialValue"
                                << "dialPlus"
                                << "%";
}

// Over the slow link, eight quick clicks 270 ms apart on a spin box's "+" or the dial's "+", so
// that the answers to the first come in among the last: each writes one step on from the last,
// the device ends eight steps up, and every frame from the first click until the device has
// answered the last shows the step last clicked, dimmed, never one the answer to an earlier step
// pulls back; then the device's value, undimmed.
void TestWizardPages::quickStepsOnASlowLinkEachGoOn()
{
    QFETCH(QString, state);
    QFETCH(QString, pageName);
    QFETCH(QString, variable);
    QFETCH(int, held);
    QFETCH(QString, showing);
    QFETCH(QString, button);
    QFETCH(QString, unit);
    const QString path = kChoices + variable;
    m_screen.setOnDevice(path.mid(2), QString::number(held));
    open(state, pageName);
    QQuickItem* shownBy = nullptr;
    QTRY_VERIFY((shownBy = m_screen.visibleItem(showing)));
    auto* face = shownBy->property("contentItem").value<QQuickItem*>();
    const auto shown = [&] {
        return text(face ? face : shownBy) +
               (looksPending(shownBy) ? QStringLiteral(", dimmed") : QString());
    };
    const QString heldText = QString::number(held) + unit;
    QTRY_COMPARE(shown(), heldText);
    QQuickItem* up = m_screen.visibleItem(button, face ? shownBy : nullptr);
    QVERIFY(up);
    const SlowConsole slow(m_screen.device());
    QVERIFY(slow.isSlow());
    const int from = m_screen.device().received().size();
    ShownFrames frames(m_screen.shell().loader()->view(), shown);
    QVERIFY(frames.waitForFrame());

    QStringList expectedFrames{heldText};
    QStringList expectedWrites;
    const int steps = 8;
    for (int step = 1; step <= steps; ++step) {
        quickClick(up);
        expectedFrames << QString::number(held + step) + unit + QStringLiteral(", dimmed");
        expectedWrites << setLine(path, QString::number(held + step));
        QTest::qWait(270);
    }
    expectedFrames << QString::number(held + steps) + unit;
    QVERIFY(SlowConsole::answeredWrites(QStringLiteral("NPO"), path.mid(2)));
    QVERIFY(frames.stop());
    QCOMPARE(writesTo(path, from), expectedWrites);
    QCOMPARE(m_screen.command("value \"" + path + '"'),
             "ok " + QString::number(held + steps) + unit);
    QCOMPARE(frames.shown(), expectedFrames);
}

void TestWizardPages::quickOptionClicksOnASlowLinkEndOnTheLast_data()
{
    QTest::addColumn<QString>("variable"); // of the wizards' options
    QTest::addColumn<QString>("held");     // by the device first
    QTest::addColumn<QString>("name");     // of the option's buttons
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QStringList>("frames");
    QTest::newRow("auto trim switch, two clicks")
        << "LevelAssistAutoTrim"
        << "On"
        << "optionSwitch" << QStringList{"ON", "OFF"} << QStringList{"Off", "On"}
        << QStringList{"ON", "OFF, dimmed", "ON, dimmed", "ON"};
    QTest::newRow("AutoEQ target, a choice and back")
        << "TargetCurve"
        << "Flat"
        << "optionChoice" << QStringList{"Reflective Room", "Flat"}
        << QStringList{"Reflective Room", "Flat"}
        << QStringList{"Flat", "Reflective Room, dimmed", "Flat, dimmed", "Flat"};
}

// Over the slow link, a wizard option's switch clicked twice, or one of its choices and then the
// one before, 270 ms apart: both are written and the device ends where it started; every frame
// shows the state last clicked, dimmed, from the click until the device has answered both, and
// never turns back for the answer to the first (a click then would write the wrong state).
void TestWizardPages::quickOptionClicksOnASlowLinkEndOnTheLast()
{
    QFETCH(QString, variable);
    QFETCH(QString, held);
    QFETCH(QString, name);
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, written);
    QFETCH(QStringList, frames);
    const QString path = kWizard + variable;
    m_screen.setOnDevice(path.mid(2), held);
    m_screen.clickRow(QStringLiteral("WIZARD OPTIONS"));
    QTRY_VERIFY(m_screen.showsPage(QStringLiteral("wizardOptionsPage")));
    QList<QQuickItem*> buttons = m_screen.itemsNamed(name, m_screen.page());
    buttons.erase(std::remove_if(buttons.begin(), buttons.end(),
                                 [&](QQuickItem* button) {
                                     return KnownValuesWatch::backendOf(button)->svName() !=
                                            path.mid(2);
                                 }),
                  buttons.end());
    QVERIFY(!buttons.isEmpty());
    // The option's pressed button, or its switch while off.
    const auto shown = [&] {
        QQuickItem* showing = buttons.first();
        for (QQuickItem* button : buttons) {
            if (button->property("checked").toBool())
                showing = button;
        }
        return text(showing) + (looksPending(showing) ? QStringLiteral(", dimmed") : QString());
    };
    QTRY_COMPARE(shown(), frames.first());
    const SlowConsole slow(m_screen.device());
    QVERIFY(slow.isSlow());
    const int from = m_screen.device().received().size();
    ShownFrames shownFrames(m_screen.shell().loader()->view(), shown);
    QVERIFY(shownFrames.waitForFrame());

    for (const QString& label : clicks) {
        const auto clicked = std::find_if(buttons.begin(), buttons.end(),
                                          [&](QQuickItem* b) { return text(b) == label; });
        QVERIFY(clicked != buttons.end());
        quickClick(*clicked);
        QTest::qWait(270);
    }
    QVERIFY(SlowConsole::answeredWrites(QStringLiteral("NPO"), path.mid(2)));
    QVERIFY(shownFrames.stop());
    QStringList writes;
    for (const QString& value : written)
        writes << setLine(path, value);
    QCOMPARE(writesTo(path, from), writes);
    QCOMPARE(m_screen.command("value \"" + path + '"'), "ok " + held);
    QCOMPARE(shownFrames.shown(), frames);
}

QX8_TEST_MAIN(TestWizardPages)
#include "tst_wizardpages.moc"
