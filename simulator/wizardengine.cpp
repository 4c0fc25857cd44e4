#include "wizardengine.h"

#include "devicestate.h"

namespace {
const QString kInactive = QStringLiteral("Inactive");
} // namespace

WizardEngine::WizardEngine(DeviceState& state, int stepMs, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_wizardState(state.variable(QStringLiteral("Node\\Wizard\\SV\\WizardState")))
    , m_event(state.variable(QStringLiteral("Node\\Wizard\\SV\\WizardEvent")))
    , m_runAll(state.variable(QStringLiteral("Node\\Wizard\\SV\\WizardRunAll")))
    , m_stepMs(stepMs)
{
    Q_ASSERT(m_wizardState && m_event && m_runAll);
    m_automaticStep.setSingleShot(true);
    connect(&m_automaticStep, &QTimer::timeout, this, [this] {
        advance();
        report();
    });
    connect(&m_state, &DeviceState::valueChanged, this, &WizardEngine::onValueChanged);
}

// The engine's own reports come back through the same signal; they are not writes. Every write
// ends in one report of the state.
void WizardEngine::onValueChanged(const StateVariable* variable)
{
    if (m_reporting)
        return;
    const QString value = variable->text(StateVariable::Aspect::Value);
    if (variable == m_wizardState)
        onStateWritten(value);
    else if (variable == m_event)
        onEvent(value);
    else if (variable != m_runAll)
        return;
    report();
}

void WizardEngine::onStateWritten(const QString& state)
{
    if (flowStartingWith(state)) {
        startFlow(state);
        return;
    }
    m_automaticStep.stop();
    m_flow = nullptr;
    m_step = -1;
    for (const WizardFlow& flow : wizardFlows()) {
        for (int step = 0; step < flow.steps.size() && !m_flow; ++step) {
            if (flow.steps.at(step).state == state) {
                m_flow = &flow;
                m_step = step;
            }
        }
    }
    setState(state);
}

// Next also ends an automatic step early; a forced state outside every flow ends the wizards.
void WizardEngine::onEvent(const QString& event)
{
    if (event == QLatin1String("Next"))
        advance();
    else if (event == QLatin1String("Previous"))
        goBack();
    else if (event == QLatin1String("Exit") || event == QLatin1String("Cancel"))
        finishFlow();
}

void WizardEngine::advance()
{
    m_automaticStep.stop();
    if (!m_flow) {
        if (m_wizardState->text(StateVariable::Aspect::Value) != kInactive)
            finishFlow();
        return;
    }
    for (int step = m_step + 1; step < m_flow->steps.size(); ++step) {
        if (holds(m_flow->steps.at(step).when)) {
            enterStep(step);
            return;
        }
    }
    for (const WizardContinuation& next : m_flow->then) {
        if (holds(next.when)) {
            startFlow(next.flow);
            return;
        }
    }
    finishFlow();
}

// Back to the last step the user answered; at the first one the state stays.
void WizardEngine::goBack()
{
    if (!m_flow)
        return;
    for (int step = m_step - 1; step >= 0; --step) {
        const WizardStep& candidate = m_flow->steps.at(step);
        if (!candidate.automatic && holds(candidate.when)) {
            m_automaticStep.stop();
            enterStep(step);
            return;
        }
    }
}

void WizardEngine::enterStep(int step)
{
    m_step = step;
    const WizardStep& entered = m_flow->steps.at(step);
    if (entered.automatic && m_stepMs == 0) {
        advance();
        return;
    }
    setState(entered.state);
    if (entered.automatic && m_stepMs > 0)
        m_automaticStep.start(m_stepMs);
}

void WizardEngine::startFlow(const QString& start)
{
    m_flow = flowStartingWith(start);
    enterStep(0);
}

void WizardEngine::finishFlow()
{
    m_automaticStep.stop();
    m_flow = nullptr;
    m_step = -1;
    QString unused;
    m_runAll->assign(StateVariable::Aspect::Value, QString(), &unused);
    setState(kInactive);
}

void WizardEngine::setState(const QString& state)
{
    for (const WizardStateEntries& shared : wizardEntriesFor(state)) {
        if (StateVariable* variable = m_state.variable(shared.path);
            variable && variable->entries() != shared.entries)
            m_state.replaceEntries(*variable, shared.entries);
        if (!shared.proposed.isEmpty())
            m_state.change(shared.path, shared.proposed);
    }
    QString unused;
    m_wizardState->assign(StateVariable::Aspect::Value, state, &unused);
}

void WizardEngine::report()
{
    m_reporting = true;
    m_state.announce(*m_wizardState);
    m_reporting = false;
}

bool WizardEngine::holds(const WizardCondition& condition)
{
    if (condition.path.isEmpty())
        return true;
    const StateVariable* variable = m_state.variable(condition.path);
    return variable && variable->text(StateVariable::Aspect::Value) == condition.value;
}

const WizardFlow* WizardEngine::flowStartingWith(const QString& state) const
{
    for (const WizardFlow& flow : wizardFlows()) {
        if (flow.start() == state)
            return &flow;
    }
    return nullptr;
}
