#pragma once

#include <QString>

// One row of a wizard list page: what it shows and the enumeration value it stands for.
struct WizardListViewInfo
{
    QString text;
    QString image;
    QString value;
    int crossoverCode = 0; // the speaker stack the choice would make; 0 for none
};

// The run-setup page's rows are the same record.
using WizardSetupViewInfo = WizardListViewInfo;
