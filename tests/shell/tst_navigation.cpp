#include "shellfixture.h"
#include "testharness.h"
#include "testmain.h"
#include "viewloader.h"

#include <QQmlProperty>
#include <QQuickItem>
#include <QtTest>

// Every screen state and every transition of the screen table, driven through the QML root's
// guiSignal as the pages drive them; every page loads without a QML warning.
class TestNavigation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void startsOnDiscoveryWithoutHelpImage();
    void transitions_data();
    void transitions();
    void everyPageLoadsWithoutWarnings();
    void menuBarButtonsStayPut();
    void everyScreenHasTheHouseHeading();
    void homeReloadsItself();
    void presetChangeKeepsWizard();
    void homeButtonWhenNotBusy();

private:
    void goTo(ViewLoader::Screen screen);

    ShellFixture m_shell;
};

namespace {
using S = ViewLoader::Screen;

struct Screen
{
    const char* page;
    const char* help;  // empty: the screen has no help picture
    const char* param; // the GUI signal that asks for it
    const char* payload;
};

const Screen kScreens[ViewLoader::ScreenCount] = {
    {"QX8PEQ.qml", "Parametric-EQ.jpg", "PEQ", "High"},
    {"QX8AEQ.qml", "Auto-EQ.jpg", "AEQ", ""},
    {"QX8GEQ.qml", "Graph-EQ.jpg", "GEQ", "StereoGEQ"},
    {"ScreenNuq.qml", "Nuq.jpg", "Nuq", ""},
    {"ScreenAGC.qml", "HelpAGC.jpg", "AGC", ""},
    {"ScreenRTA.qml", "RTA.jpg", "RTA", ""},
    {"ScreenSigGen.qml", "Signal-Generator.jpg", "SIGGEN", ""},
    {"ScreenGate.qml", "HelpGate.jpg", "GAT", ""},
    {"ScreenDelay.qml", "Output-Delay.jpg", "DLY", ""},
    {"ScreenWizard.qml", "NewWizard.jpg", "Wizard", ""},
    {"ScreenMixer.qml", "HelpMixers.jpg", "MIX", "Mixer"},
    {"ScreenOutputMeters.qml", "Output-Meter.jpg", "1", "Output"},
    {"ScreenPresets.qml", "Preset.jpg", "Presets", ""},
    {"QX8Limiter.qml", "Limiter.jpg", "LMT", "High"},
    {"InputDelay.qml", "Input-Delay.jpg", "InputDelay", ""},
    {"CrossOver.qml", "Crossover.jpg", "Crossover", "Low"},
    {"ScreenUtilities.qml", "Utilities.jpg", "Utilities", ""},
    {"QX8Discovery.qml", "", "DeviceDiscovery", ""},
    {"QX8HomeScreen.qml", "HomeScreen.jpg", "ConfigButtonPressed", ""},
    {"QX8Compressor.qml", "Compressor.jpg", "CMP", ""},
    {"QX8SubHarmonic.qml", "Subharmonic-Synth.jpg", "SUB", ""},
    {"ConfigOverlay.qml", "HelpConfig.jpg", "ConfigMode", "{}"},
    {"ScreenInputRouter.qml", "HelpInputRouter.jpg", "InputRouter", ""},
    {"ManageTunings.qml", "HelpManageTunings.jpg", "ManageTunings", ""},
};

const QList<S> kCommon = {S::HomeScreen, S::Utilities, S::Discovery,
                          S::Presets,    S::Wizard,    S::ScreenOutputMeters};

// The screens reachable from `from`, written out from the screen table.
QList<S> targetsOf(S from)
{
    switch (from) {
    case S::Discovery:
        return {S::HomeScreen};
    case S::HomeScreen: {
        QList<S> all;
        for (int to = 0; to < ViewLoader::ScreenCount; ++to) {
            if (to != S::ManageTunings && to != S::ConfigMode)
                all << S(to);
        }
        return all;
    }
    case S::ConfigMode:
        return {};
    default: {
        QList<S> targets = kCommon;
        targets.removeAll(from);
        if (from == S::Wizard)
            targets << S::ManageTunings;
        return targets;
    }
    }
}

QString expectedLoad(S screen)
{
    return QString::fromLatin1(kScreens[screen].page) + QLatin1Char('|') +
           QString::fromLatin1(kScreens[screen].help);
}
} // namespace

void TestNavigation::initTestCase()
{
    QVERIFY(m_shell.start());
}

void TestNavigation::startsOnDiscoveryWithoutHelpImage()
{
    ShellFixture::settle();
    // The first load happened inside start-up, before the spy: the page shows it.
    QTRY_VERIFY(m_shell.pageItem());
    QCOMPARE(m_shell.pageItem()->objectName(), QStringLiteral("discoveryPage"));
    QCOMPARE(QQmlProperty::read(m_shell.root(), "strHelpFileName").toString(), QString());
}

// Each step waits for its state: the machine takes a transition on a later turn of the loop.
void TestNavigation::goTo(ViewLoader::Screen screen)
{
    const auto step = [this](const QString& param, const QString& payload, S reached) {
        m_shell.guiSignal(param, payload);
        return QTest::qWaitFor([&] { return m_shell.loader()->isActive(reached); },
                               qx8test::timeoutMs());
    };
    if (!m_shell.loader()->isActive(S::HomeScreen))
        QVERIFY(step(QStringLiteral("HomeButtonPressed"), QString(), S::HomeScreen));
    if (screen == S::ManageTunings)
        QVERIFY(step(QStringLiteral("Wizard"), QString(), S::Wizard));
    if (screen != S::HomeScreen) {
        QVERIFY(step(QString::fromLatin1(kScreens[screen].param),
                     QString::fromLatin1(kScreens[screen].payload), screen));
    }
    m_shell.takeLoads();
}

