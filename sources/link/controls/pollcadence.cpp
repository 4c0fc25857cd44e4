#include "pollcadence.h"

PollCadence::PollCadence(QObject* parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kPeriodMs);
    connect(&m_timer, &QTimer::timeout, this, &PollCadence::tick);
}

PollCadence::~PollCadence()
{
    m_timer.stop();
}

bool PollCadence::shouldSend(const std::function<bool()>& outstandingOnItsWay)
{
    if (m_replyReceived)
        return true;
    if (m_silentTicks++ < kTicksBeforeRepeat - 1 || outstandingOnItsWay()) {
        m_timer.start();
        return false;
    }
    return true;
}

void PollCadence::sent()
{
    m_replyReceived = false;
    m_silentTicks = 0;
    m_timer.start();
}

void PollCadence::answered()
{
    m_timer.start();
    m_replyReceived = true;
}

void PollCadence::pause()
{
    m_timer.stop();
    m_replyReceived = true;
}
