#include "replyrouter.h"

#include <algorithm>
#include <atomic>

namespace {
std::atomic<quint64> nextReceiverSequence{0};

bool earlier(const ReplyReceiver* a, const ReplyReceiver* b)
{
    return a->receiverSequence() < b->receiverSequence();
}
} // namespace

ReplyReceiver::ReplyReceiver() : m_sequence(nextReceiverSequence.fetch_add(1)) {}

QString ReplyRouter::key(const QString& poName, const QString& svName)
{
    return poName + QChar(0x1f) + svName;
}

void ReplyRouter::bind(ReplyReceiver* receiver, const QString& poName, const QString& svName)
{
    if (poName.isEmpty() || svName.isEmpty())
        return;
    std::vector<ReplyReceiver*>& receivers = m_receivers[key(poName, svName)];
    const auto position = std::lower_bound(receivers.begin(), receivers.end(), receiver, earlier);
    if (position == receivers.end() || *position != receiver)
        receivers.insert(position, receiver);
}

void ReplyRouter::unbind(ReplyReceiver* receiver, const QString& poName, const QString& svName)
{
    const auto found = m_receivers.find(key(poName, svName));
    if (found == m_receivers.end())
        return;
    std::vector<ReplyReceiver*>& receivers = found.value();
    receivers.erase(std::remove(receivers.begin(), receivers.end(), receiver), receivers.end());
    if (receivers.empty())
        m_receivers.erase(found);
}

void ReplyRouter::deliver(const DataFromDevice& reply)
{
    const QString replyKey = key(reply.poName, reply.svName);
    const auto found = m_receivers.constFind(replyKey);
    if (found == m_receivers.constEnd())
        return;
    // A handler may unbind or destroy receivers: serve a snapshot taken while all were alive,
    // and look each one up again (by sequence, without touching it) before serving it.
    std::vector<std::pair<quint64, ReplyReceiver*>> snapshot;
    snapshot.reserve(found.value().size());
    for (ReplyReceiver* receiver : found.value())
        snapshot.emplace_back(receiver->receiverSequence(), receiver);

    for (const auto& [sequence, receiver] : snapshot) {
        const auto current = m_receivers.constFind(replyKey);
        if (current == m_receivers.constEnd())
            return;
        const std::vector<ReplyReceiver*>& live = current.value();
        const auto position = std::lower_bound(
            live.begin(), live.end(), sequence,
            [](const ReplyReceiver* r, quint64 s) { return r->receiverSequence() < s; });
        if (position != live.end() && *position == receiver)
            receiver->receiveReply(reply);
    }
}

int ReplyRouter::receiverCount(const QString& poName, const QString& svName) const
{
    const auto found = m_receivers.constFind(key(poName, svName));
    return found == m_receivers.constEnd() ? 0 : int(found.value().size());
}