void TestNavigation::transitions_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("signalOf");
    for (int from = 0; from < ViewLoader::ScreenCount; ++from) {
        if (from == S::ConfigMode)
            continue;
        for (int to = 0; to < ViewLoader::ScreenCount; ++to) {
            QTest::addRow("%s-%s", kScreens[from].page, kScreens[to].param) << from << to;
        }
    }
}

void TestNavigation::transitions()
{
    QFETCH(int, from);
    QFETCH(int, signalOf);
    goTo(S(from));
    QVERIFY(m_shell.loader()->isActive(S(from)));

    m_shell.guiSignal(QString::fromLatin1(kScreens[signalOf].param),
                      QString::fromLatin1(kScreens[signalOf].payload));

    const bool moves = targetsOf(S(from)).contains(S(signalOf));
    const QStringList expected = moves ? QStringList{expectedLoad(S(signalOf))} : QStringList();
    QStringList loads;
    QTRY_VERIFY((loads += m_shell.takeLoads()).size() >= expected.size());
    ShellFixture::settle();
    QCOMPARE(loads + m_shell.takeLoads(), expected);
    QVERIFY(m_shell.loader()->isActive(moves ? S(signalOf) : S(from)));
}

void TestNavigation::everyPageLoadsWithoutWarnings()
{
    for (int screen = 0; screen < ViewLoader::ScreenCount; ++screen) {
        if (screen == S::ConfigMode)
            continue;
        goTo(S(screen));
        QTRY_VERIFY(m_shell.pageItem());
        const QString source =
            QQmlProperty::read(m_shell.root()->findChild<QObject*>("pageLoader"), "source")
                .toString();
        QVERIFY2(source.endsWith(QLatin1String(kScreens[screen].page)), qPrintable(source));
    }
}

// Whichever screen is shown, and so whichever button is lit (its text bold), every button of the
// menu bar stands in the same place with the same width.
void TestNavigation::menuBarButtonsStayPut()
{
    static const char* const buttons[] = {
        "menuDiscoveryButton", "menuWizardButton", "menuHelpButton",         "menuPresetsButton",
        "menuUtilitiesButton", "menuHomeButton",   "menuOutputMetersButton",
    };
    // Empty until the bar shows every button laid out, left to right.
    const auto placesShown = [this] {
        QStringList places;
        qreal right = 0;
        for (const char* name : buttons) {
            const QQuickItem* button =
                ShellFixture::visibleItem(m_shell.pageItem(), QString::fromLatin1(name));
            if (!button || button->mapToScene({}).x() < right)
                return QStringList();
            const QRectF place(button->mapToScene({}), button->size());
            places << QStringLiteral("%1 %2+%3").arg(name).arg(place.x()).arg(place.width());
            right = place.right();
        }
        return places;
    };
    QStringList first;
    for (int screen = 0; screen < ViewLoader::ScreenCount; ++screen) {
        if (screen == S::ConfigMode || screen == S::Discovery)
            continue;
        goTo(S(screen));
        if (first.isEmpty())
            QTRY_VERIFY(!(first = placesShown()).isEmpty());
        else
            QTRY_COMPARE(placesShown(), first);
    }
}

// Every screen names itself in the one heading the block pages have (bold capitals over a rule),
// whatever its words.
void TestNavigation::everyScreenHasTheHouseHeading()
{
    QStringList without;
    for (int screen = 0; screen < ViewLoader::ScreenCount; ++screen) {
        if (screen == S::ConfigMode)
            continue;
        goTo(S(screen));
        if (!QTest::qWaitFor([this] {
                return m_shell.pageItem() &&
                       ShellFixture::visibleItem(m_shell.pageItem(),
                                                 QStringLiteral("headingTitle"));
            }))
            without << QString::fromLatin1(kScreens[screen].page);
    }
    QVERIFY2(without.isEmpty(), qPrintable(without.join(", ")));
}

void TestNavigation::homeReloadsItself()
{
    goTo(S::HomeScreen);
    m_shell.guiSignal(QStringLiteral("HomeButtonPressed"));
    QCOMPARE(m_shell.takeLoads(), QStringList{expectedLoad(S::HomeScreen)});
}

void TestNavigation::presetChangeKeepsWizard()
{
    goTo(S::Wizard);
    m_shell.guiSignal(QStringLiteral("PresetChanged"));
    QCOMPARE(m_shell.takeLoads(), QStringList());
    goTo(S::PEQ);
    m_shell.guiSignal(QStringLiteral("PresetChanged"));
    QCOMPARE(m_shell.takeLoads(), QStringList{expectedLoad(S::HomeScreen)});
}

void TestNavigation::homeButtonWhenNotBusy()
{
    goTo(S::PEQ);
    m_shell.guiSignal(QStringLiteral("HomeButtonPressed"), QStringLiteral("DeviceNotBusy"));
    QCOMPARE(m_shell.takeLoads(), QStringList());
    goTo(S::HomeScreen);
    m_shell.guiSignal(QStringLiteral("HomeButtonPressed"), QStringLiteral("DeviceNotBusy"));
    QCOMPARE(m_shell.takeLoads(), QStringList{expectedLoad(S::HomeScreen)});
    m_shell.guiSignal(QStringLiteral("HomeButtonPressed"), QStringLiteral("Other"));
    QCOMPARE(m_shell.takeLoads(), QStringList());
}

QX8_TEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
