#include "qx8button.h"

#include "nudgesteps.h"
#include "valuetext.h"

#include <QLoggingCategory>
#include <cmath>

QX8Button::QX8Button(QObject* parent) : QX8Control(parent)
{
    setEntityName(QStringLiteral("Button"));
    connect(this, &QX8Button::activeStateChanged, this, &QX8Button::onActiveStateChanged);
}

void QX8Button::setActiveState(bool activeState)
{
    if (activeState == m_activeState)
        return;
    m_activeState = activeState;
    Q_EMIT activeStateChanged(m_activeState);
}

void QX8Button::setButtonType(ButtonType buttonType)
{
    if (buttonType == m_buttonType)
        return;
    m_buttonType = buttonType;
    Q_EMIT buttonTypeChanged();
}

void QX8Button::setNudgeJsonData(const QString& nudgeJsonData)
{
    m_nudgeJsonData = nudgeJsonData;
}

void QX8Button::onActiveStateChanged(bool data)
{
    Q_UNUSED(data)
}

// The state shown is the newest written while the device has not answered it: the next click
// switches on from there.
void QX8Button::toggleValueWithoutFeedback()
{
    sendRequest(QStringLiteral("set"), QString(),
                m_activeState ? QStringLiteral("0") : QStringLiteral("1"));
}

// The binding moves through the listed names, each subscribed as it is bound (when it is a new
// name and the device is ready) and then written; it stays on the last. The link shares the
// subscriptions of the names other controls show, and ends those no one else wants once the
// button is gone.
void QX8Button::setMultipleSV(const QString& allSVName)
{
    for (const QString& name : allSVName.split(QLatin1Char(','))) {
        setSVName(name);
        sendRequest(QStringLiteral("set"), QString(), QStringLiteral("1"));
    }
}

std::optional<QString> QX8Button::nudgeText(float* value, const QString& svClass,
                                            const QString& poClass)
{
    if (poClass == QLatin1String("Compressor") && svClass == QLatin1String("Ratio") &&
        std::isinf(*value) && *value > 0) {
        *value = 200.0f;
        return QStringLiteral("200");
    }
    if (!std::isfinite(*value))
        return std::nullopt;
    const QString number = QString::number(*value, 'g', 6);
    if (poClass == QLatin1String("Delay") && svClass == QLatin1String("Amount"))
        return number + QStringLiteral("ms");
    if (poClass == QLatin1String("Nuq") && svClass == QLatin1String("LiftTime"))
        return number + QStringLiteral("s");
    return number;
}

namespace {

// An on/off state as the device reports it or a control writes it; none for any other text.
std::optional<bool> switchStateOf(const QString& text)
{
    if (text == QLatin1String("On") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("Off") || text == QLatin1String("0"))
        return false;
    return std::nullopt;
}

// A release time is nudged against the direction given.
bool reversesDirection(const QString& svClass)
{
    return svClass == QLatin1String("Release") || svClass == QLatin1String("LimRelease");
}

} // namespace

int QX8Button::bumpDirectionFor(int shownDirection, const QString& svClass) const
{
    return reversesDirection(svClass) ? -shownDirection : shownDirection;
}

// A write of text that holds no number (a field's, which the device will refuse) moves nothing.
float QX8Button::valueToNudge() const
{
    if (const std::optional<QString> written = unansweredWrite()) {
        if (const std::optional<double> value = ValueText::number(*written))
            return float(*value);
    }
    return m_deviceValue;
}

