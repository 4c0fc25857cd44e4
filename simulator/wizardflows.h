#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The device's wizards as data. A flow is the steps of one wizard, started by writing its first
// state to the wizard state variable ("StartSetupWizard"); Next moves to the following step whose
// condition holds, Previous back to the last such step the user answers. An automatic step is
// one the device leaves by itself. At its end a flow hands over to the first continuation whose
// condition holds, or the wizards end ("Inactive").

// A device variable holding a value; an empty path always holds.
struct WizardCondition
{
    QString path;
    QString value;
};

struct WizardStep
{
    QString state;
    bool automatic = false;
    WizardCondition when;
};

struct WizardContinuation
{
    WizardCondition when;
    QString flow; // the first state of the flow to run
};

struct WizardFlow
{
    QVector<WizardStep> steps;
    QVector<WizardContinuation> then;

    QString start() const { return steps.first().state; }
};

// The entries an enumerated variable shows while the wizard is in a state (the variables that
// several states share), and the answer the device proposes on entering it (none when empty).
struct WizardStateEntries
{
    QString path;
    QStringList entries;
    QString proposed{};
};

const QVector<WizardFlow>& wizardFlows();
QVector<WizardStateEntries> wizardEntriesFor(const QString& state);
