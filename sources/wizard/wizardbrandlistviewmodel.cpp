#include "wizardbrandlistviewmodel.h"

WizardBrandListViewModel::WizardBrandListViewModel(QObject* parent) : QObject(parent) {}
