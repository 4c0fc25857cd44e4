#include "meterreadings.h"

#include "devicemodel.h"
#include "devicestate.h"

#include <QString>

#include <functional>

namespace {

// Full scale: a level at or above it clips.
constexpr double kClipLevelDb = 0.0;

const char* const kMeterObjects[] = {"InputMeters", "OutputMeters"};

QString channelPath(const QString& object, int channel, const char* variable)
{
    return QStringLiteral("Preset\\%1\\SV\\Channel_%2_%3").arg(object).arg(channel).arg(variable);
}

// Output n's meter reads its own signal (the moving level it had) raised by Channel_n_Gain of
// the output gains, and its floor while Channel_n_Mute is on.
void readAfterGainAndMute(DeviceState& state, int channel, StateVariable* level)
{
    const QString gains = QStringLiteral("OutputGains");
    const StateVariable* gain = state.variable(channelPath(gains, channel, "Gain"));
    const StateVariable* mute = state.variable(channelPath(gains, channel, "Mute"));
    if (!gain || !mute)
        return;
    const StateVariable signal = *level;
    level->setReading([signal, gain, mute] {
        return mute->number() != 0.0 ? signal.minimum() : signal.number() + gain->number();
    });
}

StateVariable* setting(DeviceState& state, const QString& object, const QString& name)
{
    return state.variable(QStringLiteral("Preset\\%1\\SV\\%2").arg(object, name));
}

// The dB a block takes off a signal at a level, from its settings; zero or less where it leaves
// the signal alone.
using Reduction = std::function<double(double levelDb)>;

// A gate expands below its threshold by its ratio, down to its greatest attenuation.
Reduction gateReduction(DeviceState& state, const QString& object)
{
    const StateVariable* threshold = setting(state, object, QStringLiteral("Threshold"));
    const StateVariable* ratio = setting(state, object, QStringLiteral("Ratio"));
    const StateVariable* most = setting(state, object, QStringLiteral("MaxAttenuation"));
    if (!threshold || !ratio || !most)
        return {};
    return [threshold, ratio, most](double level) {
        return qMin((threshold->number() - level) * (ratio->number() - 1.0), most->number());
    };
}

Reduction compressorReduction(DeviceState& state, const QString& object)
{
    const StateVariable* threshold = setting(state, object, QStringLiteral("Threshold"));
    const StateVariable* ratio = setting(state, object, QStringLiteral("Ratio"));
    if (!threshold || !ratio)
        return {};
    return [threshold, ratio](double level) {
        return (level - threshold->number()) * (1.0 - 1.0 / ratio->number());
    };
}

// A limiter lets nothing past its threshold.
Reduction limiterReduction(DeviceState& state, const QString& object)
{
    const StateVariable* threshold = setting(state, object, QStringLiteral("Threshold"));
    if (!threshold)
        return {};
    return [threshold](double level) { return level - threshold->number(); };
}

Reduction reductionOf(DeviceState& state, const DeviceModel::ProcessingObject& object)
{
    if (object.className == QLatin1String("Gate"))
        return gateReduction(state, object.name);
    if (object.className == QLatin1String("Compressor"))
        return compressorReduction(state, object.name);
    if (object.className == QLatin1String("Limiter"))
        return limiterReduction(state, object.name);
    return {};
}

// The block's meter reads the reduction of `signal` as a negative number of dB, and 0 while the
// block's switch (named after its class) is off.
void readGainReduction(DeviceState& state, const DeviceModel::ProcessingObject& object,
                       const StateVariable* signal)
{
    StateVariable* meter = setting(state, object.name, QStringLiteral("GainReduction"));
    const StateVariable* on = setting(state, object.name, object.className);
    const Reduction reduction = reductionOf(state, object);
    if (!meter || !on || !reduction)
        return;
    meter->setReading([signal, on, reduction] {
        const double db = on->number() != 0.0 ? reduction(signal->number()) : 0.0;
        return db > 0.0 ? -db : 0.0;
    });
}

} // namespace

void MeterReadings::install(const DeviceModel& model, DeviceState& state)
{
    // Every dynamics block sees the programme of the first input.
    if (const StateVariable* signal =
            state.variable(channelPath(QStringLiteral("InputMeters"), 1, "Level"))) {
        for (const DeviceModel::ProcessingObject& object : model.processingObjects())
            readGainReduction(state, object, signal);
    }
    for (const char* object : kMeterObjects) {
        const QString name = QLatin1String(object);
        for (int channel = 1;; ++channel) {
            StateVariable* level = state.variable(channelPath(name, channel, "Level"));
            if (!level)
                break;
            if (name == QLatin1String("OutputMeters"))
                readAfterGainAndMute(state, channel, level);
            if (StateVariable* clip = state.variable(channelPath(name, channel, "Clip"))) {
                clip->setTextReading([level] {
                    return level->number() >= kClipLevelDb ? QStringLiteral("On")
                                                           : QStringLiteral("Off");
                });
            }
        }
    }
}
