#include "statevariable.h"

#include <QDateTime>
#include <QJsonArray>

#include <cmath>

std::optional<StateVariable> StateVariable::fromJson(const QString& path, const QJsonObject& entry,
                                                     QString* error)
{
    StateVariable variable;
    variable.m_path = path;
    const QString type = entry.value("type").toString();
    variable.m_motionPeriodMs = entry.value("motionPeriodMs").toInt();
    if (type == "number") {
        variable.m_kind = Kind::Number;
        variable.m_minimum = entry.value("min").toDouble();
        variable.m_maximum = entry.value("max").toDouble();
        variable.m_format = ValueFormat::fromJson(entry);
        variable.m_number = entry.value("default").toDouble(variable.m_minimum);
        if (!(variable.m_minimum < variable.m_maximum)) {
            *error = path + ": min must be below max";
            return std::nullopt;
        }
        if (variable.m_number < variable.m_minimum || variable.m_number > variable.m_maximum) {
            *error = path + ": default outside the range";
            return std::nullopt;
        }
    } else if (type == "enumeration") {
        variable.m_kind = Kind::Enumeration;
        for (const QJsonValue& item : entry.value("entries").toArray())
            variable.m_entries.append(item.toString());
        variable.m_text = entry.value("default").toString();
        if (variable.m_entries.isEmpty() || !variable.m_entries.contains(variable.m_text)) {
            *error = path + ": default is not one of the entries";
            return std::nullopt;
        }
    } else if (type == "text") {
        variable.m_kind = Kind::Text;
        variable.m_text = entry.value("default").toString();
    } else {
        *error = path + ": unknown type \"" + type + "\"";
        return std::nullopt;
    }
    return variable;
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
                                       100.0);
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
        value = ValueFormat::parseNumber(text);
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

// A moving number sweeps its range once per period; a moving text steps through its entries.
double StateVariable::currentNumber() const
{
    if (m_motionPeriodMs <= 0)
        return m_number;
    const double phase =
        double(QDateTime::currentMSecsSinceEpoch() % m_motionPeriodMs) / m_motionPeriodMs;
    return m_minimum + (m_maximum - m_minimum) * (0.5 - 0.5 * std::cos(2.0 * M_PI * phase));
}

QString StateVariable::currentText() const
{
    if (m_motionPeriodMs <= 0 || m_entries.isEmpty())
        return m_text;
    const qint64 step = QDateTime::currentMSecsSinceEpoch() / m_motionPeriodMs;
    return m_entries.at(int(step % m_entries.size()));
}
