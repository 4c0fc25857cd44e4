#include "qx8numericalsv.h"

#include "valuetext.h"

#include <cmath>

QX8NumericalSV::QX8NumericalSV(QObject* parent) : QX8Control(parent)
{
    setEntityName(QStringLiteral("NSV"));
    connect(this, &QX8NumericalSV::valueChanged, this, &QX8NumericalSV::onValueChanged);
}

QX8NumericalSV::~QX8NumericalSV() = default;

void QX8NumericalSV::setValue(const float& value)
{
    if (value == m_value)
        return;
    m_value = value;
    Q_EMIT valueChanged(m_value);
}

// The value written is at the variable's resolution. Inside a throttle window the latest
// choice wins, even a return to the value the variable is headed for.
void QX8NumericalSV::setValueWithoutFeedback(const float& a)
{
    if (!std::isfinite(a))
        return;
    const float value = float(atResolution(a, QString()));
    if (!m_throttle.isOpen() && value == latestValue())
        return;
    m_throttle.offer(value);
    showLatest();
}

void QX8NumericalSV::onThrottleTimeOut()
{
    sendRequest(QStringLiteral("set"), QString(), QString::number(m_throttle.pending(), 'g', 6));
    showLatest();
}

float QX8NumericalSV::latestValue() const
{
    if (m_throttle.isOpen())
        return m_throttle.pending();
    if (const std::optional<QString> written = unansweredWrite())
        return parseDeviceValue(*written).value_or(m_lastDeviceValue);
    return m_lastDeviceValue;
}

void QX8NumericalSV::showLatest()
{
    if (!m_showsWrites)
        return;
    setPending(m_throttle.isOpen() || unansweredWrite().has_value());
    setValue(latestValue());
}

void QX8NumericalSV::onValueChanged(float data)
{
    Q_UNUSED(data)
}

// A text that holds no number reads 0.
std::optional<float> QX8NumericalSV::parseDeviceValue(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    return float(ValueText::number(text).value_or(0.0));
}

void QX8NumericalSV::handleDataAvailable(DataFromDevice data)
{
    if (data.command == QLatin1String("unsubr"))
        return;
    const std::optional<float> parsed = parseDeviceValue(data.value);
    if (!parsed)
        return;
    m_lastDeviceValue = *parsed;
    if (m_showsWrites)
        showLatest();
    else
        setValue(*parsed);
}
