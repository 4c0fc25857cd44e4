#include "wizardrunsetupprovider.h"

WizardRunSetupProvider::WizardRunSetupProvider(QObject* parent) : QObject(parent) {}
