#include "qx8label.h"

#include "boundvariable.h"
#include "devicevaluetext.h"

QX8Label::QX8Label(QObject* parent) : QX8Control(parent) {}

void QX8Label::setLabelValue(const QString& labelValue)
{
    show(labelValue);
}

void QX8Label::show(const QString& text)
{
    if (text == m_labelValue)
        return;
    m_labelValue = text;
    Q_EMIT labelValueChanged(m_labelValue);
}

QString QX8Label::shownWhileWritten(const QString& written) const
{
    return shownOf(DeviceValueText::of(boundVariable(poName(), svName()), written))
        .value_or(m_labelValue);
}

void QX8Label::showLatest()
{
    const std::optional<QString> written = unansweredWrite(valueType());
    setPending(written.has_value());
    show(written ? shownWhileWritten(*written) : m_deviceShown);
}

// A reply to an earlier write is kept for when the device has answered every write.
void QX8Label::handleDataAvailable(DataFromDevice data)
{
    if (data.command == QLatin1String("unsubr"))
        return;
    if (const std::optional<QString> shown = shownOf(data.value))
        m_deviceShown = *shown;
    showLatest();
}
