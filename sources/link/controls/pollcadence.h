#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

// The pace of a polled control: one request outstanding at a time, the next one a poll period
// after the answer, so a slow link stretches the cadence to its answer time. A request that got
// no answer is repeated on the tenth tick after it was sent, once the link no longer holds it
// (it was refused or lost on the way). The owner sends when asked and reports answers; ticks
// come from `tick()`.
class PollCadence : public QObject
{
    Q_OBJECT

public:
    static constexpr int kPeriodMs = 100;
    static constexpr int kTicksBeforeRepeat = 10;

    explicit PollCadence(QObject* parent = nullptr);
    ~PollCadence() override;

    // A tick or trigger: true when a request should go out now (the owner then calls sent()).
    // While a request is outstanding it counts the tick and waits for the next; when it is due
    // for a repeat, `outstandingOnItsWay` tells whether the link still holds it.
    bool shouldSend(const std::function<bool()>& outstandingOnItsWay);
    void sent();
    void answered();
    // Polling pauses until the next trigger, which then sends at once.
    void pause();
    // The outstanding request is known to be lost: the next trigger sends at once.
    void forgetOutstanding() { m_replyReceived = true; }

Q_SIGNALS:
    void tick();

private:
    QTimer m_timer;
    bool m_replyReceived = true;
    int m_silentTicks = 0;
};
