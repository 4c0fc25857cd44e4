#pragma once

#include <QHash>
#include <QString>

// Which page shows each wizard state the device reports, and which wizard a state belongs to.
// State names are compared exactly.
namespace wizardstates {

// State name -> page file ("WizardListType.qml", ...).
const QHash<QString, QString>& pageTable();

// The page of a state; "WizardNotImplemented.qml" for a state the table does not hold.
QString pageFor(const QString& state);

// "Nuq Wizard", "AutoEQ Wizard", "Run Setup Wizard", "Orvel Link Setup Wizard" or "Wizard
// Menu"; empty for a state in none (an error or traffic step of any wizard, an unknown state).
QString wizardNameFor(const QString& state);

} // namespace wizardstates
