#include "remoteconnectionwatchdog.h"

#include "appbusyflag.h"
#include "clientconnectionwatchdog.h"
#include "tcpadaptor.h"

#include <QCoreApplication>
#include <QLoggingCategory>

RemoteConnectionWatchDog* RemoteConnectionWatchDog::instance()
{
    static RemoteConnectionWatchDog watchDog(ClientConnectionWatchDog::instance());
    return &watchDog;
}

// The timer exists before the names are set: setting them already asks for data, which stops
// the timer while the link is not ready.
RemoteConnectionWatchDog::RemoteConnectionWatchDog(ClientConnectionWatchDog* clientWatchDog,
                                                   int repollIntervalMs, QObject* parent)
    : QX8Control(parent)
{
    m_repollTimer.setInterval(repollIntervalMs);
    connect(&m_repollTimer, &QTimer::timeout, this, &RemoteConnectionWatchDog::onRepollTimeout);
    setPOName(QStringLiteral("NPO"));
    setSVName(QStringLiteral("Node\\SV\\DeviceName"));
    setEntityName(QStringLiteral("Kerberos"));
    setValueType(QString());
    connect(TCPAdaptor::instance(), &TCPAdaptor::disconnected, this,
            &RemoteConnectionWatchDog::onDisconnected);
    connect(clientWatchDog, &ClientConnectionWatchDog::connectionLost, this,
            &RemoteConnectionWatchDog::onClientConnectionLost);
    if (QCoreApplication* application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, &m_repollTimer, &QTimer::stop);
}

RemoteConnectionWatchDog::~RemoteConnectionWatchDog()
{
    m_repollTimer.stop();
}

void RemoteConnectionWatchDog::onVimbalReady()
{
    qInfo() << "VimbalReady: starting watchdog...";
    setProperty("connectionAvailable", true);
    m_unanswered = 0;
    m_repollTimer.start();
}

void RemoteConnectionWatchDog::onRepollTimeout()
{
    // A device busy reconfiguring may be slow to answer.
    if (AppBusyFlag::isBusy())
        m_unanswered = 0;
    if (m_unanswered >= kMissedAnswersLimit) {
        onDeviceSilent();
        return;
    }
    sendDataRequest();
}

void RemoteConnectionWatchDog::sendDataRequest()
{
    if (hasNames() && TCPAdaptor::instance()->Ready()) {
        sendRequest(QStringLiteral("get"));
        ++m_unanswered;
    } else {
        m_repollTimer.stop();
    }
}

// Any answer on the watched variable shows that the device is alive; nothing else is kept.
void RemoteConnectionWatchDog::onDataAvailable(DataFromDevice data)
{
    Q_UNUSED(data)
    m_unanswered = 0;
}

void RemoteConnectionWatchDog::onDeviceSilent()
{
    qWarning() << "Device did not answer" << m_unanswered << "keep-alive requests: connection lost";
    TCPAdaptor::instance()->doDisconnect();
    onConnectionLost();
}

void RemoteConnectionWatchDog::onConnectionLost()
{
    m_repollTimer.stop();
    QX8Control::onConnectionLost();
}

void RemoteConnectionWatchDog::onDisconnected()
{
    m_repollTimer.stop();
}

void RemoteConnectionWatchDog::onClientConnectionLost()
{
    m_repollTimer.stop();
}
