#pragma once

#include "answerpace.h"
#include "consolerequest.h"
#include "peerloglimiter.h"
#include "subscriptionbook.h"
#include "writeledger.h"

#include <QByteArray>
#include <QHash>
#include <QPair>
#include <QTimer>
#include <chrono>
#include <deque>
#include <functional>

// Flow control of the console: at most kMaxInFlight requests travel unanswered at a time, so a
// slow link lowers the request rate instead of piling requests up in front of the device. The
// rest wait, the user's writes first, then what pages ask for, then meter polls (only while no
// page waits, and only as many as the device answers within kPollBudget at its recent pace, at
// least kLeastPollsInFlight: a page opened meanwhile waits that long at most behind the meters,
// yet on a fast link the meters go out together). A waiting write to a variable
// is replaced by a newer one; a request the same as one waiting joins it (its answer reaches
// every receiver); `sub` and `unsub` follow the SubscriptionBook and join one on its way too.
//
// The device answers requests in order, each with one line or list (or an error line), amid the
// unasked updates of subscribed variables. An answer settles the oldest matching request; since
// the answers come in order, any request it overtakes was answered by a line not understood here.
// A reply that might be an unasked update (`subr`, an `lc` list) settles only the oldest request.
// A write counts until the next answer: the updates it causes come right after its own answer.
// The WriteLedger knows each variable's writes still awaiting their answer.
//
// A request left unanswered for the answer bound after it was written is given up (and logged,
// sparingly): the device ignored it, and in-order settling would otherwise keep every request
// behind it in the window for good. Those behind it that heard a possible answer meanwhile go
// with it. The bound is generous, so that a slow device keeps its requests.
//
// Closed until the login succeeds: meanwhile requests go out as they come, untracked; closing
// forgets everything waiting and travelling. GUI thread only.
class RequestWindow
{
public:
    static constexpr int kMaxInFlight = 32;
    static constexpr int kLeastPollsInFlight = 8;
    static constexpr std::chrono::milliseconds kPollBudget{25};
    // As long as the watchdog waits before it calls a device silent.
    static constexpr std::chrono::milliseconds kAnswerBound{15000};

    // `writeNews` hears of a variable's newer writes and of writes that ended without the
    // device's value (WriteLedger).
    RequestWindow(std::function<void(const QByteArray&)> send, WriteLedger::Announce writeNews);

    // How long a request may wait for its answer from when it was written (kAnswerBound).
    void setAnswerBound(std::chrono::milliseconds answerBound);

    void setOpen(bool open);
    bool isOpen() const { return m_open; }

    void submit(ConsoleRequest request);
    // The owner's waiting requests other than writes are withdrawn (a write the user made still
    // lands); requests that others wait for too stay.
    void cancel(const QObject* owner);
    // The owner is going away: the subscriptions it still wants end where nobody else wants
    // them, those of variables it was bound to before included.
    void releaseSubscriptions(const QObject* owner);
    // The user's waiting writes go out now, past the window: the link is about to close, and
    // what the user set must still reach the device.
    void sendWaitingWrites();
    // True while a request of the owner waits or travels.
    bool isPending(const QObject* owner) const;
    // The value of the newest write to the variable (its path as the line writes it) that the
    // device has not answered yet; none when it answered every one.
    std::optional<QString> unansweredWrite(const QString& target) const
    {
        return m_writes.newestOpen(target);
    }

    // What the device sent back.
    void onValueReply(QStringView replyWord, const QString& poName, const QString& svName);
    void onListReply(bool enumeration, const QString& path);
    void onErrorReply();

    int inFlight() const { return int(m_inFlight.size()); }
    // Requests in flight whose answer has not come yet.
    int awaitingAnswers() const;
    int waiting() const;
    // Every reply counted so far, asked for or not: the device's sign of life.
    quint64 repliesSeen() const { return m_repliesSeen; }

private:
    using Lane = std::deque<ConsoleRequest>;

    void submitSubscription(ConsoleRequest request);
    void submitUnsubscription(ConsoleRequest request);
    void endSubscription(ConsoleRequest unsubscription);
    bool joinWaitingWrite(const ConsoleRequest& request);
    bool joinWaiting(const ConsoleRequest& request);
    bool joinTravelling(const ConsoleRequest& request);
    static bool joinSame(std::deque<ConsoleRequest>& requests, const ConsoleRequest& request);
    void dropWaiting(QLatin1String command, const QString& target);
    void enqueue(ConsoleRequest request);
    ConsoleRequest takeFirst(Lane& waiting);
    void removeWaiting(const std::function<bool(ConsoleRequest&)>& remove);
    void forget(const ConsoleRequest& request);
    bool isWaiting(const QString& command, const QString& target) const;
    Lane& lane(ConsoleRequest::Priority priority) { return m_waiting[int(priority)]; }
    const Lane& lane(ConsoleRequest::Priority priority) const { return m_waiting[int(priority)]; }
    bool hasRoomFor(ConsoleRequest::Priority priority) const;
    Lane* nextLane();
    void pump();
    void dispatch(ConsoleRequest request);
    void settle(std::deque<ConsoleRequest>::iterator answered, bool mayBeUnasked,
                bool refused = false);
    void land(std::deque<ConsoleRequest>::iterator end);
    void armOverdueTimer();
    void giveUpOverdue();
    void reportGivenUp(const ConsoleRequest& request);

    std::function<void(const QByteArray&)> m_send;
    bool m_open = false;
    Lane m_waiting[3];
    // How many wait under each command and target (requests with the same key are the same
    // request, but for a write's value), for quick look-ups.
    QHash<QPair<QString, QString>, int> m_waitingKeys;
    std::deque<ConsoleRequest> m_inFlight;
    int m_pollsInFlight = 0;
    AnswerPace m_pace;
    SubscriptionBook m_subscriptions;
    WriteLedger m_writes;
    quint64 m_repliesSeen = 0;
    std::chrono::milliseconds m_answerBound = kAnswerBound;
    QTimer m_overdueTimer; // runs out when the oldest request in flight is due
    PeerLogLimiter m_givenUpLog;
};
