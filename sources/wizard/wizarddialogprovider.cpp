#include "wizarddialogprovider.h"

WizardDialogProvider::WizardDialogProvider(QObject* parent) : QObject(parent) {}
