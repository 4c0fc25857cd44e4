#include "valueformat.h"

#include <cmath>

QString ValueFormat::numberText(double value)
{
    return QString::number(value, 'g', 6);
}

std::optional<double> ValueFormat::parseNumber(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

ValueFormat::ValueFormat(const DeviceModel::Variable& description)
    : m_unit(description.unit)
    , m_prefix(description.prefix)
    , m_minimumText(description.minimumText)
    , m_maximumText(description.maximumText)
    , m_units(description.displayUnits)
    , m_clock(description.clock)
{
}

QString ValueFormat::text(double value, double minimum, double maximum) const
{
    if (!m_minimumText.isEmpty() && value <= minimum)
        return m_minimumText;
    if (!m_maximumText.isEmpty() && value >= maximum)
        return m_maximumText;
    if (m_clock) {
        const int seconds = int(std::lround(value));
        if (seconds < 60)
            return QString::number(seconds) + 's';
        return QString::number(seconds / 60) + "m " + QString::number(seconds % 60) + 's';
    }
    if (!m_units.isEmpty()) {
        QStringList parts;
        for (const DeviceModel::DisplayUnit& unit : m_units)
            parts.append(QString::number(value * unit.scale, 'f', 2) + unit.name);
        return parts.join('/');
    }
    return m_prefix + plainText(value);
}

// Frequencies from 1 kHz up read in kHz, as on the device's own display.
QString ValueFormat::plainText(double value) const
{
    if (m_unit == "Hz" && std::fabs(value) >= 1000.0)
        return numberText(value / 1000.0) + "kHz";
    return numberText(value) + m_unit;
}

std::optional<double> ValueFormat::parse(const QString& text, double minimum, double maximum) const
{
    const QString trimmed = text.trimmed();
    if (!m_minimumText.isEmpty() && trimmed == m_minimumText)
        return minimum;
    if (!m_maximumText.isEmpty() && trimmed == m_maximumText)
        return maximum;
    if (m_clock)
        return parseClock(trimmed);
    if (!m_units.isEmpty())
        return parseUnits(trimmed);
    if (m_unit == "Hz" && trimmed.endsWith("kHz")) {
        const std::optional<double> kilo = parseNumber(trimmed.chopped(3));
        return kilo ? std::optional<double>(*kilo * 1000.0) : std::nullopt;
    }
    QString number = trimmed;
    if (!m_prefix.isEmpty() && number.startsWith(m_prefix))
        number = number.mid(m_prefix.size());
    if (!m_unit.isEmpty() && number.endsWith(m_unit))
        number.chop(m_unit.size());
    return parseNumber(number);
}

// "1m 30s", "45s", "2m" or a plain number of seconds.
std::optional<double> ValueFormat::parseClock(const QString& text) const
{
    double seconds = 0;
    for (const QString& piece : text.split(' ', Qt::SkipEmptyParts)) {
        const bool minutes = piece.endsWith('m');
        const std::optional<double> number =
            parseNumber(piece.endsWith('m') || piece.endsWith('s') ? piece.chopped(1) : piece);
        if (!number)
            return std::nullopt;
        seconds += minutes ? *number * 60.0 : *number;
    }
    return seconds;
}

// The first unit's form, or any listed unit after a number ("12ms", "3.4m").
std::optional<double> ValueFormat::parseUnits(const QString& text) const
{
    const QString first = text.section('/', 0, 0);
    for (const DeviceModel::DisplayUnit& unit : m_units) {
        if (first.endsWith(unit.name) && unit.scale != 0) {
            const std::optional<double> number = parseNumber(first.chopped(unit.name.size()));
            if (number)
                return *number / unit.scale;
        }
    }
    return parseNumber(first);
}
