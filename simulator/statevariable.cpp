#include "statevariable.h"

#include <QDateTime>

#include <cmath>

StateVariable::StateVariable(const DeviceModel::Variable& description)
    : m_path(description.path)
    , m_kind(description.kind)
    , m_minimum(description.minimum)
    , m_maximum(description.maximum)
    , m_number(description.defaultNumber)
    , m_format(description)
    , m_motionPeriodMs(description.motionPeriodMs)
    , m_entries(description.entries)
    , m_text(description.defaultText)
{
}

bool StateVariable::supports(Aspect aspect) const
{
    switch (aspect) {
    case Aspect::Value:
        return true;
    case Aspect::Percent:
    case Aspect::Minimum:
    case Aspect::Maximum:
        return m_kind == Kind::Number;
    case Aspect::Entries:
        return m_kind == Kind::Enumeration;
    }
    return false;
}

QString StateVariable::text(Aspect aspect) const
{
    if (m_kind != Kind::Number)
        return aspect == Aspect::Value ? currentText() : QString();
    switch (aspect) {
    case Aspect::Value:
        return m_format.text(currentNumber(), m_minimum, m_maximum);
    case Aspect::Percent:
        return ValueFormat::numberText((currentNumber() - m_minimum) / (m_maximum - m_minimum) *
                                       100.0) +
               QLatin1Char('%');
    case Aspect::Minimum:
        return m_format.text(m_minimum, m_minimum, m_maximum);
    case Aspect::Maximum:
        return m_format.text(m_maximum, m_minimum, m_maximum);
    case Aspect::Entries:
        break;
    }
    return QString();
}

bool StateVariable::assign(Aspect aspect, const QString& text, QString* error)
{
    if (aspect != Aspect::Value && !(aspect == Aspect::Percent && m_kind == Kind::Number)) {
        *error = "not writable";
        return false;
    }
    switch (m_kind) {
    case Kind::Text:
        m_text = text;
        return true;
    case Kind::Enumeration:
        if (!m_entries.contains(text)) {
            *error = "not an entry";
            return false;
        }
        m_text = text;
        return true;
    case Kind::Number:
        break;
    }
    std::optional<double> value;
    if (aspect == Aspect::Percent) {
        value = ValueFormat::parseNumber(text.endsWith('%') ? text.chopped(1) : text);
        if (value)
            value = m_minimum + qBound(0.0, *value, 100.0) / 100.0 * (m_maximum - m_minimum);
    } else {
        value = m_format.parse(text, m_minimum, m_maximum);
    }
    if (!value) {
        *error = "not a number";
        return false;
    }
    m_number = qBound(m_minimum, *value, m_maximum);
    return true;
}

bool StateVariable::replaceEntries(const QStringList& entries)
{
    if (m_kind != Kind::Enumeration)
        return false;
    m_entries = entries;
    if (!m_entries.contains(m_text))
        m_text = m_entries.value(0);
    return true;
}

// A moving number sweeps its range once per period; a moving text steps through its entries.
double StateVariable::currentNumber() const
{
    if (m_reading)
        return qBound(m_minimum, m_reading(), m_maximum);
    if (m_motionPeriodMs <= 0)
        return m_number;
    const double phase =
        double(QDateTime::currentMSecsSinceEpoch() % m_motionPeriodMs) / m_motionPeriodMs;
    return m_minimum + (m_maximum - m_minimum) * (0.5 - 0.5 * std::cos(2.0 * M_PI * phase));
}

QString StateVariable::currentText() const
{
    if (m_textReading)
        return m_textReading();
    if (m_motionPeriodMs <= 0 || m_entries.isEmpty())
        return m_text;
    const qint64 step = QDateTime::currentMSecsSinceEpoch() / m_motionPeriodMs;
    return m_entries.at(int(step % m_entries.size()));
}
