#include "qx8slider.h"

#include "tcpadaptor.h"
#include "valuetext.h"

#include <QLoggingCategory>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Ratios 1:1 to 40:1 as device percent of the ratio variable's range, and its end.
std::array<float, QX8Slider::kRatioSteps> buildRatioTable()
{
    std::array<float, QX8Slider::kRatioSteps> table{};
    int i = 0;
    const auto add = [&](float ratio) { table[i++] = (ratio - 1.0f) / 99.0f * 100.0f; };
    for (int k = 0; k <= 10; ++k)
        add(1.0f + k * 0.1f);
    for (int k = 1; k <= 10; ++k)
        add(2.0f + k * 0.2f);
    for (int r = 5; r <= 15; ++r)
        add(float(r));
    for (int r = 20; r <= 40; r += 5)
        add(float(r));
    table[i] = 100.0f;
    return table;
}

const std::array<float, QX8Slider::kRatioSteps>& ratioTable()
{
    static const std::array<float, QX8Slider::kRatioSteps> table = buildRatioTable();
    return table;
}

bool differs(float a, float b)
{
    return a != b || std::isnan(a) || std::isnan(b);
}

} // namespace

QX8Slider::QX8Slider(QObject* parent) : QX8Control(parent)
{
    setValueType(QStringLiteral("%"));
    setEntityName(QStringLiteral("Slider"));
    connect(this, &QX8Slider::stringPropertyChanged, this, &QX8Slider::onStringPropertyChanged);
}

QX8Slider::~QX8Slider() = default;

float QX8Slider::ratioTableEntry(int step)
{
    return ratioTable().at(std::clamp(step, 0, kRatioSteps - 1));
}

void QX8Slider::setStringProperty(const float& value)
{
    if (value == m_stringProperty)
        return;
    m_stringProperty = value;
    Q_EMIT stringPropertyChanged(m_stringProperty);
}

// A position set from outside (not from the slider's own showing) is written at once, mapped
// like a drag.
void QX8Slider::onStringPropertyChanged(float data)
{
    if (data == latestPosition())
        return;
    writePosition(m_stringProperty);
}

// A position stands for a value at the variable's resolution (a ratio slider's for a step of
// its table). Inside a throttle window the latest position wins, even a return to the shown one.
void QX8Slider::setValueWithoutFeedback(const float& a)
{
    if (!std::isfinite(a))
        return;
    const float position = m_ratioSlider ? a : float(atResolution(a, valueType()));
    if (!m_throttle.isOpen() && position == latestPosition())
        return;
    m_throttle.offer(position);
    showLatest();
}

float QX8Slider::steppedPosition(float position, int steps) const
{
    if (!m_ratioSlider)
        return float(steppedByResolution(position, steps, valueType()));
    const float step = 100.0f / (kRatioSteps - 1);
    return std::clamp(position + float(steps) * step, 0.0f, 100.0f);
}

void QX8Slider::onThrottleTimeOut()
{
    writePosition(m_throttle.pending());
    showLatest();
}

float QX8Slider::latestPosition() const
{
    if (m_throttle.isOpen())
        return m_throttle.pending();
    if (const std::optional<QString> written = unansweredWrite(valueType()))
        return positionOfReply(*written, valueType()).value_or(m_lastDeviceValue);
    return m_lastDeviceValue;
}

// Before the device has reported a value and while nothing is written there is none to show.
void QX8Slider::showLatest()
{
    setPending(m_throttle.isOpen() || unansweredWrite(valueType()).has_value());
    const float position = latestPosition();
    if (std::isnan(position) || !differs(position, m_stringProperty))
        return;
    m_stringProperty = position;
    Q_EMIT stringPropertyChanged(m_stringProperty);
}

QString QX8Slider::valueTextForPosition(float position) const
{
    if (!m_ratioSlider)
        return QString::number(position, 'g', 6);
    // Step i shows at i / 37 x 100, which float arithmetic may carry just below i: a position
    // within a ten-thousandth of a step of the next one is that step, so that every shown
    // position writes its own step.
    const double steps = double(position) * (kRatioSteps - 1) / 100.0;
    const double step = std::clamp(std::floor(steps + 1e-4), 0.0, double(kRatioSteps - 1));
    return QString::number(ratioTableEntry(int(step)), 'g', 6);
}

void QX8Slider::writePosition(float position)
{
    if (!std::isfinite(position)) {
        qWarning() << "Slider position" << position << "not written for" << poName() << svName();
        return;
    }
    sendRequest(QStringLiteral("set"), valueType(), valueTextForPosition(position));
}

std::optional<float> QX8Slider::positionOfReply(const QString& text,
                                                const QString& replyValueType) const
{
    // A reply without a value (the end of a subscription) shows no position.
    if (text.isEmpty())
        return std::nullopt;
    if (replyValueType == QLatin1String("%")) {
        // With or without its sign: a bare "45" is 45, not the 4 left after dropping a digit.
        const float percent = float(ValueText::number(text).value_or(0.0));
        if (!m_ratioSlider)
            return percent;
        for (int i = 0; i < kRatioSteps; ++i) {
            if (ratioTableEntry(i) + 0.0001f >= percent)
                return i / float(kRatioSteps - 1) * 100.0f;
        }
        return kRatioSteps / float(kRatioSteps - 1) * 100.0f;
    }
    if (text == QLatin1String("Inf"))
        return 70.0f;
    if (text.contains(QLatin1String("Off")))
        return 0.0f;
    return float(ValueText::number(text).value_or(0.0));
}

void QX8Slider::handleDataAvailable(DataFromDevice data)
{
    if (data.command == QLatin1String("get"))
        return;
    const std::optional<float> position = positionOfReply(data.value, data.valueType);
    if (!position)
        return;
    m_lastDeviceValue = *position;
    showLatest();
}

// The subscription uses the path form the replies are matched on, so that the replies reach
// the slider and the unsubscription ends the same subscription.
void QX8Slider::sendDataRequest()
{
    if (hasNames() && TCPAdaptor::instance()->Ready())
        sendSubscription(QStringLiteral("sub"), valueType());
}

void QX8Slider::sendUnSubRequest()
{
    sendRequest(QStringLiteral("unsub"), valueType());
}

void QX8Slider::onVimbalReady()
{
    if (subscriptionWanted())
        sendDataRequest();
}
