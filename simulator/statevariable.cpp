#include "statevariable.h"

#include <QJsonArray>

#include <cmath>

namespace {

QString numberText(double value)
{
    return QString::number(value, 'g', 6);
}

std::optional<double> parseNumber(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<StateVariable> StateVariable::fromJson(const QString& path, const QJsonObject& entry,
                                                     QString* error)
{
    StateVariable variable;
    variable.m_path = path;
    const QString type = entry.value("type").toString();
    if (type == "number") {
        variable.m_kind = Kind::Number;
        variable.m_minimum = entry.value("min").toDouble();
        variable.m_maximum = entry.value("max").toDouble();
        variable.m_unit = entry.value("unit").toString();
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
        return aspect == Aspect::Value ? m_text : QString();
    switch (aspect) {
    case Aspect::Value:
        return nativeNumber(m_number);
    case Aspect::Percent:
        return numberText((m_number - m_minimum) / (m_maximum - m_minimum) * 100.0);
    case Aspect::Minimum:
        return nativeNumber(m_minimum);
    case Aspect::Maximum:
        return nativeNumber(m_maximum);
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
        value = parseNumber(text);
        if (value)
            value = m_minimum + qBound(0.0, *value, 100.0) / 100.0 * (m_maximum - m_minimum);
    } else {
        value = parseNative(text);
    }
    if (!value) {
        *error = "not a number";
        return false;
    }
    m_number = qBound(m_minimum, *value, m_maximum);
    return true;
}

// Frequencies from 1 kHz up read in kHz, as on the device's own display.
QString StateVariable::nativeNumber(double value) const
{
    if (m_unit == "Hz" && std::fabs(value) >= 1000.0)
        return numberText(value / 1000.0) + "kHz";
    return numberText(value) + m_unit;
}

std::optional<double> StateVariable::parseNative(const QString& text) const
{
    const QString trimmed = text.trimmed();
    if (m_unit == "Hz" && trimmed.endsWith("kHz")) {
        const std::optional<double> kilo = parseNumber(trimmed.chopped(3));
        return kilo ? std::optional<double>(*kilo * 1000.0) : std::nullopt;
    }
    if (!m_unit.isEmpty() && trimmed.endsWith(m_unit))
        return parseNumber(trimmed.chopped(m_unit.size()));
    return parseNumber(trimmed);
}
