// The GUI-signal dispatcher and the application modes of the screen loader.
#include "viewloader.h"

#include "appanalytics.h"
#include "appbusyflag.h"
#include "applicationupdater.h"
#include "devicecredentials.h"
#include "devicefirmwarewatch.h"
#include "firmwareupdater.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "tcpadaptor.h"
#include "tuningfilemanager.h"

#include <QHash>
#include <QLoggingCategory>
#include <algorithm>
#include <iterator>

namespace {
const QString kOfflineAddress = QStringLiteral("127.0.0.1");
const QString kDefaultPassword = QStringLiteral("quillrampstow");

using SwitchSignal = void (ViewLoader::*)();

// A GUI signal that asks for a screen: its parameter words, the screen's switch signal, and the
// settings key that keeps the payload for the page (empty: nothing is stored). A row with a
// payload word applies only to payloads that contain it. Rows are tried in order.
struct ScreenRequest
{
    QStringList params;
    SwitchSignal switchTo;
    QString payloadKey = {};
    QString payloadWord = {};
};

const ScreenRequest kScreenRequests[] = {
    {{"PEQ"}, &ViewLoader::switchToPEQ, settingskeys::kPeqType},
    {{"ConfigButtonPressed"}, &ViewLoader::switchToHomeScreen},
    {{"CMP"}, &ViewLoader::switchToCompressorScreen},
    {{"LMT"}, &ViewLoader::switchToLimiterScreen, settingskeys::kLimiterType},
    {{"1", "2", "3", "4", "5", "6"}, &ViewLoader::switchToOutputMeters, {}, "Output"},
    {{"SUB"}, &ViewLoader::switchToSubHarmonicScreen},
    {{"AEQ"}, &ViewLoader::switchToAEQ},
    {{"GEQ"}, &ViewLoader::switchToGEQ, settingskeys::kGeqType},
    {{"Delay"}, &ViewLoader::switchToDelay, settingskeys::kDelayType},
    {{"MIX", "1+2+3", "1+2", "2+3", "1", "2", "3", "4", "5", "6", "7", "A", "B", "C", "A+B", "B+C",
      "A+B+C"},
     &ViewLoader::switchToMixers,
     settingskeys::kMixerType},
    {{"InputDelay"}, &ViewLoader::switchToInputDelay},
    {{"Crossover"}, &ViewLoader::switchToCrossover},
    {{"Utilities"}, &ViewLoader::switchToUtilities},
    {{"Nuq"}, &ViewLoader::switchToNuq},
    {{"AGC"}, &ViewLoader::switchToAGC},
    {{"DLY"}, &ViewLoader::switchToDelay},
    {{"GAT"}, &ViewLoader::switchToGate},
    {{"RTA"}, &ViewLoader::switchToRTA},
    {{"SIGGEN"}, &ViewLoader::switchToSigGen},
    {{"Presets"}, &ViewLoader::switchToPresets},
    {{"ConfigMode"}, &ViewLoader::switchToConfigScreen, settingskeys::kConfigData},
    {{"Wizard"}, &ViewLoader::switchToWizardScreen},
    {{"ManageTunings"}, &ViewLoader::switchToManageTunings},
    {{"InputRouter"}, &ViewLoader::switchToInputRouter},
};

QString storedAddress()
{
    return QX8Settings().value(settingskeys::kCurrentDeviceAddress, QString()).toString();
}
} // namespace

bool ViewLoader::appBusyPreventClose() const
{
    return AppBusyFlag::isBusy();
}

void ViewLoader::setAppBusyPreventClose(bool busy)
{
    AppBusyFlag::instance()->setBusy(busy);
}

void ViewLoader::setOfflineMode(bool offline)
{
    if (offline == m_offlineMode)
        return;
    if (!offline)
        Q_EMIT stopOfflineModel();
    m_offlineMode = offline;
    Q_EMIT offlineModeChanged(offline);
}

void ViewLoader::setValidatationMode(bool validationMode)
{
    if (validationMode == m_validationMode)
        return;
    m_validationMode = validationMode;
    TuningFileManager::instance()->setValidationMode(validationMode);
    ApplicationUpdater::instance()->setValidationMode(validationMode);
    FirmwareUpdater::instance()->setValidationMode(validationMode);
    Q_EMIT validationModeChanged(validationMode);
}

void ViewLoader::onVimbalReady()
{
    m_firmwareWatch->onDeviceReady(m_offlineMode);
    Q_EMIT switchToHomeScreen();
}

void ViewLoader::onRemoteConnectionLost()
{
    if (!m_offlineMode)
        return;
    setOfflineMode(false);
    Q_EMIT stopOfflineModel();
}

void ViewLoader::onClientConnectionLost() {}

void ViewLoader::onOfflineModelStarted()
{
    qDebug() << "Offline model started.";
    TCPAdaptor::instance()->doDisconnect();
    TCPAdaptor::instance()->doConnect();
}

void ViewLoader::onOfflineModelStopped()
{
    qDebug() << "Offline model stopped.";
}

void ViewLoader::storeDevice(const QString& address, const QString& password)
{
    QX8Settings settings;
    settings.setValue(settingskeys::kCurrentDeviceAddress, address);
    settings.setValue(settingskeys::kCurrentDevicePassword, password);
}

