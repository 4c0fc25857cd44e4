#include "viewloader.h"

#include "clientconnectionwatchdog.h"
#include "remoteconnectionwatchdog.h"

#include "appanalytics.h"
#include "appbusyflag.h"
#include "applicationupdater.h"
#include "devicefirmwarewatch.h"
#include "firmwareupdater.h"
#include "qx8settings.h"
#include "qx8state.h"
#include "settingskeys.h"
#include "tcpadaptor.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickView>
#include <QScreen>
#include <QStateMachine>

ViewLoader* viewLoaderInstance = nullptr;

namespace {
using SwitchSignal = void (ViewLoader::*)();

struct ScreenInfo
{
    const char* name;
    const char* page;
    const char* helpImage;
    SwitchSignal enteredOn; // nullptr: no transition enters the screen
};

// Indexed by ViewLoader::Screen.
const ScreenInfo kScreens[ViewLoader::ScreenCount] = {
    {"PEQ", "QX8PEQ.qml", "Parametric-EQ.jpg", &ViewLoader::switchToPEQ},
    {"AEQ", "QX8AEQ.qml", "Auto-EQ.jpg", &ViewLoader::switchToAEQ},
    {"GEQ", "QX8GEQ.qml", "Graph-EQ.jpg", &ViewLoader::switchToGEQ},
    {"Nuq", "ScreenNuq.qml", "Nuq.jpg", &ViewLoader::switchToNuq},
    {"AGC", "ScreenAGC.qml", "HelpAGC.jpg", &ViewLoader::switchToAGC},
    {"RTA", "ScreenRTA.qml", "RTA.jpg", &ViewLoader::switchToRTA},
    {"SIGGEN", "ScreenSigGen.qml", "Signal-Generator.jpg", &ViewLoader::switchToSigGen},
    {"Gate", "ScreenGate.qml", "HelpGate.jpg", &ViewLoader::switchToGate},
    {"Delay", "ScreenDelay.qml", "Output-Delay.jpg", &ViewLoader::switchToDelay},
    {"Wizard", "ScreenWizard.qml", "NewWizard.jpg", &ViewLoader::switchToWizardScreen},
    {"Mixers", "ScreenMixer.qml", "HelpMixers.jpg", &ViewLoader::switchToMixers},
    {"ScreenOutputMeters", "ScreenOutputMeters.qml", "Output-Meter.jpg",
     &ViewLoader::switchToOutputMeters},
    {"Presets", "ScreenPresets.qml", "Preset.jpg", &ViewLoader::switchToPresets},
    {"Limiter", "QX8Limiter.qml", "Limiter.jpg", &ViewLoader::switchToLimiterScreen},
    {"InputDelay", "InputDelay.qml", "Input-Delay.jpg", &ViewLoader::switchToInputDelay},
    {"Crossover", "CrossOver.qml", "Crossover.jpg", &ViewLoader::switchToCrossover},
    {"Utilities", "ScreenUtilities.qml", "Utilities.jpg", &ViewLoader::switchToUtilities},
    {"Discovery", "QX8Discovery.qml", "HelpDiscovery.jpg", &ViewLoader::switchToDiscoveryScreen},
    {"HomeScreen", "QX8HomeScreen.qml", "HomeScreen.jpg", &ViewLoader::switchToHomeScreen},
    {"Compressor", "QX8Compressor.qml", "Compressor.jpg", &ViewLoader::switchToCompressorScreen},
    {"SubHarmonic", "QX8SubHarmonic.qml", "Subharmonic-Synth.jpg",
     &ViewLoader::switchToSubHarmonicScreen},
    {"ConfigMode", "ConfigOverlay.qml", "HelpConfig.jpg", nullptr},
    {"InputRouter", "ScreenInputRouter.qml", "HelpInputRouter.jpg",
     &ViewLoader::switchToInputRouter},
    {"ManageTunings", "ManageTunings.qml", "HelpManageTunings.jpg",
     &ViewLoader::switchToManageTunings},
};

// Where the home screen leads; the home screen re-enters itself to reload its page.
const ViewLoader::Screen kFromHome[] = {
    ViewLoader::Discovery,
    ViewLoader::Utilities,
    ViewLoader::Presets,
    ViewLoader::Wizard,
    ViewLoader::ScreenOutputMeters,
    ViewLoader::PEQ,
    ViewLoader::Compressor,
    ViewLoader::Limiter,
    ViewLoader::SubHarmonic,
    ViewLoader::AEQ,
    ViewLoader::Delay,
    ViewLoader::GEQ,
    ViewLoader::Mixers,
    ViewLoader::InputDelay,
    ViewLoader::Crossover,
    ViewLoader::Nuq,
    ViewLoader::AGC,
    ViewLoader::Gate,
    ViewLoader::RTA,
    ViewLoader::SIGGEN,
    ViewLoader::InputRouter,
    ViewLoader::HomeScreen,
};

// Where every other screen leads (but never to itself).
const ViewLoader::Screen kCommon[] = {ViewLoader::HomeScreen, ViewLoader::Utilities,
                                      ViewLoader::Discovery,  ViewLoader::Presets,
                                      ViewLoader::Wizard,     ViewLoader::ScreenOutputMeters};

const QUrl kMainQml(QStringLiteral("qrc:/qml/main.qml"));

constexpr int kDesignWidth = 1024;
constexpr int kDesignHeight = 768;
} // namespace

