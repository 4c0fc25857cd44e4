#include "shownframes.h"

#include "testharness.h"

#include <QColor>
#include <QQmlExpression>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <qqml.h>

bool looksPending(QQuickItem* control)
{
    if (auto* handle = control->property("handle").value<QQuickItem*>())
        return handle->opacity() < 1;
    auto* face = control->property("contentItem").value<QQuickItem*>();
    QQuickItem* text = face ? face : control;
    const QColor dimmed =
        QQmlExpression(qmlContext(control), control, QStringLiteral("Theme.textDim"))
            .evaluate()
            .value<QColor>();
    return text->opacity() < 1 || text->property("color").value<QColor>() == dimmed;
}

ShownFrames::ShownFrames(QQuickWindow* window, Look look)
    : m_window(window), m_look(std::move(look))
{
    m_drawing = connect(m_window, &QQuickWindow::frameSwapped, this, [this] {
        const QString now = m_look();
        if (m_shown.isEmpty() || m_shown.last() != now)
            m_shown.append(now);
        ++m_drawn;
        m_window->update();
    });
    m_window->update();
}

bool ShownFrames::waitForFrame()
{
    QSignalSpy drawn(m_window, &QQuickWindow::frameSwapped);
    return drawn.wait(qx8test::timeoutMs()) || !drawn.isEmpty();
}

bool ShownFrames::stop()
{
    const bool came = waitForFrame();
    disconnect(m_drawing);
    return came;
}
