#include "qx8state.h"

#include "viewloader.h"

#include <QLoggingCategory>

QX8State::QX8State(QQuickView& view, const QString& name, const QString& qmlPath,
                   const QString& helpFileName, ViewLoader* viewLoader, QState* parent)
    : QState(parent)
    , m_name(name)
    , m_qmlPath(qmlPath)
    , m_helpFileName(helpFileName)
    , m_view(view)
    , m_viewLoader(viewLoader)
{
    connect(this, &QX8State::stateEntered, viewLoader, &ViewLoader::onStateEntered);
}

// The names of the enclosing screen states, outermost first, then this one.
QString QX8State::statePath() const
{
    QString path = m_name;
    for (QState* state = parentState(); state; state = state->parentState()) {
        if (auto* screen = qobject_cast<QX8State*>(state))
            path = screen->m_name + QStringLiteral("->") + path;
    }
    return path;
}

void QX8State::onEntry(QEvent* event)
{
    Q_UNUSED(event)
    qDebug().noquote() << m_prefix << "Entering state:" << statePath();
    Q_EMIT stateEntered(m_qmlPath, m_helpFileName);
}

void QX8State::onExit(QEvent* event)
{
    Q_UNUSED(event)
    qDebug().noquote() << m_prefix << "Exiting state:" << statePath();
}
