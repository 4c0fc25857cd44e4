#include "requestwindow.h"

#include "appbusyflag.h"

#include <QLoggingCategory>
#include <algorithm>

namespace {

const QLatin1String kSub("sub");
const QLatin1String kUnsub("unsub");
const QLatin1String kSet("set");
const QLatin1String kAsyncGet("asyncget");

} // namespace

RequestWindow::RequestWindow(std::function<void(const QByteArray&)> send,
                             WriteLedger::Announce writeNews)
    : m_send(std::move(send)), m_writes(std::move(writeNews))
{
    m_overdueTimer.setSingleShot(true);
    QObject::connect(&m_overdueTimer, &QTimer::timeout, &m_overdueTimer,
                     [this] { giveUpOverdue(); });
}

void RequestWindow::setAnswerBound(std::chrono::milliseconds answerBound)
{
    m_answerBound = answerBound;
    if (m_overdueTimer.isActive())
        armOverdueTimer();
}

void RequestWindow::setOpen(bool open)
{
    if (open == m_open)
        return;
    m_open = open;
    for (Lane& waiting : m_waiting)
        waiting.clear();
    m_waitingKeys.clear();
    m_inFlight.clear();
    m_pollsInFlight = 0;
    m_pace.reset();
    m_subscriptions.clear();
    m_writes.clear();
    m_overdueTimer.stop();
    m_writes.announce();
}

int RequestWindow::waiting() const
{
    int count = 0;
    for (const Lane& waiting : m_waiting)
        count += int(waiting.size());
    return count;
}

void RequestWindow::submit(ConsoleRequest request)
{
    if (!m_open) {
        m_send(request.line);
        return;
    }
    if (request.isCommand(kSub))
        submitSubscription(std::move(request));
    else if (request.isCommand(kUnsub))
        submitUnsubscription(std::move(request));
    else if (!(request.isCommand(kSet) ? joinWaitingWrite(request) : joinWaiting(request)))
        enqueue(std::move(request));
    pump();
    m_writes.announce();
}

// A newcomer asks for the value even when the variable is held already, unless the answer of a
// `sub` on its way will bring it.
void RequestWindow::submitSubscription(ConsoleRequest request)
{
    m_subscriptions.want(request, request.owners.isEmpty() ? nullptr : request.owners[0]);
    dropWaiting(kUnsub, request.target);
    if (!joinTravelling(request) && !joinWaiting(request))
        enqueue(std::move(request));
}

// Ends a subscription nobody wants any more; one that never went out is just taken back.
void RequestWindow::submitUnsubscription(ConsoleRequest request)
{
    const QObject* owner = request.owners.isEmpty() ? nullptr : request.owners[0];
    if (m_subscriptions.release(request.target, owner))
        endSubscription(std::move(request));
}

void RequestWindow::endSubscription(ConsoleRequest unsubscription)
{
    dropWaiting(kSub, unsubscription.target);
    if (m_subscriptions.isHeld(unsubscription.target) && !joinTravelling(unsubscription) &&
        !joinWaiting(unsubscription))
        enqueue(std::move(unsubscription));
}

void RequestWindow::releaseSubscriptions(const QObject* owner)
{
    for (const ConsoleRequest& subscription : m_subscriptions.releaseAll(owner)) {
        if (std::optional<ConsoleRequest> unsubscription = subscription.unsubscription())
            endSubscription(std::move(*unsubscription));
    }
    pump();
}

// The newest value replaces the one waiting, in its place: nothing older can overtake it.
bool RequestWindow::joinWaitingWrite(const ConsoleRequest& request)
{
    if (!isWaiting(request.command, request.target))
        return false;
    Lane& writes = lane(request.priority);
    const auto found = std::find_if(writes.begin(), writes.end(), [&](const ConsoleRequest& r) {
        return r.isCommand(kSet) && r.target == request.target;
    });
    if (found == writes.end())
        return false;
    found->line = request.line;
    found->value = request.value;
    for (const QObject* owner : request.owners)
        found->addOwner(owner);
    m_writes.replaced(*found);
    return true;
}

bool RequestWindow::joinWaiting(const ConsoleRequest& request)
{
    return isWaiting(request.command, request.target) && joinSame(lane(request.priority), request);
}

// Only for subscriptions: a read sent again after its twin left asks for news.
bool RequestWindow::joinTravelling(const ConsoleRequest& request)
{
    return joinSame(m_inFlight, request);
}

