#include "qx8binaryled.h"

#include <QLoggingCategory>

namespace {

const char* boolText(bool value)
{
    return value ? "true" : "false";
}

} // namespace

QX8BinaryLED::QX8BinaryLED(QObject* parent) : QX8Control(parent) {}

void QX8BinaryLED::setActiveState(const bool& activeState)
{
    qDebug().nospace().noquote() << Q_FUNC_INFO << " " << boolText(activeState)
                                 << ", m_ActiveState = " << boolText(m_activeState);
    if (activeState == m_activeState)
        return;
    m_activeState = activeState;
    Q_EMIT activeStateChanged(m_activeState);
}

void QX8BinaryLED::handleDataAvailable(DataFromDevice data)
{
    if (data.command == QLatin1String("unsubr"))
        return;
    if (data.value == QLatin1String("On"))
        setActiveState(true);
    else if (data.value == QLatin1String("Off"))
        setActiveState(false);
}
