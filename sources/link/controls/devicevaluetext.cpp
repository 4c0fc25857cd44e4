#include "devicevaluetext.h"

#include "valueresolution.h"

#include <QStringList>
#include <cmath>

QString DeviceValueText::of(const DeviceModel::Variable* variable, const QString& written)
{
    if (!variable || variable->displayUnits.isEmpty())
        return written;
    QString number = written.trimmed();
    // The longest unit that ends the text: "ms" rather than "s".
    const DeviceModel::DisplayUnit* writtenIn = nullptr;
    for (const DeviceModel::DisplayUnit& unit : variable->displayUnits) {
        if (unit.scale > 0 && number.endsWith(unit.name) &&
            (!writtenIn || unit.name.size() > writtenIn->name.size()))
            writtenIn = &unit;
    }
    const double scale = writtenIn ? writtenIn->scale : 1.0;
    if (writtenIn)
        number.chop(writtenIn->name.size());
    bool ok = false;
    const double shown = number.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(shown))
        return written;
    const double value = shown / scale;
    const int decimals = ValueResolution(variable->steps).decimalsAt(value);
    QStringList parts;
    for (const DeviceModel::DisplayUnit& unit : variable->displayUnits)
        parts.append(QString::number(value * unit.scale, 'f', decimals) + unit.name);
    return parts.join(QLatin1Char('/'));
}
