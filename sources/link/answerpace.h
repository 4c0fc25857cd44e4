#pragma once

#include <chrono>

// How long the device takes per answer while it has requests to answer: the time it was busy
// divided by the answers it gave, over its recent answers (time with nothing asked is not
// counted). From it the link tells how many requests may travel ahead of a newcomer whose
// answer should not wait longer than a budget.
class AnswerPace
{
public:
    using Clock = std::chrono::steady_clock;

    // A request went out while none was unanswered: the device is busy from `now`.
    void busyFrom(Clock::time_point now) { m_mark = now; }
    // An answer came; the device stays busy while requests remain unanswered.
    void answered(Clock::time_point now);
    // The answers the device gives within `budget` at its recent pace, between `least` and
    // `most`; `least` until an answer came.
    int answersWithin(std::chrono::milliseconds budget, int least, int most) const;
    void reset() { *this = AnswerPace(); }

private:
    // Halved whenever this many answers were counted, so that the pace follows a link that
    // changes.
    static constexpr int kRemembered = 64;

    Clock::time_point m_mark;
    Clock::duration m_busy{0};
    int m_answers = 0;
};
