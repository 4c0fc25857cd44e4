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
    m_silentIntervals = 0;
    m_repliesSeen = TCPAdaptor::instance()->requests().repliesSeen();
    m_repollTimer.start();
}

// An interval is silent when requests were waiting for answers and none came back.
void RemoteConnectionWatchDog::onRepollTimeout()
{
    const RequestWindow& requests = TCPAdaptor::instance()->requests();
    const bool heard = requests.repliesSeen() != m_repliesSeen;
    m_repliesSeen = requests.repliesSeen();
    // A device busy reconfiguring may be slow to answer.
    if (heard || AppBusyFlag::isBusy())
        m_silentIntervals = 0;
    else if (requests.awaitingAnswers() > 0)
        ++m_silentIntervals;
    if (m_silentIntervals >= kMissedAnswersLimit) {
        onDeviceSilent();
        return;
    }
    sendDataRequest();
}

void RemoteConnectionWatchDog::sendDataRequest()
{
    TCPAdaptor* link = TCPAdaptor::instance();
    if (!hasNames() || !link->Ready())
        m_repollTimer.stop();
    else if (!link->requests().isPending(this))
        sendRequest(QStringLiteral("get"));
}

// The keep-alive's answer counts among all replies; nothing else is kept.
void RemoteConnectionWatchDog::onDataAvailable(DataFromDevice data)
{
    Q_UNUSED(data)
}

void RemoteConnectionWatchDog::onDeviceSilent()
{
    qWarning() << "Device sent nothing for" << m_silentIntervals
               << "keep-alive intervals: connection lost";
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
