#pragma once

#include "wizardflows.h"

#include <QObject>
#include <QTimer>

class DeviceState;
class StateVariable;

// The device's side of the wizards: a state machine over the wizard flows that follows every
// write of the wizard state (a flow's first state starts it; any other state is taken as it
// comes, so a test can force one), of the wizard event ("Next", "Previous", "Exit", "Cancel") and
// of the run-all variable, and reports the wizard state after each of them, changed or not.
// Entering a state gives the variables that several states share the entries of that state, and
// the answer the device proposes there.
// Automatic steps move on after `stepMs` (at once for 0, only on "Next" when negative).
class WizardEngine : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultStepMs = 1500;

    WizardEngine(DeviceState& state, int stepMs, QObject* parent = nullptr);

    // From the next automatic step on.
    void setStepMs(int stepMs) { m_stepMs = stepMs; }

private:
    void onValueChanged(const StateVariable* variable);
    void onStateWritten(const QString& state);
    void onEvent(const QString& event);
    void advance();
    void goBack();
    void enterStep(int step);
    void finishFlow();
    void startFlow(const QString& start);
    // Takes the state and its entries; report() then tells the clients.
    void setState(const QString& state);
    void report();
    bool holds(const WizardCondition& condition);
    const WizardFlow* flowStartingWith(const QString& state) const;

    DeviceState& m_state;
    StateVariable* m_wizardState;
    StateVariable* m_event;
    StateVariable* m_runAll;
    int m_stepMs;
    QTimer m_automaticStep;
    const WizardFlow* m_flow = nullptr;
    int m_step = -1;
    bool m_reporting = false;
};
