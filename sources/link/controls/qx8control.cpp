#include "qx8control.h"

#include "appbusyflag.h"
#include "boundvariable.h"
#include "tcpadaptor.h"
#include "valueresolution.h"

#include <algorithm>

QX8Control::QX8Control(QObject* parent) : QObject(parent)
{
    TCPAdaptor* link = TCPAdaptor::instance();
    connect(link, &TCPAdaptor::vimbalReady, this, &QX8Control::onVimbalReady);
    connect(link, &TCPAdaptor::connectionLost, this, &QX8Control::onConnectionLost);
    connect(AppBusyFlag::instance(), &AppBusyFlag::resendDataRequest, this,
            &QX8Control::onResendDataRequest);
}

// What the control asked for and has not yet sent is taken back (a page left before its values
// came); its writes still land.
QX8Control::~QX8Control()
{
    TCPAdaptor* link = TCPAdaptor::instance();
    link->replyRouter().unbind(this, m_poName, m_svName);
    link->requests().cancel(this);
    QX8Control::sendUnSubRequest();              // the base's, never a subclass's
    link->requests().releaseSubscriptions(this); // of names it was bound to before
    m_destroying = true;
}

void QX8Control::setPOName(const QString& poName)
{
    if (!rename(m_poName, poName))
        return;
    Q_EMIT poNameChanged(m_poName);
    sendDataRequest();
}

void QX8Control::setSVName(const QString& svName)
{
    if (!rename(m_svName, svName))
        return;
    Q_EMIT svNameChanged(m_svName);
    sendDataRequest();
}

// Stores a changed name and moves the control's entry in the reply index with it.
bool QX8Control::rename(QString& name, const QString& newName)
{
    if (newName == name)
        return false;
    ReplyRouter& router = TCPAdaptor::instance()->replyRouter();
    router.unbind(this, m_poName, m_svName);
    name = newName;
    router.bind(this, m_poName, m_svName);
    return true;
}

void QX8Control::setEntityName(const QString& entityName)
{
    if (entityName == m_entityName)
        return;
    m_entityName = entityName;
    Q_EMIT entityNameChanged(m_entityName);
}

void QX8Control::setValueType(const QString& valueType)
{
    m_valueType = valueType;
    Q_EMIT valueTypeChanged(m_valueType);
}

void QX8Control::setIsMeter(bool isMeter)
{
    if (isMeter == m_isMeter)
        return;
    m_isMeter = isMeter;
    Q_EMIT isMeterChanged(m_isMeter);
}

void QX8Control::componentCompleted()
{
    sendDataRequest();
}

double QX8Control::atResolution(double value, const QString& valueType) const
{
    const DeviceModel::Variable* variable = boundVariable(m_poName, m_svName);
    if (!variable || variable->kind != DeviceModel::Kind::Number)
        return value;
    const ValueResolution resolution(variable->steps);
    if (valueType != QLatin1String("%"))
        return resolution.rounded(value);
    const double span = variable->maximum - variable->minimum;
    const double native = resolution.rounded(variable->minimum + value / 100.0 * span);
    return (native - variable->minimum) / span * 100.0;
}

double QX8Control::steppedByResolution(double value, int steps, const QString& valueType) const
{
    const DeviceModel::Variable* variable = boundVariable(m_poName, m_svName);
    if (!variable || variable->kind != DeviceModel::Kind::Number)
        return value;
    const bool percent = valueType == QLatin1String("%");
    const double span = variable->maximum - variable->minimum;
    if (percent && span <= 0)
        return value;
    const ValueResolution resolution(variable->steps);
    double native = percent ? variable->minimum + value / 100.0 * span : value;
    const int direction = steps < 0 ? -1 : 1;
    for (int taken = 0; taken != steps; taken += direction)
        native = resolution.rounded(native + direction * resolution.stepAt(native));
    native = std::clamp(native, variable->minimum, variable->maximum);
    return percent ? (native - variable->minimum) / span * 100.0 : native;
}

void QX8Control::sendRequest(const QString& command, const QString& valueType,
                             const QString& value) const
{
    TCPAdaptor::instance()->SendRequest({m_poName, m_svName, valueType, value, command}, this);
}

void QX8Control::sendSubscription(const QString& command, const QString& valueType)
{
    m_subscribedValueType = valueType;
    sendRequest(command, valueType);
}

std::optional<QString> QX8Control::unansweredWrite(const QString& valueType) const
{
    std::optional<QString> written = TCPAdaptor::instance()->requests().unansweredWrite(
        ConsoleRequest::targetOf(m_poName, m_svName, valueType));
    if (written && written->size() >= 2 && written->startsWith(QLatin1Char('"')) &&
        written->endsWith(QLatin1Char('"')))
        *written = written->mid(1, written->size() - 2);
    return written;
}

void QX8Control::setPending(bool pending)
{
    if (pending == m_pending)
        return;
    m_pending = pending;
    Q_EMIT pendingChanged(m_pending);
}

void QX8Control::sendDataRequest()
{
    if (hasNames() && TCPAdaptor::instance()->Ready() && !m_isMeter)
        sendSubscription(QStringLiteral("sub"), m_valueType);
}

void QX8Control::sendUnSubRequest()
{
    if (hasNames() && !m_isMeter)
        sendRequest(QStringLiteral("unsub"), m_subscribedValueType);
}

void QX8Control::receiveReply(const DataFromDevice& reply)
{
    onDataAvailable(reply);
    // Any reply carrying the variable in the control's value type counts; an ended subscription
    // and the writer's own acknowledgement carry no value.
    if (!m_hasDeviceValue && reply.valueType == m_valueType &&
        reply.command != QLatin1String("unsubr") && reply.command != QLatin1String("setr")) {
        m_hasDeviceValue = true;
        Q_EMIT hasDeviceValueChanged(true);
    }
}

void QX8Control::onDataAvailable(DataFromDevice data)
{
    if (!hasNames() || data.poName != m_poName || data.valueType != m_valueType ||
        data.svName != m_svName ||
        (data.command == QLatin1String("setr") && !takesAcknowledgements()))
        return;
    if (data.command == QLatin1String("unsubr") && !m_destroying && m_subscriptionWanted)
        sendDataRequest();
    handleDataAvailable(data);
}

void QX8Control::handleDataAvailable(DataFromDevice data)
{
    Q_UNUSED(data)
}

void QX8Control::onVimbalReady()
{
    if (m_subscriptionWanted)
        sendDataRequest();
    Q_EMIT vimbalReady();
}

void QX8Control::onResendDataRequest(bool send)
{
    Q_UNUSED(send)
}

void QX8Control::onConnectionLost()
{
    m_connectionAvailable = false;
    Q_EMIT connectionLost();
}
