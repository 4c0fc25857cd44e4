#include "typednumber.h"

#include "valueresolution.h"

#include <QRegularExpression>
#include <cmath>

namespace {

// How many of the variable's own units one unit of the field is worth the other way round: a
// value in the field is the variable's value times this (1.12533 ft to the millisecond).
double scaleOf(const DeviceModel::Variable& variable, const QString& unit)
{
    for (const DeviceModel::DisplayUnit& shown : variable.displayUnits) {
        if (shown.name == unit && shown.scale > 0)
            return shown.scale;
    }
    return 1.0;
}

// The value text the device takes: a number in the variable's first shown unit, or with the
// variable's own unit after it.
QString deviceText(const DeviceModel::Variable& variable, double value)
{
    if (!variable.displayUnits.isEmpty()) {
        const DeviceModel::DisplayUnit& first = variable.displayUnits.first();
        return QString::number(value * first.scale, 'g', 6) + first.name;
    }
    return QString::number(value, 'g', 6) + variable.unit;
}

QString rangeText(const DeviceModel::Variable& variable, double scale, const QString& unit)
{
    QString text = QStringLiteral("from %1 to %2")
                       .arg(QString::number(variable.minimum * scale, 'g', 6),
                            QString::number(variable.maximum * scale, 'g', 6));
    if (!unit.trimmed().isEmpty())
        text += QLatin1Char(' ') + unit.trimmed();
    return text;
}

} // namespace

TypedNumber::Reading TypedNumber::read(const DeviceModel::Variable& variable, const QString& unit,
                                       const QString& typed)
{
    const double scale = scaleOf(variable, unit);
    const QString range = rangeText(variable, scale, unit);
    const QRegularExpression number(
        QStringLiteral("^\\s*([+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+))\\s*(?:%1)?\\s*$")
            .arg(QRegularExpression::escape(unit.trimmed())));
    const QRegularExpressionMatch match = number.match(typed);
    if (!match.hasMatch())
        return {
            std::nullopt,
            QStringLiteral("Not a number: type digits, with a point for decimals, %1").arg(range)};

    const double value = match.captured(1).toDouble() / scale;
    const double rounded = ValueResolution(variable.steps).rounded(value);
    const double tolerance = 1e-9 * (1.0 + std::fabs(variable.maximum - variable.minimum));
    if (!std::isfinite(rounded) || rounded < variable.minimum - tolerance ||
        rounded > variable.maximum + tolerance)
        return {std::nullopt, QStringLiteral("Out of range: type a number %1").arg(range)};
    double written = qBound(variable.minimum, rounded, variable.maximum);
    if (written == 0.0)
        written = 0.0; // never "-0"
    return {deviceText(variable, written), {}};
}
