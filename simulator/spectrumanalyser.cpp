#include "spectrumanalyser.h"

#include "analyserbands.h"
#include "devicemodel.h"
#include "devicestate.h"

#include <QDateTime>
#include <QTextStream>

#include <cmath>
#include <limits>

namespace {

constexpr double kNoiseLevelDb = -45.0;
constexpr double kWanderDb = 3.0;

QString objectVariablePath(const QString& object, const QString& variable)
{
    return QStringLiteral("Preset\\%1\\SV\\%2").arg(object, variable);
}

// The frequency a graphic-EQ band is named after ("31.5 Hz", "1.0 kHz"); 0 for other names.
double frequencyOfName(const QString& name)
{
    const bool kilo = name.endsWith(QLatin1String(" kHz"));
    if (!kilo && !name.endsWith(QLatin1String(" Hz")))
        return 0.0;
    bool ok = false;
    const double number = name.section(QLatin1Char(' '), 0, 0).toDouble(&ok);
    return ok ? number * (kilo ? 1000.0 : 1.0) : 0.0;
}

// The band of graphic EQ `object` nearest to `hz`, by the frequencies in the bands' names.
StateVariable* nearestBand(const DeviceModel& model, DeviceState& state, const QString& object,
                           double hz)
{
    const QString prefix = objectVariablePath(object, QString());
    const DeviceModel::Variable* nearest = nullptr;
    double nearestDistance = std::numeric_limits<double>::infinity();
    for (const DeviceModel::Variable& variable : model.variables()) {
        if (!variable.path.startsWith(prefix))
            continue;
        const double bandHz = frequencyOfName(variable.path.mid(prefix.size()));
        if (!(bandHz > 0.0))
            continue;
        const double distance = std::abs(std::log(bandHz / hz));
        if (distance < nearestDistance) {
            nearest = &variable;
            nearestDistance = distance;
        }
    }
    return nearest ? state.variable(nearest->path) : nullptr;
}

// Two slow waves per band, each band with periods of its own.
double wander(int band, int periodMs)
{
    const double now = double(QDateTime::currentMSecsSinceEpoch() % (1000LL * 3600 * 24));
    const double period = periodMs * (0.7 + 0.06 * (band % 7));
    const double phase = 2.0 * M_PI * now / period;
    return kWanderDb * (0.7 * std::sin(phase + band) + 0.3 * std::sin(phase / 0.37 + 2.1 * band));
}

} // namespace

void SpectrumAnalyser::install(const DeviceModel& model, DeviceState& state)
{
    for (const DeviceModel::Variable& variable : model.variables()) {
        if (variable.analyserBand <= 0)
            continue;
        const QString object = variable.path.section(QLatin1Char('\\'), 1, 1);
        StateVariable* meter = state.variable(variable.path);
        const StateVariable* gain =
            state.variable(objectVariablePath(object, variable.analyserGain));
        const StateVariable* eq = nearestBand(model, state, variable.analyserShapedBy,
                                              AnalyserBands::centreHz(variable.analyserBand));
        if (!meter || !gain || !eq) {
            QTextStream(stderr) << "VirtualQX8: no analyser reading for " << variable.path << '\n';
            continue;
        }
        const int band = variable.analyserBand;
        const int periodMs = qMax(1, variable.motionPeriodMs);
        meter->setReading([eq, gain, band, periodMs] {
            return kNoiseLevelDb + eq->number() + gain->number() + wander(band, periodMs);
        });
    }
}
