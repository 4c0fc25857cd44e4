#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

// Coalesces a burst of user changes into one write: the first change opens a window, and when
// it closes the latest value offered is written. A later change opens a new window.
template<typename Value> class WriteThrottle
{
public:
    WriteThrottle(int intervalMs, std::function<void()> onClose)
    {
        m_timer.setSingleShot(true);
        m_timer.setInterval(intervalMs);
        QObject::connect(&m_timer, &QTimer::timeout, std::move(onClose));
    }
    ~WriteThrottle() { m_timer.stop(); }

    bool isOpen() const { return m_timer.isActive(); }
    const Value& pending() const { return m_pending; }

    void offer(const Value& value)
    {
        m_pending = value;
        if (!m_timer.isActive())
            m_timer.start();
    }

private:
    QTimer m_timer;
    Value m_pending{};
};
