#include "valuereadout.h"

#include "valueresolution.h"
#include "valuetext.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

// Always as many decimals as the resolution has, so that a value keeps its width while it
// changes: "1.9" at a step of 0.01 is "1.90", "-0.04" at 0.1 is "0.0" (never "-0.0").
QString fixedNumber(double value, int decimals)
{
    const bool showsZero = std::fabs(value) < 0.5 * std::pow(10.0, -decimals);
    return QString::number(showsZero ? 0.0 : value, 'f', decimals);
}

// How wide a read-out reads, to compare two: digits and letters are a number's widest
// characters (digits are tabular), signs and points narrower; the unit, set smaller, counts last.
std::tuple<int, int, int> readingWidth(const QStringList& parts)
{
    const QString number = parts.value(0);
    const int wide = int(
        std::count_if(number.begin(), number.end(), [](QChar c) { return c.isLetterOrNumber(); }));
    return {wide, int(number.size()) - wide, int(parts.value(1).size())};
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
                fixedNumber(rounded / scale, resolution.decimalsAt(rounded, scale)),
            kilo ? QStringLiteral("kHz") : m_variable->unit.trimmed()};
}

QStringList ValueReadout::shownAt(double value) const
{
    if (m_variable && !m_variable->minimumText.isEmpty() && value <= m_variable->minimum)
        return withUnitApart(m_variable->minimumText);
    if (m_variable && !m_variable->maximumText.isEmpty() && value >= m_variable->maximum)
        return withUnitApart(m_variable->maximumText);
    return partsOf(value);
}

std::optional<double> ValueReadout::widestValue() const
{
    if (!m_variable || m_variable->kind != DeviceModel::Kind::Number || m_variable->clock ||
        !m_variable->displayUnits.isEmpty())
        return std::nullopt;
    const ValueResolution resolution(m_variable->steps);
    QList<double> candidates = {m_variable->minimum, m_variable->maximum};
    // An end the device writes as a word: the number next to it.
    if (!m_variable->minimumText.isEmpty())
        candidates.append(m_variable->minimum + resolution.stepAt(m_variable->minimum));
    if (!m_variable->maximumText.isEmpty())
        candidates.append(m_variable->maximum - resolution.stepAt(m_variable->maximum));
    for (const DeviceModel::Step& step : m_variable->steps) {
        const double below = step.below - step.size;
        if (std::isfinite(below) && below > m_variable->minimum && below < m_variable->maximum)
            candidates.append(below);
    }
    double widest = candidates.first();
    for (const double candidate : qAsConst(candidates)) {
        if (readingWidth(shownAt(candidate)) > readingWidth(shownAt(widest)))
            widest = candidate;
    }
    return widest;
}
