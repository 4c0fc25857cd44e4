#include "wizardscreensloader.h"

WizardScreensLoader::WizardScreensLoader(QObject* parent) : QObject(parent) {}
