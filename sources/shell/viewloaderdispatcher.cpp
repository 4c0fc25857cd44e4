// The GUI-signal dispatcher and the application modes of the screen loader.
#include "viewloader.h"

#include "appanalytics.h"
#include "appbusyflag.h"
#include "applicationupdater.h"
#include "devicecredentials.h"
#include "firmwareupdater.h"
#include "qx8settings.h"
#include "tcpadaptor.h"
#include "tuningfilemanager.h"

#include <QLoggingCategory>

namespace {
const QString kAddressKey = QStringLiteral("Data/CurrentDeviceAddress");
const QString kPasswordKey = QStringLiteral("Data/CurrentDevicePassword");
const QString kOfflineAddress = QStringLiteral("127.0.0.1");
const QString kDefaultPassword = QStringLiteral("quillrampstow");

const QStringList kMixerParams = {
    QStringLiteral("MIX"),  QStringLiteral("1+2+3"), QStringLiteral("1+2"), QStringLiteral("2+3"),
    QStringLiteral("1"),    QStringLiteral("2"),     QStringLiteral("3"),   QStringLiteral("4"),
    QStringLiteral("5"),    QStringLiteral("6"),     QStringLiteral("7"),   QStringLiteral("A"),
    QStringLiteral("B"),    QStringLiteral("C"),     QStringLiteral("A+B"), QStringLiteral("B+C"),
    QStringLiteral("A+B+C")};
const QStringList kOutputParams = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                   QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")};
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
    settings.setValue(kAddressKey, address);
    settings.setValue(kPasswordKey, password);
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

void ViewLoader::onGuiSignal(QString param, QString payload)
{
    QX8Settings settings;
    const QString analyticsAllowed =
        settings.value(QStringLiteral("Data/appAnalytics"), QString()).toString();
    qDebug() << Q_FUNC_INFO << "$$$$" << analyticsAllowed << "@@@@";
    if (analyticsAllowed == QLatin1String("true")) {
        m_analytics->sendScreenView(param,
                                    {{QStringLiteral("Payload"),
                                      DeviceCredentials::payloadWithoutPassword(param, payload)}});
    }

    auto store = [&settings, &payload](const char* key) {
        settings.setValue(QString::fromLatin1(key), payload);
    };
    const bool outputMeters =
        kOutputParams.contains(param) && payload.contains(QLatin1String("Output"));

    if (param == QLatin1String("ConnectOfflineModel")) {
        connectOfflineModel(payload);
    } else if (param == QLatin1String("ConnectDevice")) {
        connectDevice(payload);
    } else if (param == QLatin1String("EnterPassword")) {
        enterPassword(payload);
    } else if (param == QLatin1String("DisconnectDevice") ||
               param == QLatin1String("DeviceDiscovery")) {
        leaveDevice();
    } else if (param == QLatin1String("ReceiveDB")) {
        Q_EMIT receiveDB(settings.value(kAddressKey, QString()).toString());
    } else if (param == QLatin1String("SendDB")) {
        Q_EMIT sendDB(settings.value(kAddressKey, QString()).toString());
    } else if (param == QLatin1String("PEQ")) {
        store("Data/PEQType");
        Q_EMIT switchToPEQ();
    } else if (param == QLatin1String("PresetChanged")) {
        if (!isActive(Wizard))
            Q_EMIT switchToHomeScreen();
    } else if (param == QLatin1String("HomeButtonPressed")) {
        if (payload.isEmpty() ||
            (payload == QLatin1String("DeviceNotBusy") && isActive(HomeScreen)))
            Q_EMIT switchToHomeScreen();
    } else if (param == QLatin1String("ConfigButtonPressed")) {
        Q_EMIT switchToHomeScreen();
    } else if (param == QLatin1String("CMP")) {
        Q_EMIT switchToCompressorScreen();
    } else if (param == QLatin1String("LMT")) {
        store("Data/LimiterType");
        Q_EMIT switchToLimiterScreen();
    } else if (outputMeters) {
        Q_EMIT switchToOutputMeters();
    } else if (param == QLatin1String("SUB")) {
        Q_EMIT switchToSubHarmonicScreen();
    } else if (param == QLatin1String("AEQ")) {
        Q_EMIT switchToAEQ();
    } else if (param == QLatin1String("GEQ")) {
        Q_EMIT switchToGEQ();
        store("Data/GEQType");
    } else if (param == QLatin1String("Delay")) {
        store("Data/DelayType");
        Q_EMIT switchToDelay();
    } else if (kMixerParams.contains(param)) {
        store("Data/MixerType");
        Q_EMIT switchToMixers();
    } else if (param == QLatin1String("InputDelay")) {
        Q_EMIT switchToInputDelay();
    } else if (param == QLatin1String("Crossover")) {
        Q_EMIT switchToCrossover();
    } else if (param == QLatin1String("Utilities")) {
        Q_EMIT switchToUtilities();
    } else if (param == QLatin1String("Nuq")) {
        Q_EMIT switchToNuq();
    } else if (param == QLatin1String("AGC")) {
        Q_EMIT switchToAGC();
    } else if (param == QLatin1String("DLY")) {
        Q_EMIT switchToDelay();
    } else if (param == QLatin1String("GAT")) {
        Q_EMIT switchToGate();
    } else if (param == QLatin1String("RTA")) {
        Q_EMIT switchToRTA();
    } else if (param == QLatin1String("SIGGEN")) {
        Q_EMIT switchToSigGen();
    } else if (param == QLatin1String("Presets")) {
        Q_EMIT switchToPresets();
    } else if (param == QLatin1String("ConfigMode")) {
        store("Data/ConfigData");
        Q_EMIT switchToConfigScreen();
    } else if (param == QLatin1String("Wizard")) {
        Q_EMIT switchToWizardScreen();
    } else if (param == QLatin1String("ManageTunings")) {
        Q_EMIT switchToManageTunings();
    } else if (param == QLatin1String("InputRouter")) {
        Q_EMIT switchToInputRouter();
    } else if (param == QLatin1String("StartAndStopOfflineModel")) {
        Q_EMIT startOfflineModel();
        storeDevice(kOfflineAddress, kDefaultPassword);
        setOfflineMode(true);
        Q_EMIT stopOfflineModel();
    } else {
        qDebug() << "Uncaught Parameter";
    }
}
