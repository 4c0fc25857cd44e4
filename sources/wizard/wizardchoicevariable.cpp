#include "wizardchoicevariable.h"

#include "qx8enumsv.h"

#include <QStringList>

WizardChoiceVariable WizardChoiceVariable::fromPath(const QString& path)
{
    const QStringList parts = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (parts.size() == 4 && parts.at(0) == QLatin1String("Preset") &&
        parts.at(2) == QLatin1String("SV"))
        return {parts.at(1), parts.at(3)};
    return {QStringLiteral("NPO"), path};
}

// Renaming a bound control asks the device at once; the names change one at a time, so the
// variable name is cleared first to keep a half-changed binding from asking for a wrong path.
void bindChoice(QX8EnumSV& control, const WizardChoiceVariable& variable)
{
    if (control.poName() == variable.poName && control.svName() == variable.svName) {
        control.requestEnums();
        return;
    }
    control.setSVName(QString());
    control.setPOName(variable.poName);
    control.setSVName(variable.svName);
}