// Connects unless the link is already logged in to that very device: a pending or timed-out
// attempt is started afresh, so that a retry really connects.
void ViewLoader::connectDevice(const QString& payload)
{
    const DeviceCredentials device = DeviceCredentials::fromPayload(payload);
    storeDevice(device.address, device.password);
    TCPAdaptor* link = TCPAdaptor::instance();
    if (link->Ready() && link->hostAddress() == device.address)
        return;
    if (link->isConnected())
        link->doDisconnect();
    link->doConnect();
}

// While not connected the password is only stored; the device's banner then sends it, once.
void ViewLoader::enterPassword(const QString& payload)
{
    const DeviceCredentials device = DeviceCredentials::fromPayload(payload);
    storeDevice(device.address, device.password);
    TCPAdaptor* link = TCPAdaptor::instance();
    if (!link->isConnected())
        link->doConnect();
    link->enterPassword(device.password);
}

// The link lets go before the offline model stops, so that the model's end is not reported as a
// lost connection.
void ViewLoader::leaveDevice()
{
    TCPAdaptor::instance()->doDisconnect();
    setOfflineMode(false);
    Q_EMIT switchToDiscoveryScreen();
}

void ViewLoader::connectOfflineModel(const QString& deviceType)
{
    Q_EMIT stopOfflineModel();
    Q_EMIT updateHarwareVersionInPresetsDB(deviceType);
    Q_EMIT startOfflineModel();
    storeDevice(kOfflineAddress, kDefaultPassword);
    setOfflineMode(true);
}

void ViewLoader::startAndStopOfflineModel()
{
    Q_EMIT startOfflineModel();
    storeDevice(kOfflineAddress, kDefaultPassword);
    setOfflineMode(true);
    Q_EMIT stopOfflineModel();
}

// Empty payload: home from anywhere; "DeviceNotBusy": reloads the home screen only while it
// is shown.
void ViewLoader::homeButtonPressed(const QString& payload)
{
    if (payload.isEmpty() || (payload == QLatin1String("DeviceNotBusy") && isActive(HomeScreen)))
        Q_EMIT switchToHomeScreen();
}

// The GUI signals that are more than a screen request, each a function of the payload.
bool ViewLoader::runSpecialCase(const QString& param, const QString& payload)
{
    using SpecialCase = void (*)(ViewLoader&, const QString& payload);
    const auto leave = [](ViewLoader& loader, const QString&) { loader.leaveDevice(); };
    static const QHash<QString, SpecialCase> kSpecialCases = {
        {QStringLiteral("ConnectOfflineModel"),
         [](ViewLoader& loader, const QString& payload) { loader.connectOfflineModel(payload); }},
        {QStringLiteral("ConnectDevice"),
         [](ViewLoader& loader, const QString& payload) { loader.connectDevice(payload); }},
        {QStringLiteral("EnterPassword"),
         [](ViewLoader& loader, const QString& payload) { loader.enterPassword(payload); }},
        {QStringLiteral("DisconnectDevice"), leave},
        {QStringLiteral("DeviceDiscovery"), leave},
        {QStringLiteral("ReceiveDB"),
         [](ViewLoader& loader, const QString&) { Q_EMIT loader.receiveDB(storedAddress()); }},
        {QStringLiteral("SendDB"),
         [](ViewLoader& loader, const QString&) { Q_EMIT loader.sendDB(storedAddress()); }},
        {QStringLiteral("PresetChanged"),
         [](ViewLoader& loader, const QString&) {
             if (!loader.isActive(Wizard))
                 Q_EMIT loader.switchToHomeScreen();
         }},
        {QStringLiteral("HomeButtonPressed"),
         [](ViewLoader& loader, const QString& payload) { loader.homeButtonPressed(payload); }},
        {QStringLiteral("StartAndStopOfflineModel"),
         [](ViewLoader& loader, const QString&) { loader.startAndStopOfflineModel(); }},
    };
    const SpecialCase specialCase = kSpecialCases.value(param);
    if (!specialCase)
        return false;
    specialCase(*this, payload);
    return true;
}

// The page reads the stored payload when it loads; the switch takes effect only where the
// active screen has a transition for it.
bool ViewLoader::requestScreen(const QString& param, const QString& payload, QX8Settings& settings)
{
    const auto request = std::find_if(
        std::begin(kScreenRequests), std::end(kScreenRequests), [&](const ScreenRequest& row) {
            return row.params.contains(param) && payload.contains(row.payloadWord);
        });
    if (request == std::end(kScreenRequests))
        return false;
    if (!request->payloadKey.isEmpty())
        settings.setValue(request->payloadKey, payload);
    Q_EMIT(this->*request->switchTo)();
    return true;
}

void ViewLoader::onGuiSignal(QString param, QString payload)
{
    QX8Settings settings;
    const QString analyticsAllowed =
        settings.value(settingskeys::kAppAnalytics, QString()).toString();
    qDebug() << Q_FUNC_INFO << "$$$$" << analyticsAllowed << "@@@@";
    if (analyticsAllowed == QLatin1String("true")) {
        m_analytics->sendScreenView(param,
                                    {{QStringLiteral("Payload"),
                                      DeviceCredentials::payloadWithoutPassword(param, payload)}});
    }
    if (!runSpecialCase(param, payload) && !requestScreen(param, payload, settings))
        qDebug() << "Uncaught Parameter";
}
