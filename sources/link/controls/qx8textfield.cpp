#include "qx8textfield.h"

#include "boundvariable.h"
#include "typednumber.h"

QX8TextField::QX8TextField(QObject* parent) : QX8Label(parent)
{
    connect(this, &QX8Label::labelValueChanged, this, &QX8TextField::onLabelValueChanged);
}

QX8TextField::~QX8TextField()
{
    sendRequest(QStringLiteral("unsub"));
}

void QX8TextField::setUnit(const QString& unit)
{
    m_unit = unit;
    QString emitted = m_unit;
    Q_EMIT unitChanged(emitted);
}

std::optional<QString> QX8TextField::partInUnit(const QString& valueText, const QString& unit)
{
    const QStringList parts = valueText.split(QLatin1Char('/'));
    for (const QString& part : parts) {
        if (part.right(unit.size()) == unit)
            return part;
    }
    return std::nullopt;
}

QString QX8TextField::withUnit(const QString& text) const
{
    return text.right(m_unit.size()) == m_unit ? text : text + m_unit;
}

// Text typed on the screen goes out through the link's line guard like any other value.
void QX8TextField::write(const QString& value)
{
    if (value != m_lastDeviceValue)
        sendRequest(QStringLiteral("set"), QString(), value);
}

void QX8TextField::onLabelValueChanged(QString data)
{
    write(withUnit(data));
}

QString QX8TextField::writeTyped(const QString& text)
{
    const DeviceModel::Variable* variable = boundVariable(poName(), svName());
    if (!variable || variable->kind != DeviceModel::Kind::Number) {
        write(withUnit(text));
        return QString();
    }
    const TypedNumber::Reading reading = TypedNumber::read(*variable, m_unit, text);
    if (reading.written)
        write(*reading.written);
    return reading.refusal;
}

// Unlike the base filter this keeps `setr`: the device's acknowledgement carries the value it
// accepted.
void QX8TextField::onDataAvailable(DataFromDevice data)
{
    if (!hasNames() || data.poName != poName() || data.valueType != valueType() ||
        data.svName != svName())
        return;
    if (data.command == QLatin1String("unsubr") && !isDestroying() && subscriptionWanted())
        sendDataRequest();
    handleDataAvailable(data);
}

void QX8TextField::handleDataAvailable(DataFromDevice data)
{
    if (data.command == QLatin1String("unsubr"))
        return;
    const std::optional<QString> part = partInUnit(data.value, m_unit);
    if (!part)
        return;
    m_lastDeviceValue = *part;
    setLabelValue(*part);
}
