#pragma once

#include <QString>

// One row of the brand list: a brand, or "Not listed??" for the Custom product.
struct WizardBrandListViewInfo
{
    QString text;
};

// One row under a brand: a series and model, or the closing "Not listed??".
struct WizardBrandModelsListViewInfo
{
    QString text;
};
