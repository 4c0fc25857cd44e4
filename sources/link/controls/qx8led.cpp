#include "qx8led.h"

QX8LED::QX8LED(QObject* parent) : QX8PolledControl(QStringLiteral("Clip"), parent) {}

void QX8LED::setValue(const QString& value)
{
    if (value == m_value)
        return;
    m_value = value;
    Q_EMIT valueChanged(m_value);
}
