#include "valuetext.h"

#include <cmath>

namespace {

struct Unit
{
    QLatin1String suffix;
    double scale;
};

// Longer suffixes first where one ends another ("kHz" and "Hz", "dB/s", "ms" and "s").
const Unit kUnits[] = {
    {QLatin1String("kHz"), 1000}, {QLatin1String("Hz"), 1}, {QLatin1String("dB/s"), 1},
    {QLatin1String("dB"), 1},     {QLatin1String("%"), 1},  {QLatin1String(":1"), 1},
    {QLatin1String("deg"), 1},    {QLatin1String("ms"), 1}, {QLatin1String("s"), 1},
};

} // namespace

std::optional<double> ValueText::number(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed == QLatin1String("On"))
        return 1.0;
    if (trimmed == QLatin1String("Off"))
        return 0.0;
    QStringRef body(&trimmed);
    double scale = 1.0;
    if (body.startsWith(QLatin1String("1:"))) {
        body = body.mid(2);
    } else {
        for (const Unit& unit : kUnits) {
            if (body.endsWith(unit.suffix, Qt::CaseInsensitive)) {
                body.chop(unit.suffix.size());
                scale = unit.scale;
                break;
            }
        }
    }
    bool ok = false;
    const double value = body.trimmed().toDouble(&ok);
    if (!ok || std::isnan(value))
        return std::nullopt;
    return value * scale;
}
