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

// Text typed on the screen goes out through the link's line guard like any other value, and
// stays shown (`shown`) while the link awaits the device's answer. The device's own value is
// not written again, unless another value of this field is still on its way.
void QX8TextField::write(const QString& value, const QString& shown)
{
    if (value == m_lastDeviceValue && !isPending())
        return;
    sendRequest(QStringLiteral("set"), QString(), value);
    if (!unansweredWrite())
        return; // not logged in: nothing awaits an answer
    m_pendingText = shown;
    setPending(true);
    setLabelValue(shown);
}

void QX8TextField::onLabelValueChanged(QString data)
{
    if (isPending() && data == m_pendingText)
        return; // shown for the write on its way
    write(withUnit(data), data);
}

QString QX8TextField::writeTyped(const QString& text)
{
    QString number = text.trimmed();
    if (!m_unit.isEmpty() && number.endsWith(m_unit))
        number = number.chopped(m_unit.size()).trimmed();
    const QString shown = number + m_unit;
    const DeviceModel::Variable* variable = boundVariable(poName(), svName());
    if (!variable || variable->kind != DeviceModel::Kind::Number) {
        write(withUnit(text), shown);
        return QString();
    }
    const TypedNumber::Reading reading = TypedNumber::read(*variable, m_unit, text);
    if (reading.written)
        write(*reading.written, shown);
    return reading.refusal;
}

// A value the field wrote stays until the device has answered every write to the variable: an
// answer to an earlier one is kept for then.
void QX8TextField::handleDataAvailable(DataFromDevice data)
{
    if (data.command == QLatin1String("unsubr"))
        return;
    const std::optional<QString> part = partInUnit(data.value, m_unit);
    if (!part)
        return;
    m_lastDeviceValue = *part;
    if (!isPending() || !unansweredWrite())
        showDeviceValue();
}

// Ends the pending look first, so that the device's value shown is not written back.
void QX8TextField::showDeviceValue()
{
    setPending(false);
    setLabelValue(m_lastDeviceValue);
}

// Writes that ended with no answer bring no value: the one heard last stands.
void QX8TextField::writesChanged()
{
    if (isPending() && !unansweredWrite())
        showDeviceValue();
}
