#include "wizardnuqgraphprovider.h"

WizardNuqGraphProvider::WizardNuqGraphProvider(QObject* parent) : QObject(parent) {}