bool RequestWindow::joinSame(std::deque<ConsoleRequest>& requests, const ConsoleRequest& request)
{
    const auto found = std::find_if(requests.begin(), requests.end(), [&](const ConsoleRequest& r) {
        return r.line == request.line;
    });
    if (found == requests.end())
        return false;
    for (const QObject* owner : request.owners)
        found->addOwner(owner);
    return true;
}

void RequestWindow::dropWaiting(QLatin1String command, const QString& target)
{
    if (!isWaiting(command, target))
        return;
    removeWaiting([&](ConsoleRequest& r) { return r.isCommand(command) && r.target == target; });
}

void RequestWindow::cancel(const QObject* owner)
{
    removeWaiting(
        [owner](ConsoleRequest& r) { return !r.isCommand(kSet) && r.removeOwner(owner); });
    for (ConsoleRequest& travelling : m_inFlight)
        travelling.removeOwner(owner);
    pump();
}

void RequestWindow::sendWaitingWrites()
{
    Lane& writes = lane(ConsoleRequest::Priority::Write);
    while (!writes.empty())
        dispatch(takeFirst(writes));
}

// With nothing waiting ahead of it, a request goes out at once when the window has room.
void RequestWindow::enqueue(ConsoleRequest request)
{
    if (request.isCommand(kSet))
        m_writes.opened(request);
    if (m_waitingKeys.isEmpty() && hasRoomFor(request.priority)) {
        dispatch(std::move(request));
        return;
    }
    ++m_waitingKeys[{request.command, request.target}];
    lane(request.priority).push_back(std::move(request));
}

ConsoleRequest RequestWindow::takeFirst(Lane& waiting)
{
    ConsoleRequest request = std::move(waiting.front());
    waiting.pop_front();
    forget(request);
    return request;
}

void RequestWindow::removeWaiting(const std::function<bool(ConsoleRequest&)>& remove)
{
    for (Lane& waiting : m_waiting) {
        const auto kept = std::remove_if(waiting.begin(), waiting.end(), [&](ConsoleRequest& r) {
            if (!remove(r))
                return false;
            forget(r);
            return true;
        });
        waiting.erase(kept, waiting.end());
    }
}

void RequestWindow::forget(const ConsoleRequest& request)
{
    const auto found = m_waitingKeys.find({request.command, request.target});
    if (found != m_waitingKeys.end() && --found.value() == 0)
        m_waitingKeys.erase(found);
}

bool RequestWindow::isWaiting(const QString& command, const QString& target) const
{
    return m_waitingKeys.contains({command, target});
}

bool RequestWindow::isPending(const QObject* owner) const
{
    const auto owned = [owner](const ConsoleRequest& r) { return r.isOwnedBy(owner); };
    const auto awaited = [&](const ConsoleRequest& r) { return !r.answered && owned(r); };
    if (std::any_of(m_inFlight.begin(), m_inFlight.end(), awaited))
        return true;
    return std::any_of(std::begin(m_waiting), std::end(m_waiting), [&](const Lane& waiting) {
        return std::any_of(waiting.begin(), waiting.end(), owned);
    });
}

bool RequestWindow::hasRoomFor(ConsoleRequest::Priority priority) const
{
    if (inFlight() >= kMaxInFlight)
        return false;
    return priority != ConsoleRequest::Priority::Poll ||
           m_pollsInFlight < m_pace.answersWithin(kPollBudget, kLeastPollsInFlight, kMaxInFlight);
}

// Polls wait while any page request does.
RequestWindow::Lane* RequestWindow::nextLane()
{
    for (Lane& waiting : m_waiting) {
        if (!waiting.empty())
            return hasRoomFor(waiting.front().priority) ? &waiting : nullptr;
    }
    return nullptr;
}

void RequestWindow::pump()
{
    while (Lane* next = nextLane())
        dispatch(takeFirst(*next));
}

// A poll the socket would drop while the application is busy does not go out to wait forever.
void RequestWindow::dispatch(ConsoleRequest request)
{
    if (AppBusyFlag::isBusy() && request.isCommand(kAsyncGet))
        return;
    m_subscriptions.markSent(request.command, request.target);
    request.sentAt = AnswerPace::Clock::now();
    if (awaitingAnswers() == 0)
        m_pace.busyFrom(request.sentAt);
    m_send(request.line);
    if (request.priority == ConsoleRequest::Priority::Poll)
        ++m_pollsInFlight;
    m_inFlight.push_back(std::move(request));
    if (!m_overdueTimer.isActive())
        armOverdueTimer();
}

