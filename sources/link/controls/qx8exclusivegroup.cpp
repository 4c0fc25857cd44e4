#include "qx8exclusivegroup.h"

QX8ExclusiveGroup::QX8ExclusiveGroup(QObject* parent) : QX8Control(parent)
{
    connect(this, &QX8ExclusiveGroup::selectedValueChanged, this,
            &QX8ExclusiveGroup::OnSelectedValueChanged);
}

QX8ExclusiveGroup::~QX8ExclusiveGroup()
{
    sendRequest(QStringLiteral("unsub"));
}

void QX8ExclusiveGroup::setSelectedValue(const QString& selectedValue)
{
    if (selectedValue == m_selectedValue)
        return;
    m_selectedValue = selectedValue;
    Q_EMIT selectedValueChanged(m_selectedValue);
}

// The newest selection on its way, else the device's.
QString QX8ExclusiveGroup::latestValue() const
{
    return unansweredWrite().value_or(m_lastDeviceValue);
}

void QX8ExclusiveGroup::handleDataAvailable(DataFromDevice data)
{
    m_lastDeviceValue = data.value;
    showLatest();
}

void QX8ExclusiveGroup::showLatest()
{
    const std::optional<QString> written = unansweredWrite();
    setPending(written.has_value());
    setSelectedValue(written.value_or(m_lastDeviceValue));
}

// What the group shows itself is the latest value already: only a selection made on the screen
// differs from it.
void QX8ExclusiveGroup::OnSelectedValueChanged(QString string)
{
    if (string != latestValue() && !m_lastDeviceValue.isEmpty())
        sendRequest(QStringLiteral("set"), QString(), QLatin1Char('"') + string + QLatin1Char('"'));
}
