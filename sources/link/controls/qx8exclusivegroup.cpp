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

void QX8ExclusiveGroup::handleDataAvailable(DataFromDevice data)
{
    m_lastDeviceValue = data.value;
    setSelectedValue(data.value);
}

void QX8ExclusiveGroup::OnSelectedValueChanged(QString string)
{
    if (string != m_lastDeviceValue && !m_lastDeviceValue.isEmpty())
        sendRequest(QStringLiteral("set"), QString(), QLatin1Char('"') + string + QLatin1Char('"'));
}
