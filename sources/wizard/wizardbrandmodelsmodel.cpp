#include "wizardbrandmodelsmodel.h"

WizardBrandModelsModel::WizardBrandModelsModel(QObject* parent) : QObject(parent) {}
