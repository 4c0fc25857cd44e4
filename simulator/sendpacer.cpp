#include "sendpacer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Writes come no closer than this: a few bytes each at slow rates, without waking every
// millisecond.
constexpr int writeSpacingMs = 4;

} // namespace

void SendPacer::setRate(int bytesPerSecond, qint64 nowMs)
{
    m_rate = bytesPerSecond;
    m_credit = burst();
    m_creditedAtMs = nowMs;
}

qint64 SendPacer::allowance(qint64 nowMs)
{
    if (!limited())
        return std::numeric_limits<qint64>::max();
    m_credit = std::min(burst(), m_credit + double(nowMs - m_creditedAtMs) * m_rate / 1000);
    m_creditedAtMs = nowMs;
    return qint64(m_credit);
}

void SendPacer::spend(qint64 bytes)
{
    if (limited())
        m_credit -= double(bytes);
}

int SendPacer::msUntilNextWrite() const
{
    const double missing = 1 - m_credit;
    if (!limited() || missing <= 0)
        return 0;
    return std::max(writeSpacingMs, int(std::ceil(missing * 1000 / m_rate)));
}

// A few writes' worth, so that a timer that fires late on a busy machine does not lower the
// rate; at least a byte.
double SendPacer::burst() const
{
    return std::max(1.0, 5.0 * writeSpacingMs * m_rate / 1000);
}
