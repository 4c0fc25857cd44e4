#include "wizarddialprovider.h"

WizardDialProvider::WizardDialProvider(QObject* parent) : QObject(parent) {}
