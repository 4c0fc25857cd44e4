#pragma once

#include <QString>

class QX8EnumSV;

// The device variable a wizard page binds for a choice, from the path a descriptor or a page
// table gives ("Node\Wizard\SV\WizardChoice"). Node paths belong to the node ("NPO" with the
// whole path); a processing-object path ("Preset\Nuq\SV\ContentMode") is bound the way its
// replies parse, to the object and its variable, so that the control receives them.
struct WizardChoiceVariable
{
    QString poName;
    QString svName;

    static WizardChoiceVariable fromPath(const QString& path);
};

// Binds `control` to `variable` and has it ask once for its enumeration and value, whether or not
// the binding changed.
void bindChoice(QX8EnumSV& control, const WizardChoiceVariable& variable);
