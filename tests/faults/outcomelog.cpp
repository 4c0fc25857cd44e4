#include "outcomelog.h"

namespace {

QString describe(const OutcomeLog::Report& report)
{
    switch (report.kind) {
    case OutcomeLog::Kind::Success:
        return QStringLiteral("success \"%1\"").arg(report.text);
    case OutcomeLog::Kind::Failure:
        return QStringLiteral("failure \"%1\"").arg(report.text);
    case OutcomeLog::Kind::Note:
        return QStringLiteral("error text \"%1\"").arg(report.text);
    }
    return QString();
}

} // namespace

OutcomeLog::OutcomeLog(const QString& part, bool failuresAnyTime)
    : m_part(part), m_failuresAnyTime(failuresAnyTime)
{
}

void OutcomeLog::begin(int operation)
{
    m_running = operation;
    m_outcome.reset();
    m_lastNote.clear();
}

void OutcomeLog::end()
{
    m_running = -1;
}

void OutcomeLog::success(const QString& text, int operation)
{
    report(Kind::Success, text, operation);
}

void OutcomeLog::failure(const QString& text, int operation)
{
    report(Kind::Failure, text, operation);
}

void OutcomeLog::note(const QString& text, int operation)
{
    report(Kind::Note, text, operation);
}

void OutcomeLog::report(Kind kind, const QString& text, int operation)
{
    const Report current{kind, text};
    const bool belongs = m_running >= 0 && (operation == kRunning || operation == m_running);
    if (!belongs) {
        if (kind == Kind::Success || !m_failuresAnyTime)
            m_violations.append(QStringLiteral("%1: %2 while none of its operations ran")
                                    .arg(m_part, describe(current)));
        return;
    }
    if (m_outcome) {
        if (kind != Kind::Success && m_failuresAnyTime)
            return; // a link may be lost after its operation ended either way
        m_violations.append(QStringLiteral("%1: %2 after the outcome %3")
                                .arg(m_part, describe(current), describe(*m_outcome)));
        return;
    }
    if (kind == Kind::Note) {
        m_lastNote = text;
        return;
    }
    if (kind == Kind::Success && !m_lastNote.isEmpty())
        m_violations.append(QStringLiteral("%1: %2 after the error \"%3\"")
                                .arg(m_part, describe(current), m_lastNote));
    m_outcome = current;
}
