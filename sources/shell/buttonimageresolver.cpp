#include "buttonimageresolver.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {
struct ImageKeys
{
    const char* image;
    QStringList keys;
};

const ImageKeys kHomeImages[] = {
    {"ICN_Mixer.png",
     {"MIX", "SpandrellMixer", "Kalo480Mixer", "yoxlKalo480Mixer", "yoxlKalo480FixedRouter"}},
    {"ICN_MixerMute.png",
     {"MIX:Off", "SpandrellMixer:Off", "Kalo480Mixer:Off", "yoxlKalo480Mixer:Off",
      "yoxlKalo480FixedRouter:Off"}},
    {"ICN_Nuq.png", {"Nuq", "SpandrellNuq", "Kalo480Nuq"}},
    {"ICN_GraphicEQ.png", {"GEQ", "SpandrellGEQ", "Kalo480GEQ"}},
    {"ICN_SubSynth.png", {"SUB", "Kalo480SubHarmonicSynth", "SpandrellSubHarmonicSynth"}},
    {"ICN_AutoEQ.png", {"AEQ", "yoxlKaloAutoEQPEQ"}},
    {"ICN_Compressor.png", {"CMP", "yoxlKaloCompressor", "SpandrellCompressor"}},
    {"ICN_Crossover.png", {"1x1", "XOV", "Kalo480Crossover", "SpandrellCrossover"}},
    {"ICN_ParaEQ.png", {"PEQ", "SpandrellPEQ", "yoxlKaloPEQ", "Kalo480PEQ"}},
    {"ICN_Limiter.png", {"LMT", "Kalo480Limiter", "yoxlKaloLimiter", "SpandrellLimiter"}},
    {"ICN_AlignmentDelay.png", {"DLY", "SpandrellDelay", "Kalo480Delay"}},
    {"ICN_RTAmic.png", {"RTA", "SpandrellRTA", "Kalo480RTA", "SpandrellRTApeak"}},
    {"ICN_AGC.png", {"AGC", "yoxlAGC"}},
    {"ICN_Input.png", {"INR", "yoxlKalo480InputRouter"}},
    {"ICN_Output.png", {"OUP", "yoxlKalo480Output"}},
    {"ICN_OutputMute.png", {"OUP:Off", "yoxlKalo480Output:Off"}},
    {"ICN_Gate.png", {"yoxlGate"}},
};

QMap<QString, QString> imagePaths()
{
    QMap<QString, QString> paths;
    for (const ImageKeys& entry : kHomeImages) {
        for (const QString& key : entry.keys)
            paths.insert(key, QStringLiteral("/images/Home/") + QLatin1String(entry.image));
    }
    for (int n = 1; n <= 14; ++n) {
        paths.insert(QStringLiteral("EQ%1").arg(n),
                     QStringLiteral("/images/ButtonBG%1.png").arg(n));
    }
    paths.insert(QStringLiteral("EQSub"), QStringLiteral("/images/ButtonBGS.png"));
    return paths;
}

QMap<QString, QString> buttonTexts()
{
    QMap<QString, QString> texts = {
        {"rta:RTA", "RTA"},
        {"in:SIG", "Signal Generator"},
        {"in:MIX", "Input Mixer"},
        {"in:Nuq", "Nuq"},
        {"in:GEQ", "Graphic EQ"},
        {"in:SUB", "Sub harmonic Synth"},
        {"in:PEQ", "Parametric  EQ"},
        {"in:CMP", "Compressor"},
        {"in:GAT", "Noise Gate"},
        {"in:DLY", "Backline Delay"},
        {"in:AGC", "Automatic  Gain  Control"},
        {"mid:MIX", "Mid  Mixer"},
        {"mid:AEQ", "Auto  EQ"},
        {"mid:SUB", "Sub harmoinc Synth"},
        {"mid:CMP", "Compressor"},
        {"mid:GAT", "Noise Gate"},
        {"mid:DLY", "Fill Delay"},
        {"mid:AGC", "Automatic  Gain  Control"},
        {"out:MIX", "Mid  Mixer"},
        {"out:AEQ", "Auto  EQ"},
        {"out:SUB", "Sub harmoinc Synth"},
        {"out:CMP", "Compressor"},
        {"out:GAT", "Noise Gate"},
        {"out:AGC", "Automatic  Gain  Control"},
        {"out:DLY", "Alignment Delay"},
        {"out:PEQ", "Parametric  EQ"},
        {"out:LMT", "Limiter"},
        {"rta:MIX", "Input Mixer"},
        {"out:Kalo480Crossover", "Crossover"},
        {"out:SpandrellCrossover", "Crossover"},
        {":", " "},
        {"in:", " "},
        {"mid:", " "},
        {"out:", " "},
    };
    for (int n = 1; n <= 6; ++n)
        texts.insert(QStringLiteral("out:%1").arg(n), QStringLiteral("Output %1").arg(n));
    return texts;
}

// The text of Attributes.<member> of a processing object's JSON description, or empty text.
QString attributeText(const QString& json, const QString& member)
{
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8());
    if (!document.isObject())
        return QString();
    const QJsonValue attributes = document.object().value(QStringLiteral("Attributes"));
    return attributes.toObject().value(member).toString();
}
} // namespace

ButtonImageResolver::ButtonImageResolver(QObject* parent)
    : QObject(parent)
    , m_imagePaths(imagePaths())
    , m_textColors({{"SpandrellMixer", "white"}, {"yoxlKalo480Output", "white"}})
    , m_buttonTexts(buttonTexts())
    , m_backgroundColors({{"SpandrellMixer", "#1A1A1A"}, {"yoxlKalo480Output", "#222222"}})
    , m_toggleSVNames({{"DLY", "Delay"},
                       {"LMT", "Limiter"},
                       {"PEQ", "ParametricEQ"},
                       {"AEQ", "AutoEQ"},
                       {"GEQ", "GraphicEQ"},
                       {"AGC", "AGC"},
                       {"Nuq", "Nuq"},
                       {"SUB", "SubharmonicSynth"},
                       {"CMP", "Compressor"},
                       {"GAT", "Gate"}})
{
}

// Unknown keys answer empty text and join the table with it.
QString ButtonImageResolver::imagePath(QString buttonType)
{
    return m_imagePaths[buttonType];
}

QString ButtonImageResolver::buttonText(QString buttonType)
{
    return m_buttonTexts[buttonType];
}

QString ButtonImageResolver::toggleSVName(QString buttonType)
{
    return m_toggleSVNames[buttonType];
}

QString ButtonImageResolver::color(QString buttonType)
{
    return m_backgroundColors[buttonType];
}

QString ButtonImageResolver::txtColor(QString buttonType)
{
    return m_textColors[buttonType];
}

QString ButtonImageResolver::outputName(QString string)
{
    return attributeText(string, QStringLiteral("OutputName"));
}

QString ButtonImageResolver::routerName(QString string)
{
    return attributeText(string, QStringLiteral("RouteMix"));
}
