#pragma once

#include <QtGlobal>

// How many bytes a link of a given rate lets through at a moment: credit accrues with time, up
// to a short burst, so that bytes leave in small writes a few milliseconds apart and a link that
// was idle does not then send a flood.
class SendPacer
{
public:
    // 0: no limit.
    void setRate(int bytesPerSecond, qint64 nowMs);
    bool limited() const { return m_rate > 0; }

    // Whole bytes that may be written at `nowMs`.
    qint64 allowance(qint64 nowMs);
    void spend(qint64 bytes);
    // Milliseconds until the next write is worth making; 0 while a byte may go now.
    int msUntilNextWrite() const;

private:
    double burst() const;

    int m_rate = 0;
    double m_credit = 0;
    qint64 m_creditedAtMs = 0;
};
