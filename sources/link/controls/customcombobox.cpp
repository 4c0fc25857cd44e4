#include "customcombobox.h"

CustomComboBox::CustomComboBox(QObject* parent) : QX8Control(parent) {}

CustomComboBox::~CustomComboBox()
{
    sendRequest(QStringLiteral("unsub"));
}

// The value shown is the device's or the newest pick on its way: picking it again changes
// nothing.
void CustomComboBox::setValueWithoutFeedback(const QString& value)
{
    if (value == m_deviceSvValue)
        return;
    sendRequest(QStringLiteral("set"), QString(), QLatin1Char('"') + value + QLatin1Char('"'));
}

// Every reply of the device's value is announced, so that a screen whose own choice was refused
// shows the device's.
void CustomComboBox::handleDataAvailable(DataFromDevice data)
{
    if (data.command == QLatin1String("get"))
        return;
    m_lastDeviceValue = data.value;
    showLatest(true);
}

void CustomComboBox::showLatest(bool announceUnchanged)
{
    const std::optional<QString> written = unansweredWrite();
    setPending(written.has_value());
    const QString shown = written.value_or(m_lastDeviceValue);
    if (shown == m_deviceSvValue && (written || !announceUnchanged))
        return;
    m_deviceSvValue = shown;
    Q_EMIT deviceSvValueChanged(m_deviceSvValue);
}