// A nudge moves the value the device last reported (or the newest write it has not answered
// yet); before the device has reported one there is nothing to move.
void QX8Button::onNudged(int bumpDirection, const QString& svClass, const QString& poClass)
{
    if (!m_hasNudgeValue) {
        qWarning() << "Nudge of" << poName() << svName() << "before the device reported a value";
        return;
    }
    const float from = valueToNudge();
    const int direction = reversesDirection(svClass) ? -bumpDirection : bumpDirection;
    if (const std::optional<QString> key =
            NudgeSteps::keyFor(poClass, svClass, m_nudgeJsonData, direction, double(from)))
        m_nudgeKey = *key;
    float nudged = from + float(direction) * NudgeSteps::step(m_nudgeKey);
    const std::optional<QString> text = nudgeText(&nudged, svClass, poClass);
    if (!text) {
        qWarning() << "Nudge of" << poName() << svName() << "gives no number:" << nudged;
        return;
    }
    sendRequest(QStringLiteral("set"), QString(), *text);
}

// The readings of particular objects come first; every other text is a number with its unit.
std::optional<float> QX8Button::nudgeValueOf(const QString& text, const QString& object,
                                             const QString& variable)
{
    if (object.contains(QLatin1String("Crossover")) &&
        variable.contains(QLatin1String("Frequency")) && text.contains(QLatin1String("Out"))) {
        if (variable.contains(QLatin1String("LPFrequency")))
            return 20100.0f;
        if (variable.contains(QLatin1String("HPFrequency")))
            return 15.9f;
        return std::nullopt;
    }
    if (object.contains(QLatin1String("Delay"))) {
        const QString first = text.split(QLatin1Char('/')).first();
        return first.endsWith(QLatin1String("ms")) ? first.chopped(2).toFloat() : 0.0f;
    }
    if (object.contains(QLatin1String("Nuq")) && variable.contains(QLatin1String("LiftTime"))) {
        const QStringList pieces = text.split(QLatin1Char(' '));
        const auto number = [&](int i) {
            return pieces.at(i).left(pieces.at(i).size() - 1).toFloat();
        };
        return pieces.size() == 1 ? number(0) : number(0) * 60.0f + number(1);
    }
    if (text.endsWith(QLatin1String("m ")))
        return text.chopped(2).toFloat() * 60.0f;
    return float(ValueText::number(text).value_or(0.0));
}

// A reply while a write to the variable awaits its answer tells of a value the nudges have
// moved on from, and an acknowledgement is followed by the update that reports the value: both
// are kept as the device's value, without a word (press-and-hold steps on the word).
void QX8Button::takeNudgeReply(const DataFromDevice& data)
{
    // The end of a subscription carries no value: the value stays as it was.
    if (data.value.isEmpty())
        return;
    const std::optional<float> value = nudgeValueOf(data.value, poName(), data.svName);
    if (!value)
        return;
    m_deviceValue = *value;
    m_hasNudgeValue = true;
    if (data.command != QLatin1String("setr") && !unansweredWrite())
        Q_EMIT valueToNudgeChanged(m_deviceValue);
    if (std::isinf(m_deviceValue) && m_deviceValue > 0)
        m_deviceValue = 199.0f;
}

// While writes to the variable await their answers, the device's replies tell of states the
// clicks have moved on from: the newest write is the state, pending. Its own answer carries the
// state the device took.
void QX8Button::showSwitchState()
{
    const std::optional<QString> written = unansweredWrite();
    const std::optional<bool> writtenState = written ? switchStateOf(*written) : std::nullopt;
    setActiveState(writtenState.value_or(m_deviceSwitchState));
    setPending(writtenState.has_value());
}

// A newer state written shows; writes that ended with no answer bring no value: the one heard
// last stands.
void QX8Button::writesChanged()
{
    if (m_buttonType == SV)
        showSwitchState();
    if (m_buttonType == Nudge && m_hasNudgeValue && !unansweredWrite())
        Q_EMIT valueToNudgeChanged(m_deviceValue);
}

void QX8Button::handleDataAvailable(DataFromDevice data)
{
    switch (m_buttonType) {
    case SV:
        if (const std::optional<bool> state = switchStateOf(data.value))
            m_deviceSwitchState = *state;
        showSwitchState();
        break;
    case Nudge:
        takeNudgeReply(data);
        break;
    case SingleShot:
    case XGroupMember:
        break;
    }
}
