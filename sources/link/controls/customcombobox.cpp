#include "customcombobox.h"

CustomComboBox::CustomComboBox(QObject* parent) : QX8Control(parent) {}

CustomComboBox::~CustomComboBox()
{
    sendRequest(QStringLiteral("unsub"));
}

void CustomComboBox::setValueWithoutFeedback(const QString& value)
{
    if (value == m_deviceSvValue)
        return;
    sendRequest(QStringLiteral("set"), QString(), QLatin1Char('"') + value + QLatin1Char('"'));
}

// Every reply is announced, so that a screen whose own choice was refused shows the device's.
void CustomComboBox::handleDataAvailable(DataFromDevice data)
{
    if (data.command == QLatin1String("get"))
        return;
    m_deviceSvValue = data.value;
    Q_EMIT deviceSvValueChanged(m_deviceSvValue);
}
