#include "wizardlistviewprovider.h"

WizardListViewProvider::WizardListViewProvider(QObject* parent) : QObject(parent) {}
