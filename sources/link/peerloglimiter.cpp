#include "peerloglimiter.h"

#include <utility>

std::optional<qint64> PeerLogLimiter::due(qint64 amount)
{
    m_counted += amount;
    const Clock::time_point now = Clock::now();
    if (m_lastLine && now - *m_lastLine < m_interval)
        return std::nullopt;
    m_lastLine = now;
    return std::exchange(m_counted, 0);
}

std::optional<qint64> PeerLogLimiter::rest()
{
    if (m_counted == 0)
        return std::nullopt;
    m_lastLine = Clock::now();
    return std::exchange(m_counted, 0);
}

QString PeerLogLimiter::times(qint64 count)
{
    return count > 1 ? QStringLiteral(" (%1 times since the last report)").arg(count) : QString();
}
