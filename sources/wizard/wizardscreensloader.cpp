#include "wizardscreensloader.h"

#include "qx8settings.h"
#include "settingskeys.h"
#include "wizardstatetable.h"

#include <QLoggingCategory>

WizardScreensLoader::WizardScreensLoader(QObject* parent) : QObject(parent) {}

// A state the table does not know, the empty name included, shows the not-implemented page.
void WizardScreensLoader::setWizardStateQml(const QString& state)
{
    m_pageFile = wizardstates::pageFor(state);
    qDebug().noquote() << "\nWizard State: " + state + "\nQML File: " + m_pageFile;
    QX8Settings().setValue(QLatin1String(settingskeys::kWizardCurrentState), state);
    Q_EMIT wizardStateQmlChanged(state);
}

QString WizardScreensLoader::wizardName(const QString& state) const
{
    return wizardstates::wizardNameFor(state);
}
