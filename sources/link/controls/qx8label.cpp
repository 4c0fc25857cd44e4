#include "qx8label.h"

QX8Label::QX8Label(QObject* parent) : QX8Control(parent) {}

void QX8Label::setLabelValue(const QString& labelValue)
{
    if (labelValue == m_labelValue)
        return;
    m_labelValue = labelValue;
    Q_EMIT labelValueChanged(m_labelValue);
}

void QX8Label::handleDataAvailable(DataFromDevice data)
{
    if (data.command == QLatin1String("unsubr"))
        return;
    setLabelValue(data.value);
}
