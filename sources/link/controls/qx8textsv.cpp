#include "qx8textsv.h"

#include "appbusyflag.h"
#include "tcpadaptor.h"

#include <QLoggingCategory>

QX8TextSV::QX8TextSV(QObject* parent) : QX8Control(parent)
{
    setEntityName(QStringLiteral("TSV"));
    connect(this, &QX8TextSV::valueChanged, this, &QX8TextSV::onValueChanged);
}

QX8TextSV::~QX8TextSV() = default;

void QX8TextSV::setValue(const QString& value)
{
    if (value == m_value)
        return;
    m_value = value;
    Q_EMIT valueChanged(m_value);
}

// A value shown from the device, or shown for a write on its way, is not written again.
void QX8TextSV::onValueChanged(QString data)
{
    qDebug() << Q_FUNC_INFO << data;
    if (data != (m_showsWrites ? latestValue() : m_lastDeviceValue))
        sendRequest(QStringLiteral("set"), QString(), m_value);
}

void QX8TextSV::setValueWithoutFeedback(const QString& a)
{
    m_throttle.offer(a);
    showLatest();
}

void QX8TextSV::onThrottleTimeOut()
{
    sendRequest(QStringLiteral("set"), QString(), m_throttle.pending());
    showLatest();
}

QString QX8TextSV::latestValue() const
{
    if (m_throttle.isOpen())
        return m_throttle.pending();
    return unansweredWrite().value_or(m_lastDeviceValue);
}

void QX8TextSV::showLatest()
{
    if (!m_showsWrites)
        return;
    setPending(m_throttle.isOpen() || unansweredWrite().has_value());
    setValue(latestValue());
}

// One read at a time. A read the link would drop (not logged in, or busy) does not lock the
// object; one lost on the way is forgiven at the next login, loss or end of a busy period.
void QX8TextSV::requestValue()
{
    if (!m_requestAllowed)
        return;
    if (TCPAdaptor::instance()->Ready() && !AppBusyFlag::isBusy())
        m_requestAllowed = false;
    m_value.clear();
    sendRequest(QStringLiteral("asyncget"));
}

void QX8TextSV::cancelSubscription()
{
    setSubscriptionWanted(false);
    sendRequest(QStringLiteral("unsub"));
}

// The one way back from cancelSubscription(): re-subscriptions (the device's unsubr, a login,
// the end of a busy period) follow only a wanted subscription.
void QX8TextSV::subscribe()
{
    setSubscriptionWanted(true);
    sendDataRequest();
}

void QX8TextSV::forgetValue()
{
    m_lastDeviceValue.clear();
    setValue(QString());
}

void QX8TextSV::sendDataRequest()
{
    sendSubscription(isMeter() ? QStringLiteral("asyncget") : QStringLiteral("sub"), QString());
}

void QX8TextSV::onResendDataRequest(bool send)
{
    if (send)
        m_requestAllowed = true;
    if (!send || !TCPAdaptor::instance()->Ready() || !hasNames() || !subscriptionWanted())
        return;
    qDebug().noquote() << "resubscribing to " + poName() + ":" + svName();
    sendDataRequest();
}

void QX8TextSV::onVimbalReady()
{
    m_requestAllowed = true;
    QX8Control::onVimbalReady();
}

void QX8TextSV::onConnectionLost()
{
    m_requestAllowed = true;
    QX8Control::onConnectionLost();
}

void QX8TextSV::handleDataAvailable(DataFromDevice data)
{
    qDebug() << Q_FUNC_INFO << data.svName << data.value;
    if (data.command == QLatin1String("unsubr"))
        return;
    m_lastDeviceValue = data.value;
    if (m_showsWrites)
        showLatest();
    else
        setValue(data.value);
    m_requestAllowed = true;
}