void RequestWindow::onValueReply(QStringView replyWord, const QString& poName,
                                 const QString& svName)
{
    ++m_repliesSeen;
    const auto answered =
        std::find_if(m_inFlight.begin(), m_inFlight.end(), [&](const ConsoleRequest& r) {
            return !r.answered && r.answeredBy(replyWord, poName, svName);
        });
    if (answered != m_inFlight.end())
        settle(answered, replyWord == QLatin1String("subr") || replyWord == kSub);
    m_writes.announce();
}

void RequestWindow::onListReply(bool enumeration, const QString& path)
{
    ++m_repliesSeen;
    const auto answered =
        std::find_if(m_inFlight.begin(), m_inFlight.end(), [&](const ConsoleRequest& r) {
            return !r.answered && r.answeredByList(enumeration, path);
        });
    if (answered != m_inFlight.end())
        settle(answered, enumeration);
    m_writes.announce();
}

void RequestWindow::onErrorReply()
{
    ++m_repliesSeen;
    const auto oldest = std::find_if(m_inFlight.begin(), m_inFlight.end(),
                                     [](const ConsoleRequest& r) { return !r.answered; });
    if (oldest != m_inFlight.end())
        settle(oldest, false, true);
    m_writes.announce();
}

int RequestWindow::awaitingAnswers() const
{
    return int(std::count_if(m_inFlight.begin(), m_inFlight.end(),
                             [](const ConsoleRequest& r) { return !r.answered; }));
}

// A reply that may be an unasked update settles a request only when no older one is waiting for
// its answer: the device answers in order, so an update is what overtakes. A write stays until
// the next answer, which ends the updates it caused (the device sends those right after its own).
// A write the device refused (an error line) brings no value.
void RequestWindow::settle(std::deque<ConsoleRequest>::iterator answered, bool mayBeUnasked,
                           bool refused)
{
    const bool oldestAwaited = std::all_of(m_inFlight.begin(), answered,
                                           [](const ConsoleRequest& r) { return r.answered; });
    if (mayBeUnasked && !oldestAwaited) {
        answered->heardOutOfTurn = true;
        return;
    }
    m_pace.answered(AnswerPace::Clock::now());
    const bool write = answered->isCommand(kSet);
    answered->answered = true;
    if (write)
        m_writes.closed(*answered, !refused);
    land(write ? answered : answered + 1);
    pump();
}

// The requests in flight before `end` leave the window; a write among them still unanswered
// never will be.
void RequestWindow::land(std::deque<ConsoleRequest>::iterator end)
{
    for (auto it = m_inFlight.begin(); it != end; ++it) {
        if (it->priority == ConsoleRequest::Priority::Poll)
            --m_pollsInFlight;
        if (it->isCommand(kSet) && !it->answered)
            m_writes.closed(*it, false);
    }
    m_inFlight.erase(m_inFlight.begin(), end);
}

// Requests go out in order, so the oldest in flight is the first to be due.
void RequestWindow::armOverdueTimer()
{
    if (m_inFlight.empty())
        return;
    const auto left = m_inFlight.front().sentAt + m_answerBound - AnswerPace::Clock::now();
    m_overdueTimer.start(
        std::max(std::chrono::ceil<std::chrono::milliseconds>(left), std::chrono::milliseconds(0)));
}

// The overdue requests lead the window. A request behind one given up that heard a possible
// answer was most likely answered (only the order held that answer back): it leaves too, without
// a word. The time spent waiting in vain does not count towards the device's pace.
void RequestWindow::giveUpOverdue()
{
    const AnswerPace::Clock::time_point now = AnswerPace::Clock::now();
    const auto notDue =
        std::find_if(m_inFlight.begin(), m_inFlight.end(),
                     [&](const ConsoleRequest& r) { return r.sentAt + m_answerBound > now; });
    bool gaveUp = false;
    for (auto it = m_inFlight.begin(); it != notDue; ++it) {
        if (!it->answered && !it->heardOutOfTurn) {
            reportGivenUp(*it);
            gaveUp = true;
        }
    }
    auto end = notDue;
    if (gaveUp) {
        m_pace.busyFrom(now);
        end = std::find_if(notDue, m_inFlight.end(),
                           [](const ConsoleRequest& r) { return !r.heardOutOfTurn; });
    }
    land(end);
    pump();
    armOverdueTimer();
    m_writes.announce();
}

void RequestWindow::reportGivenUp(const ConsoleRequest& request)
{
    if (const std::optional<qint64> count = m_givenUpLog.due()) {
        qWarning().noquote() << QStringLiteral("No answer within %1 ms, request given up: %2%3")
                                    .arg(QString::number(m_answerBound.count()),
                                         QString::fromUtf8(request.line.trimmed()),
                                         PeerLogLimiter::times(*count));
    }
}
