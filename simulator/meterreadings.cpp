#include "meterreadings.h"

#include "devicestate.h"

#include <QString>

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

} // namespace

void MeterReadings::install(DeviceState& state)
{
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
