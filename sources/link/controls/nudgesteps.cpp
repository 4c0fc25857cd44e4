#include "nudgesteps.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

struct Entry
{
    const char* key;
    float step;
};

// clang-format off
const Entry kSteps[] = {
    {"Limiter:Threshold:-1", 0.1f}, {"Limiter:OverEasy:-1", 1}, {"Limiter:Attack:0", 0.1f},
    {"Limiter:Attack:1", 0.2f}, {"Limiter:Attack:2", 0.5f}, {"Limiter:Attack:3", 1},
    {"Limiter:Hold:-1", 1}, {"Limiter:Release:0", 1}, {"Limiter:Release:1", 2},
    {"Limiter:Release:2", 5}, {"Limiter:OvershootDb:-1", 1},
    {"EQ:Frequency:0", 0.1f}, {"EQ:Frequency:1", 1}, {"EQ:Frequency:2", 10},
    {"EQ:Frequency:3", 100}, {"EQ:Gain:-1", 0.1f}, {"EQ:Q:0", 0.002f}, {"EQ:Q:1", 0.004f},
    {"EQ:Q:2", 0.008f}, {"EQ:Q:3", 0.02f}, {"EQ:Q:4", 0.04f}, {"EQ:Q:5", 0.08f}, {"EQ:Q:6", 0.2f},
    {"EQ:Q:7", 16}, {"EQ:Q:8", 32}, {"EQ:Q:9", 64}, {"EQ:Slope:0", 0.15f}, {"EQ:Slope:1", 0.2f},
    {"EQ:Slope:2", 0.3f}, {"EQ:Slope:3", 0.5f},
    {"AGC:Target:-1", 0.1f}, {"AGC:Max Gain:-1", 0.1f}, {"AGC:Window:-1", 0.1f},
    {"AGC:Low Threshold:-1", 0.1f}, {"AGC:LimThreshold:-1", 0.1f}, {"AGC:Attack:-1", 0.1f},
    {"AGC:Release:-1", 0.1f}, {"AGC:LimAttack:0", 0.1f}, {"AGC:LimAttack:1", 0.2f},
    {"AGC:LimAttack:2", 0.5f}, {"AGC:LimAttack:3", 1}, {"AGC:LimRelease:0", 5},
    {"AGC:LimRelease:1", 2}, {"AGC:LimRelease:2", 1},
    {"Nuq:LiftTime:0", 1}, {"Nuq:LiftTime:1", 5}, {"Nuq:LiftTime:2", 60},
    {"Nuq:MaxFixedFilters:-1", 1}, {"Nuq:Sensitivity:-1", 0.1f}, {"Nuq:HighPass:0", 30},
    {"Nuq:HighPass:1", 2}, {"Nuq:HighPass:2", 5}, {"Nuq:HighPass:3", 10}, {"Nuq:HighPass:4", 20},
    {"SubSynth:Subharmonics:-1", 1}, {"SubSynth:Synthesis Level 36-56Hz:-1", 1},
    {"SubSynth:Synthesis Level 24-36Hz:-1", 1},
    {"Compressor:Threshold:-1", 1}, {"Compressor:Gain:-1", 0.1f}, {"Compressor:Ratio:0", 0.1f},
    {"Compressor:Ratio:1", 0.2f}, {"Compressor:Ratio:2", 1}, {"Compressor:Ratio:3", 5},
    {"Compressor:Ratio:4", 160}, {"Compressor:OverEasy:-1", 1}, {"Compressor:Attack:0", 0.1f},
    {"Compressor:Attack:1", 0.2f}, {"Compressor:Attack:2", 0.5f}, {"Compressor:Attack:3", 1},
    {"Compressor:Hold:-1", 1}, {"Compressor:Release:0", 1}, {"Compressor:Release:1", 2},
    {"Compressor:Release:2", 5},
    {"Gate:Threshold:-1", 0.1f}, {"Gate:Ratio:0", 0.1f}, {"Gate:Ratio:1", 0.2f},
    {"Gate:Ratio:2", 1}, {"Gate:MaxAttenuation:0", 1}, {"Gate:MaxAttenuation:1", 80},
    {"Gate:Attack:0", 0.1f}, {"Gate:Attack:1", 0.2f}, {"Gate:Attack:2", 0.5f},
    {"Gate:Attack:3", 1}, {"Gate:Hold:-1", 1}, {"Gate:Release:0", 1}, {"Gate:Release:1", 2},
    {"Gate:Release:2", 5},
    {"Delay:Amount:0", 0.02f}, {"Delay:Amount:1", 0.06f}, {"Delay:Amount:2", 0.25f},
    {"Delay:Amount:3", 1},
    {"Crossover:Phase:-1", 5}, {"Crossover:Frequency:0", 0.1f}, {"Crossover:Frequency:1", 1},
    {"Crossover:Frequency:2", 10}, {"Crossover:Frequency:3", 100}, {"Crossover:Gain:-1", 0.1f},
    {"SignalGenerator:Sine Frequency:0", 1}, {"SignalGenerator:Sine Frequency:1", 10},
    {"SignalGenerator:Sine Frequency:2", 100}, {"SignalGenerator:Signal Amplitude:-1", 1},
    {"RTA:Gain:-1", 0.5f},
    {"Wizard:DialTypeSlider:-1", 1},
};
// clang-format on

const QHash<QString, float>& table()
{
    static const QHash<QString, float> steps = [] {
        QHash<QString, float> built;
        for (const Entry& entry : kSteps)
            built.insert(QString::fromLatin1(entry.key), entry.step);
        return built;
    }();
    return steps;
}

} // namespace

float NudgeSteps::step(const QString& key)
{
    return table().value(key, 0.0f);
}

QStringList NudgeSteps::keys()
{
    QStringList all;
    for (const Entry& entry : kSteps)
        all.append(QString::fromLatin1(entry.key));
    return all;
}

std::optional<QString> NudgeSteps::keyFor(const QString& poClass, const QString& svClass,
                                          const QString& rangeList, int direction, double value)
{
    const QString prefix = poClass + QLatin1Char(':') + svClass + QLatin1Char(':');
    if (rangeList == QLatin1String("[]"))
        return prefix + QStringLiteral("-1");
    const QJsonArray ranges = QJsonDocument::fromJson(rangeList.toUtf8()).array();
    for (const QJsonValue& item : ranges) {
        const QJsonObject range = item.toObject();
        const double low = range.value(QLatin1String("low")).toDouble();
        const double high = range.value(QLatin1String("high")).toDouble();
        const bool roomUp = direction == 1 && (high - low) > (value - low);
        const bool roomDown = direction == -1 && (high - low) >= (value - low);
        if (roomUp || roomDown)
            return prefix + range.value(QLatin1String("range")).toString();
    }
    return std::nullopt;
}
