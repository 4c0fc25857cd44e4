#include "qx8polledcontrol.h"

#include "appbusyflag.h"
#include "tcpadaptor.h"

#include <QLoggingCategory>

QX8PolledControl::QX8PolledControl(const QString& entityName, QObject* parent) : QX8Control(parent)
{
    setIsMeter(true);
    connect(&m_cadence, &PollCadence::tick, this, &QX8PolledControl::onVimbalReady);
    setEntityName(entityName);
    setValueType(QString());
}

QX8PolledControl::~QX8PolledControl() = default;

void QX8PolledControl::onVimbalReady()
{
    sendDataRequest();
}

// Polls go out only while they can be answered: without names or link, and during a busy
// period (whose polls the link drops), polling pauses until the next trigger.
void QX8PolledControl::sendDataRequest()
{
    if (!hasNames() || !TCPAdaptor::instance()->Ready() || AppBusyFlag::isBusy()) {
        m_cadence.pause();
        return;
    }
    TCPAdaptor* link = TCPAdaptor::instance();
    if (!m_cadence.shouldSend([&] { return link->requests().isPending(this); }))
        return;
    if (const ConsoleRequest* poll = preparedPoll())
        link->SendPoll(*poll);
    m_cadence.sent();
}

const ConsoleRequest* QX8PolledControl::preparedPoll()
{
    const QString type = pollValueType();
    if (!m_poll || m_poll->poName != poName() || m_poll->svName != svName() || m_pollType != type) {
        m_poll =
            ConsoleRequest::make({poName(), svName(), type, QString(), QStringLiteral("asyncget")},
                                 this, ConsoleRequest::Priority::Poll);
        m_pollType = type;
    }
    return m_poll ? &*m_poll : nullptr;
}

// A poll outstanding when the busy period began was dropped by the link: poll again at once.
void QX8PolledControl::onResendDataRequest(bool send)
{
    if (!send || !TCPAdaptor::instance()->Ready() || !hasNames())
        return;
    qDebug().noquote() << "resubscribing to " + poName() + ":" + svName();
    m_cadence.forgetOutstanding();
    sendDataRequest();
}

void QX8PolledControl::onDataAvailable(DataFromDevice data)
{
    if (!hasNames() || data.poName != poName() || data.svName != svName() ||
        data.valueType != valueType() || data.command == QLatin1String("unsubr"))
        return;
    takeReplyValue(data.value);
    m_cadence.answered();
}
