#include "qx8textfield.h"

#include "boundvariable.h"
#include "typednumber.h"

QX8TextField::QX8TextField(QObject* parent) : QX8Label(parent) {}

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

void QX8TextField::setLabelValue(const QString& labelValue)
{
    write(withUnit(labelValue), labelValue);
}

// Text typed on the screen goes out through the link's line guard like any other value, and
// stays shown (`shown`) while the link awaits the device's answer. The device's own value is
// not written again, unless another value is still on its way.
void QX8TextField::write(const QString& value, const QString& shown)
{
    if (value == labelValue() && !isPending())
        return;
    sendRequest(QStringLiteral("set"), QString(), value);
    if (unansweredWrite() != value)
        return; // not sent: not logged in, or refused by the line guard
    m_ownWrite = OwnWrite{value, shown};
    showLatest();
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

std::optional<QString> QX8TextField::shownOf(const QString& valueText) const
{
    return partInUnit(valueText, m_unit);
}

QString QX8TextField::shownWhileWritten(const QString& written) const
{
    if (m_ownWrite && m_ownWrite->value == written)
        return m_ownWrite->shown;
    return QX8Label::shownWhileWritten(written);
}
