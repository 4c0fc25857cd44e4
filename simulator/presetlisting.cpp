#include "presetlisting.h"

#include "devicestate.h"

namespace {

QString choice(DeviceState& state, const char* name)
{
    const StateVariable* variable =
        state.variable(QStringLiteral("Node\\SetupWizardCurrentChoices\\SV\\") + name);
    return variable ? variable->text(StateVariable::Aspect::Value) : QString();
}

void replace(QStringList& names, const QString& name, const QStringList& replacements)
{
    const int at = names.indexOf(name);
    if (at < 0)
        return;
    names.removeAt(at);
    for (int i = 0; i < replacements.size(); ++i)
        names.insert(at + i, replacements.at(i));
}

} // namespace

QStringList presetObjects(DeviceState& state)
{
    QStringList names = state.children(QStringLiteral("\\\\Preset\\"));
    if (choice(state, "InputMixing") == QLatin1String("Mono"))
        replace(names, QStringLiteral("StereoMixer"), {QStringLiteral("MonoMixer")});
    if (choice(state, "GEQSetup") == QLatin1String("Dual Mono"))
        replace(names, QStringLiteral("StereoGEQ"),
                {QStringLiteral("LeftGEQ"), QStringLiteral("RightGEQ")});
    return names;
}

bool isPresetRoot(const QString& consolePath)
{
    return consolePath == QLatin1String("\\\\Preset\\") ||
           consolePath == QLatin1String("\\\\Preset");
}
