#include "answerpace.h"

#include <algorithm>

void AnswerPace::answered(Clock::time_point now)
{
    m_busy += std::max(now - m_mark, Clock::duration(0));
    m_mark = now;
    if (++m_answers >= kRemembered) {
        m_busy /= 2;
        m_answers /= 2;
    }
}

int AnswerPace::answersWithin(std::chrono::milliseconds budget, int least, int most) const
{
    if (m_answers == 0)
        return least;
    const auto perAnswer = m_busy / m_answers;
    const auto within = perAnswer.count() > 0 ? budget / perAnswer : most;
    return int(std::clamp<decltype(within)>(within, least, most));
}