ViewLoader::ViewLoader(QObject* parent)
    : QObject(parent)
    , m_view(new QQuickView)
    , m_machine(new QStateMachine)
    , m_analytics(AppAnalytics::getInstance(QCoreApplication::instance()))
    , m_firmwareWatch(new DeviceFirmwareWatch(this))
{
    viewLoaderInstance = this;
    m_view->installEventFilter(this);

    AppBusyFlag* busy = AppBusyFlag::instance();
    connect(busy, &AppBusyFlag::busyChanged, this, &ViewLoader::appBusyPreventCloseChanged);
    connect(busy, &AppBusyFlag::resendDataRequest, this, &ViewLoader::resendDataRequest);

    connect(TCPAdaptor::instance(), &TCPAdaptor::vimbalReady, this, &ViewLoader::onVimbalReady);
    connect(RemoteConnectionWatchDog::instance(), &RemoteConnectionWatchDog::connectionLost, this,
            &ViewLoader::onRemoteConnectionLost);
    connect(ClientConnectionWatchDog::instance(), &ClientConnectionWatchDog::connectionLost, this,
            &ViewLoader::onClientConnectionLost);
    compileAhead(Discovery);
}

ViewLoader::~ViewLoader()
{
    m_machine->stop();
    delete m_machine;
    m_compiledAhead.clear(); // before their engine
    delete m_view;
    if (viewLoaderInstance == this)
        viewLoaderInstance = nullptr;
}

void ViewLoader::InitLoader(QString platformName)
{
    qDebug().noquote() << "Init View Loader: " + platformName;
    createStates();
    setContextProperties();
    m_view->setSource(kMainQml);
    m_view->setTitle(QStringLiteral("QX8 Control"));
    connectRootObject();
    watchForFirstPage();
    showWindow(platformName);

    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = m_view->frameGeometry();
    m_view->setFramePosition(available.center() - QPoint(frame.width() / 2, frame.height() / 2));

    addTransitions();
    m_machine->setInitialState(m_states[Discovery]);
    m_machine->start();
}

// main.qml, then the first page with the controls it imports, compile on the engine's loader
// thread while the start goes on here; the view and the page loader then find them ready.
void ViewLoader::compileAhead(Screen firstScreen)
{
    const QUrl firstPage(QStringLiteral("qrc:/qml/") + QLatin1String(kScreens[firstScreen].page));
    for (const QUrl& url : {kMainQml, firstPage}) {
        m_compiledAhead.push_back(
            std::make_unique<QQmlComponent>(m_view->engine(), url, QQmlComponent::Asynchronous));
    }
    connect(this, &ViewLoader::firstPageShown, this, [this] { m_compiledAhead.clear(); });
}

void ViewLoader::createStates()
{
    for (int screen = 0; screen < ScreenCount; ++screen) {
        const ScreenInfo& info = kScreens[screen];
        m_states[screen] =
            new QX8State(*m_view, QString::fromLatin1(info.name), QString::fromLatin1(info.page),
                         QString::fromLatin1(info.helpImage), this);
        m_machine->addState(m_states[screen]);
    }
}

void ViewLoader::setContextProperties()
{
    QQmlContext* context = m_view->rootContext();
    context->setContextProperty(QStringLiteral("applicationUpdater"),
                                ApplicationUpdater::instance());
    context->setContextProperty(QStringLiteral("firmwareUpdater"), FirmwareUpdater::instance());
    context->setContextProperty(QStringLiteral("clientConnectionWatchdog"),
                                ClientConnectionWatchDog::instance());
    context->setContextProperty(QStringLiteral("remoteConnectionWatchdog"),
                                RemoteConnectionWatchDog::instance());
    context->setContextProperty(QStringLiteral("viewLoader"), this);
    context->setContextProperty(QStringLiteral("offlineModeSupported"), false);
    const QScreen* screen = QGuiApplication::primaryScreen();
    context->setContextProperty(QStringLiteral("screenDpiX"),
                                screen->physicalDotsPerInchX() / 96.0);
    context->setContextProperty(QStringLiteral("screenDpiY"),
                                screen->physicalDotsPerInchY() / 96.0);
}

