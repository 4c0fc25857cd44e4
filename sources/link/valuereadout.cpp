#include "valuereadout.h"

#include "valueresolution.h"
#include "valuetext.h"

#include <cmath>

namespace {

// Decimals as given, trailing zeros dropped: "1.90" is "1.9", "2.0" is "2".
QString trimmedNumber(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

} // namespace

bool ValueReadout::showsAsItComes(const QString& deviceText) const
{
    return !m_variable || m_variable->kind != DeviceModel::Kind::Number || m_variable->clock ||
           !m_variable->displayUnits.isEmpty() || deviceText == m_variable->minimumText ||
           deviceText == m_variable->maximumText;
}

QStringList ValueReadout::partsOf(const QString& deviceText) const
{
    const QString text = deviceText.trimmed();
    if (!showsAsItComes(text)) {
        const std::optional<double> value = ValueText::number(text);
        if (value && std::isfinite(*value))
            return partsOf(*value);
    }
    return withUnitApart(text);
}

// "Inf:1" is "Inf" and ":1"; a text without the variable's unit at its end is all number.
QStringList ValueReadout::withUnitApart(const QString& text) const
{
    const QString unit = m_variable ? m_variable->unit : QString();
    const QStringList candidates =
        unit == QLatin1String("Hz") ? QStringList{QStringLiteral("kHz"), unit} : QStringList{unit};
    for (const QString& candidate : candidates) {
        if (!candidate.isEmpty() && text.size() > candidate.size() && text.endsWith(candidate))
            return {text.chopped(candidate.size()).trimmed(), candidate.trimmed()};
    }
    return {text, QString()};
}

QStringList ValueReadout::partsOf(double value) const
{
    if (!m_variable || !std::isfinite(value))
        return {QString::number(value), QString()};
    const ValueResolution resolution(m_variable->steps);
    const double rounded = resolution.rounded(value);
    const bool kilo = m_variable->unit == QLatin1String("Hz") && std::fabs(rounded) >= 1000.0;
    const double scale = kilo ? 1000.0 : 1.0;
    return {m_variable->prefix +
                trimmedNumber(rounded / scale, resolution.decimalsAt(rounded, scale)),
            kilo ? QStringLiteral("kHz") : m_variable->unit.trimmed()};
}
