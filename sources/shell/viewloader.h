#pragma once

#include <QObject>
#include <QVariant>
#include <array>
#include <memory>
#include <vector>

class AppAnalytics;
class DeviceFirmwareWatch;
class QQmlComponent;
class QQuickView;
class QStateMachine;
class QX8Settings;
class QX8State;

// Owns the main window and the navigation: one state per screen, each loading its page into the
// page loader of main.qml, and the dispatcher of the GUI signals the pages raise. Also keeps
// the application's modes: busy (mirrors AppBusyFlag), offline model, validation.
class ViewLoader : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool appBusyPreventClose READ appBusyPreventClose WRITE setAppBusyPreventClose NOTIFY
                   appBusyPreventCloseChanged)
    Q_PROPERTY(bool offlineMode READ offlineMode NOTIFY offlineModeChanged)
    Q_PROPERTY(bool validationMode READ validationMode WRITE setValidatationMode NOTIFY
                   validationModeChanged)

public:
    // The screens, in the order of their states.
    enum Screen {
        PEQ,
        AEQ,
        GEQ,
        Nuq,
        AGC,
        RTA,
        SIGGEN,
        Gate,
        Delay,
        Wizard,
        Mixers,
        ScreenOutputMeters,
        Presets,
        Limiter,
        InputDelay,
        Crossover,
        Utilities,
        Discovery,
        HomeScreen,
        Compressor,
        SubHarmonic,
        ConfigMode,
        InputRouter,
        ManageTunings,
        ScreenCount
    };

    explicit ViewLoader(QObject* parent = nullptr);
    ~ViewLoader() override;

    void InitLoader(QString platformName);

    bool appBusyPreventClose() const;
    void setAppBusyPreventClose(bool busy);
    bool offlineMode() const { return m_offlineMode; }
    void setOfflineMode(bool offline);
    bool validationMode() const { return m_validationMode; }
    void setValidatationMode(bool validationMode);

    QQuickView* view() const { return m_view; }
    bool isActive(Screen screen) const;

    bool eventFilter(QObject* watched, QEvent* event) override;

Q_SIGNALS:
    void loadPage(QVariant qmlPath, QVariant helpFileName);
    void messageToGUI(QVariant message);
    void switchToRTA();
    void switchToSigGen();
    void switchToPEQ();
    void switchToAEQ();
    void switchToGEQ();
    void switchToNuq();
    void switchToAGC();
    void switchToGate();
    void switchToDelay();
    void switchToInputDelay();
    void switchToMixers();
    void switchToPresets();
    void switchToCrossover();
    void switchToUtilities();
    void switchToHomeScreen();
    void switchToOutputMeters();
    void switchToConfigScreen();
    void switchToWizardScreen();
    void switchToLimiterScreen();
    void switchToIOMeterScreen();
    void switchToDiscoveryScreen();
    void switchToCompressorScreen();
    void switchToSubHarmonicScreen();
    void switchToManageTunings();
    void switchToInputRouter();
    void receiveDB(QString ipAddress);
    void sendDB(QString ipAddress);
    void syncProgress(float progress);
    void syncFinished();
    void syncError(QString errorString);
    void appBusyPreventCloseChanged(bool prevent);
    void closeEventIgnored();
    void resendDataRequest(bool send);
    void updateHarwareVersionInPresetsDB(QString deviceType);
    void startOfflineModel();
    void stopOfflineModel();
    void offlineModeChanged(bool offline);
    void validationModeChanged(bool validationMode);
    // Once, after the first frame that shows the first page.
    void firstPageShown();

public Q_SLOTS:
    void onStateEntered(const QString& qmlPath, QString helpFileName);
    void onVimbalReady();
    void onRemoteConnectionLost();
    void onClientConnectionLost();
    void onGuiSignal(QString param, QString payload);
    void onOfflineModelStarted();
    void onOfflineModelStopped();

private:
    void compileAhead(Screen firstScreen);
    void createStates();
    void setContextProperties();
    void connectRootObject();
    void watchForFirstPage();
    void showWindow(const QString& platformName);
    void addTransitions();
    void storeDevice(const QString& address, const QString& password);
    void connectDevice(const QString& payload);
    void enterPassword(const QString& payload);
    void leaveDevice();
    void connectOfflineModel(const QString& deviceType);
    void startAndStopOfflineModel();
    void homeButtonPressed(const QString& payload);
    // The dispatcher: special cases first, then the table of screen requests.
    bool runSpecialCase(const QString& param, const QString& payload);
    bool requestScreen(const QString& param, const QString& payload, QX8Settings& settings);

    QQuickView* m_view;
    QStateMachine* m_machine;
    std::array<QX8State*, ScreenCount> m_states{};
    bool m_offlineMode = false;
    bool m_validationMode = false;
    AppAnalytics* m_analytics;
    DeviceFirmwareWatch* m_firmwareWatch;
    QMetaObject::Connection m_firstPageWatch;
    // Hold the compilations started ahead until the first page is shown.
    std::vector<std::unique_ptr<QQmlComponent>> m_compiledAhead;
};

// The one screen loader, set by its constructor and cleared by its destructor.
extern ViewLoader* viewLoaderInstance;
