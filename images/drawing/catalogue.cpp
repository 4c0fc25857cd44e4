#include "drawings.h"
#include "picture.h"
#include "style.h"

#include <QPainter>

namespace {

using Draw = std::function<void(QPainter&, const QSizeF&)>;

// The design sizes: what the pages give each kind of picture at 1024 x 768. Files hold two or
// three pixels a unit, so that a maximised window still shows them sharp.
const QSizeF kListChoice(120, 90);
const QSizeF kScene(480, 360);
const QSizeF kIcon(48, 48);
const QSizeF kMixerType(100, 60);

void addIcons(std::vector<Picture>& pictures)
{
    pictures.push_back(applicationIcon());
    pictures.push_back({"Logo.png", {168, 25}, 3, icons::logo});
    pictures.push_back({"Url_Image.png", {32, 32}, 2, icons::play});
    pictures.push_back({"Tick.png", {24, 24}, 2, icons::tick});
    pictures.push_back({"Close.png", {24, 24}, 2, icons::close});
    pictures.push_back({"ActivityIndicator.png", {32, 32}, 2, icons::activity});
    for (const char* name : {"Mixer", "MixerMute", "Nuq", "GraphicEQ", "SubSynth", "AutoEQ",
                             "Compressor", "Crossover", "ParaEQ", "Limiter", "AlignmentDelay",
                             "RTAmic", "AGC", "Input", "Output", "OutputMute", "Gate"}) {
        pictures.push_back({QStringLiteral("Home/ICN_%1.png").arg(name), kIcon, 2,
                            [name](QPainter& painter, const QSizeF& size) {
                                icons::block(painter, size, QLatin1String(name));
                            }});
    }
    for (int n = 1; n <= 14; ++n) {
        pictures.push_back({QStringLiteral("ButtonBG%1.png").arg(n),
                            {80, 32},
                            2,
                            [n](QPainter& painter, const QSizeF& size) {
                                icons::buttonBackground(painter, size, style::bandColour(n - 1));
                            }});
    }
    pictures.push_back({"ButtonBGS.png", {80, 32}, 2, [](QPainter& painter, const QSizeF& size) {
                            icons::buttonBackground(painter, size, style::colour(style::Ink::Line));
                        }});
}

void addMixerTypes(std::vector<Picture>& pictures)
{
    const auto add = [&pictures](const QString& name, const QString& label) {
        pictures.push_back({QStringLiteral("MixerTypes/%1_Large.png").arg(name), kMixerType, 2,
                            [label](QPainter& painter, const QSizeF& size) {
                                icons::mixerType(painter, size, label);
                            }});
    };
    for (int n = 1; n <= 7; ++n) {
        add(QStringLiteral("InMixIn%1").arg(n), QStringLiteral("IN %1").arg(n));
        add(QStringLiteral("MidMixIn%1").arg(n), QStringLiteral("MID %1").arg(n));
    }
    for (const char* group :
         {"A", "B", "C", "A+B", "B+C", "A+B+C", "1", "2", "3", "1+2", "2+3", "1+2+3"})
        add(QStringLiteral("MidMix%1").arg(group), QLatin1String(group));
}

void addWizardChoices(std::vector<Picture>& pictures)
{
    const auto add = [&pictures](const char* name, const Draw& draw) {
        pictures.push_back({QStringLiteral("Wizards/%1.png").arg(name), kListChoice, 3, draw});
    };
    using namespace std::placeholders;
    // Also the picture of the level-assist and measuring pages: a file of four pixels a unit.
    pictures.push_back({"Wizards/PaSystem.png", kListChoice, 4, choices::paSystem});
    add("StageMonitors", choices::stageMonitors);
    add("PaSystemAndStageMonitors", choices::paSystemAndStageMonitors);
    add("FullRangeSpeakerType", std::bind(choices::speakerMode, _1, _2, 2, 1));
    add("BiAmpSpeakerType", std::bind(choices::speakerMode, _1, _2, 2, 2));
    add("TriAmpSpeakerType", std::bind(choices::speakerMode, _1, _2, 3, 3));
    add("FullRangeMonitorType", std::bind(choices::monitorMode, _1, _2, 2, 1));
    add("BiAmpMonitorType", std::bind(choices::monitorMode, _1, _2, 2, 2));
    add("TriAmpMonitorType", std::bind(choices::monitorMode, _1, _2, 3, 3));
    add("WizardPAsytemOutMono", std::bind(choices::outputFormat, _1, _2, 1));
    add("WizardPAsytemOutMonox2", std::bind(choices::outputFormat, _1, _2, 2));
    add("WizardPAsytemOutMonox3", std::bind(choices::outputFormat, _1, _2, 3));
    add("WizardSubNotBridged", std::bind(choices::subAmplifier, _1, _2, false));
    add("WizardSubBridged", std::bind(choices::subAmplifier, _1, _2, true));
    add("Setup_IconMixerMono", std::bind(choices::inputMixing, _1, _2, false));
    add("Setup_IconMixerStereo", std::bind(choices::inputMixing, _1, _2, true));
    add("MonoPAInFormat", std::bind(choices::equaliserFormat, _1, _2, false, false));
    add("LRPAInFormat", std::bind(choices::equaliserFormat, _1, _2, true, false));
    add("MonoInputWithAuxSub", std::bind(choices::equaliserFormat, _1, _2, false, true));
    add("StereoInputWithAuxSub", std::bind(choices::equaliserFormat, _1, _2, true, true));
    add("RecommendedCurve", std::bind(curves::target, _1, _2, curves::Target::Recommended));
    add("Flat", std::bind(curves::target, _1, _2, curves::Target::Flat));
    add("ReflectiveRoom", std::bind(curves::target, _1, _2, curves::Target::ReflectiveRoom));
    // The device's three widths of a Nuq filter, narrowest for music.
    add("NuqCurveSpeech", std::bind(curves::nuqWidth, _1, _2, 2.0));
    add("NuqCurveMusic_Speech", std::bind(curves::nuqWidth, _1, _2, 6.0));
    add("NuqCurveMusic", std::bind(curves::nuqWidth, _1, _2, 20.0));
}

void addWizardScenes(std::vector<Picture>& pictures)
{
    using namespace std::placeholders;
    const auto add = [&pictures](const QString& name, const QSizeF& size, const Draw& draw) {
        pictures.push_back({QStringLiteral("Wizards/%1.png").arg(name), size, 2, draw});
    };
    add(QStringLiteral("connections"), kScene, std::bind(scenes::rearPanel, _1, _2, false));
    add(QStringLiteral("OptionCardConnections"), kScene,
        std::bind(scenes::rearPanel, _1, _2, true));
    add(QStringLiteral("AEQStereo"), kScene, scenes::roomPlan);
    for (int position = 1; position <= 4; ++position)
        add(QStringLiteral("RTA%1").arg(position), kScene,
            std::bind(scenes::micPosition, _1, _2, position));
    add(QStringLiteral("RTAMic"), kScene, scenes::measuringMic);
    add(QStringLiteral("LowerMixerOutputs"), kScene,
        std::bind(scenes::mixerOutputs, _1, _2, false));
    // The Nuq graph page gives it a corner only.
    add(QStringLiteral("RaiseMixerOutputs"), {240, 150},
        std::bind(scenes::mixerOutputs, _1, _2, true));
    add(QStringLiteral("DialUL"), {440, 440}, scenes::dialScale);
    add(QStringLiteral("DialOL"), {440, 440}, scenes::dialPointer);
    add(QStringLiteral("DialMinus"), {64, 64}, std::bind(scenes::dialButton, _1, _2, false));
    add(QStringLiteral("DialPlus"), {64, 64}, std::bind(scenes::dialButton, _1, _2, true));
}

} // namespace

Picture applicationIcon()
{
    return {"AppIcon.png", {128, 128}, 2, icons::application};
}

std::vector<Picture> catalogue()
{
    std::vector<Picture> pictures;
    pictures.push_back({"Splash_Screen.png", {1024, 768}, 2, scenes::splash});
    addIcons(pictures);
    addMixerTypes(pictures);
    addWizardChoices(pictures);
    addWizardScenes(pictures);
    return pictures;
}
