#include "fader.h"

#include "piecewisescale.h"
#include "valuetext.h"

#include <QLoggingCategory>
#include <algorithm>
#include <cmath>

Fader::Fader(QObject* parent) : QX8Control(parent)
{
    setEntityName(QStringLiteral("Fader"));
    setValueType(QString());
}

Fader::~Fader() = default;

void Fader::setFaderValue(double value)
{
    if (value == m_faderValue)
        return;
    m_faderValue = value;
    Q_EMIT faderValueChanged(m_faderValue);
}

bool Fader::isPercent() const
{
    return valueType() == QLatin1String("%");
}

std::optional<double> Fader::valueForPosition(double position) const
{
    if (!std::isfinite(position))
        return std::nullopt;
    if (isPercent())
        return position;
    const PiecewiseScale scale(m_rangeBoundaryValues, m_rangeLengthsInPercentage);
    if (scale.isUsable())
        return scale.valueAt(position);
    if (m_maximum == m_minimum)
        return std::nullopt;
    const double value = m_minimum + position / 100.0 * (m_maximum - m_minimum);
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> Fader::positionForValue(double value) const
{
    if (!std::isfinite(value))
        return std::nullopt;
    if (isPercent())
        return value;
    const PiecewiseScale scale(m_rangeBoundaryValues, m_rangeLengthsInPercentage);
    if (scale.isUsable())
        return scale.positionOf(value);
    if (m_maximum == m_minimum)
        return std::nullopt;
    const double position = (value - m_minimum) * 100.0 / (m_maximum - m_minimum);
    return std::isfinite(position) ? std::optional<double>(position) : std::nullopt;
}

// The value written is at the variable's resolution. Inside a throttle window the latest
// position wins, even a return to the shown one (the newest written, else the device's).
void Fader::setValueWithoutFeedback(double value)
{
    if (!(value >= 0 && value <= 100))
        return;
    if (!m_throttle.isOpen() && value == m_faderValue)
        return;
    const std::optional<double> native = valueForPosition(value);
    if (!native) {
        qWarning() << "Fader" << poName() << svName() << "has no scale for position" << value;
        return;
    }
    m_throttle.offer(atResolution(*native, valueType()));
    showLatest();
}

double Fader::steppedPosition(double position, int steps) const
{
    if (isPercent())
        return std::clamp(steppedByResolution(position, steps, valueType()), 0.0, 100.0);
    const std::optional<double> native = valueForPosition(position);
    if (!native)
        return position;
    const std::optional<double> stepped =
        positionForValue(steppedByResolution(*native, steps, valueType()));
    return stepped ? std::clamp(*stepped, 0.0, 100.0) : position;
}

void Fader::onThrottleTimeOut()
{
    sendRequest(QStringLiteral("set"), valueType(), QString::number(m_throttle.pending(), 'g', 6));
    showLatest();
}

std::optional<double> Fader::latestPosition() const
{
    if (m_throttle.isOpen())
        return positionForValue(m_throttle.pending());
    if (const std::optional<QString> written = unansweredWrite(valueType()))
        return positionForValue(ValueText::number(*written).value_or(0.0));
    return m_devicePosition;
}

void Fader::showLatest()
{
    setPending(m_throttle.isOpen() || unansweredWrite(valueType()).has_value());
    const std::optional<double> position = latestPosition();
    if (position && *position != m_faderValue) {
        m_faderValue = *position;
        Q_EMIT faderValueChanged(m_faderValue);
    }
}

void Fader::handleDataAvailable(DataFromDevice data)
{
    if (data.command == QLatin1String("get") || data.command == QLatin1String("unsubr"))
        return;
    const std::optional<double> position =
        positionForValue(ValueText::number(data.value).value_or(0.0));
    if (!position)
        return;
    m_devicePosition = position;
    showLatest();
}