// The QML functions are only known at run time, hence the string-based connections.
void ViewLoader::connectRootObject()
{
    QQuickItem* root = m_view->rootObject();
    if (!root) {
        qCritical() << "main.qml did not load:" << m_view->errors();
        return;
    }
    connect(TCPAdaptor::instance(), SIGNAL(timeOutError()), root, SLOT(onTimeOutError()));
    connect(this, SIGNAL(loadPage(QVariant, QVariant)), root,
            SLOT(pageLoadSlot(QVariant, QVariant)), Qt::QueuedConnection);
    connect(this, SIGNAL(messageToGUI(QVariant)), root, SLOT(messageFromBackend(QVariant)));
    connect(root, SIGNAL(guiSignal(QString, QString)), this, SLOT(onGuiSignal(QString, QString)));
}

// A frame shows the page once the page loader of main.qml holds it when the scene is
// synchronised (the GUI thread waits meanwhile); the next frame swapped is that frame. Queued:
// the signal comes after the frame, not in its delivery (nor in a render thread).
void ViewLoader::watchForFirstPage()
{
    const QQuickItem* root = m_view->rootObject();
    const QObject* pageLoader =
        root ? root->findChild<QObject*>(QStringLiteral("pageLoader")) : nullptr;
    if (!pageLoader) {
        QMetaObject::invokeMethod(this, &ViewLoader::firstPageShown, Qt::QueuedConnection);
        return;
    }
    m_firstPageWatch = connect(
        m_view, &QQuickWindow::beforeSynchronizing, this,
        [this, pageLoader] {
            if (!m_firstPageWatch || !pageLoader->property("item").value<QObject*>())
                return;
            disconnect(m_firstPageWatch);
            m_firstPageWatch = connect(
                m_view, &QQuickWindow::frameSwapped, this,
                [this] {
                    // Frames swapped before the disconnection may still be queued.
                    if (!m_firstPageWatch)
                        return;
                    disconnect(m_firstPageWatch);
                    Q_EMIT firstPageShown();
                },
                Qt::QueuedConnection);
        },
        Qt::DirectConnection);
}

void ViewLoader::showWindow(const QString& platformName)
{
    static const QStringList kDesktopPlatforms = {QStringLiteral("windows"),
                                                  QStringLiteral("cocoa"), QStringLiteral("xcb")};
    if (!kDesktopPlatforms.contains(platformName)) {
        m_view->show();
        return;
    }
    m_view->setResizeMode(QQuickView::SizeRootObjectToView);
    const QSize design(kDesignWidth, kDesignHeight);
    // Written "true" by every start once the first page shows; absent only before that.
    if (QX8Settings().value(settingskeys::kResizeReady, QStringLiteral("true")).toString() !=
        QLatin1String("true")) {
        m_view->setMinimumSize(design);
        m_view->setMaximumSize(design);
        m_view->show();
        return;
    }
    m_view->setMinimumSize(design);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    qDebug() << "Dimensions " << available.height() << " X " << available.width();
    if (available.width() >= kDesignWidth && available.height() >= kDesignHeight) {
        m_view->resize(design);
        m_view->show();
    } else {
        m_view->showMaximized();
    }
}

void ViewLoader::addTransitions()
{
    auto add = [this](Screen from, Screen to) {
        m_states[from]->addTransition(this, kScreens[to].enteredOn, m_states[to]);
    };
    add(Discovery, HomeScreen);
    for (Screen to : kFromHome)
        add(HomeScreen, to);
    for (int from = 0; from < ScreenCount; ++from) {
        if (from == Discovery || from == HomeScreen || from == ConfigMode)
            continue;
        for (Screen to : kCommon) {
            if (to != from)
                add(Screen(from), to);
        }
    }
    add(Wizard, ManageTunings);
}

bool ViewLoader::isActive(Screen screen) const
{
    return m_machine->configuration().contains(m_states[screen]);
}

void ViewLoader::onStateEntered(const QString& qmlPath, QString helpFileName)
{
    qDebug().noquote() << "onStateEntered " + qmlPath;
    if (!m_machine->isRunning())
        return;
    if (!QFileInfo(QStringLiteral(":/images/Help/") + helpFileName).isFile())
        helpFileName.clear();
    qDebug().noquote() << " About to load ... " + qmlPath;
    Q_EMIT loadPage(QVariant(qmlPath), QVariant(helpFileName));
}

bool ViewLoader::eventFilter(QObject* watched, QEvent* event)
{
    const bool isClose = event->type() == QEvent::Close;
    if (appBusyPreventClose() && watched == m_view && isClose) {
        event->ignore();
        Q_EMIT closeEventIgnored();
        return true;
    }
    if (watched == m_view && isClose)
        onGuiSignal(QStringLiteral("DisconnectDevice"), QString());
    return QObject::eventFilter(watched, event);
}
