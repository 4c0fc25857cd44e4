#include "wizardcrossovercodes.h"

#include <QHash>

namespace wizardcrossover {

namespace {

// Pictures of the input format, without and with an aux-fed sub.
struct AuxFedPictures
{
    QString notAuxFed;
    QString auxFed;
};

} // namespace

int baseCode(const QString& outputFormat)
{
    static const QHash<QString, int> kBase = {{QStringLiteral("Mono"), 11100},
                                              {QStringLiteral("Stereo"), 22100},
                                              {QStringLiteral("LCR"), 33100},
                                              {QStringLiteral("MonoX2"), 22100},
                                              {QStringLiteral("MonoX3"), 33100}};
    return kBase.value(outputFormat);
}

// The device's words for the modes ("Full Range", "Bi-Amped", "Tri-Amped") and the short ones.
int waysAddend(const QString& mainSpeakerMode)
{
    static const QHash<QString, int> kWays = {
        {QStringLiteral("Fullrange"), 0},  {QStringLiteral("2Way"), 100},
        {QStringLiteral("3Way"), 200},     {QStringLiteral("Full Range"), 0},
        {QStringLiteral("Bi-Amped"), 100}, {QStringLiteral("Tri-Amped"), 200}};
    return kWays.value(mainSpeakerMode);
}

WizardSetupViewInfo subChoiceRow(WizardSetupViewInfo row, const QString& outputFormat,
                                 const QString& mainSpeakerMode)
{
    static const QHash<QString, int> kSubs = {{QStringLiteral("NoSubs"), 0},
                                              {QStringLiteral("YesSubs"), 11}};
    if (!kSubs.contains(row.image))
        return row;
    row.crossoverCode = baseCode(outputFormat) + waysAddend(mainSpeakerMode) + kSubs[row.image];
    row.image.clear();
    return row;
}

WizardSetupViewInfo subFormatRow(WizardSetupViewInfo row, const QString& outputFormat)
{
    static const QHash<QString, int> kFormats = {{QStringLiteral("MonoSub"), 11},
                                                 {QStringLiteral("Monox2Sub"), 12},
                                                 {QStringLiteral("Monox3Sub"), 13},
                                                 {QStringLiteral("StereoSub"), 22},
                                                 {QStringLiteral("LcrSub"), 33}};
    if (!kFormats.contains(row.image))
        return row;
    row.crossoverCode = baseCode(outputFormat) + kFormats[row.image];
    row.image.clear();
    return row;
}

WizardSetupViewInfo auxFedRow(WizardSetupViewInfo row, const QString& outputFormat)
{
    const QString folder = QStringLiteral("qrc:/images/Wizards/");
    const AuxFedPictures mono{folder + QStringLiteral("MonoPAInFormat.png"),
                              folder + QStringLiteral("MonoInputWithAuxSub.png")};
    const AuxFedPictures stereo{folder + QStringLiteral("LRPAInFormat.png"),
                                folder + QStringLiteral("StereoInputWithAuxSub.png")};
    static const QHash<QString, bool> kIsMono = {{QStringLiteral("Mono"), true},
                                                 {QStringLiteral("MonoX2"), true},
                                                 {QStringLiteral("MonoX3"), true},
                                                 {QStringLiteral("Stereo"), false}};
    if (!kIsMono.contains(outputFormat))
        return row;
    const AuxFedPictures& pictures = kIsMono[outputFormat] ? mono : stereo;
    if (row.image == QLatin1String("SubNotAuxFed"))
        row.image = pictures.notAuxFed;
    else if (row.image == QLatin1String("SubAuxFed"))
        row.image = pictures.auxFed;
    return row;
}

} // namespace wizardcrossover
