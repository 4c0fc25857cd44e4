#include "replyrouter.h"

#include <QVarLengthArray>
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

void ReplyRouter::bind(ReplyReceiver* receiver, const QString& poName, const QString& svName)
{
    if (poName.isEmpty() || svName.isEmpty())
        return;
    Receivers& receivers = m_receivers[key(m_names.intern(poName), m_names.intern(svName))];
    const auto position = std::lower_bound(receivers.begin(), receivers.end(), receiver, earlier);
    if (position == receivers.end() || *position != receiver) {
        receivers.insert(position, receiver);
        ++m_changes;
    }
}

void ReplyRouter::unbind(ReplyReceiver* receiver, const QString& poName, const QString& svName)
{
    const auto found = m_receivers.find(key(m_names.find(poName), m_names.find(svName)));
    if (found == m_receivers.end())
        return;
    Receivers& receivers = found.value();
    receivers.erase(std::remove(receivers.begin(), receivers.end(), receiver), receivers.end());
    if (receivers.empty())
        m_receivers.erase(found);
    ++m_changes;
}

template<typename Call> void ReplyRouter::serve(int poId, int svId, const Call& call)
{
    if (poId < 0 || svId < 0)
        return;
    const quint64 variableKey = key(poId, svId);
    const auto found = m_receivers.constFind(variableKey);
    if (found == m_receivers.constEnd())
        return;
    if (found.value().size() == 1) {
        call(found.value().front());
        return;
    }
    // A handler may unbind or destroy receivers: serve a snapshot taken while all were alive,
    // and once the index has changed, look each one up again (without touching it) first.
    QVarLengthArray<std::pair<quint64, ReplyReceiver*>, 16> snapshot;
    for (ReplyReceiver* receiver : found.value())
        snapshot.append({receiver->receiverSequence(), receiver});
    const quint64 changes = m_changes;
    for (const auto& [sequence, receiver] : snapshot) {
        if (m_changes == changes || isBound(variableKey, sequence, receiver))
            call(receiver);
    }
}

void ReplyRouter::deliver(const DataFromDevice& reply)
{
    deliver(m_names.find(reply.poName), m_names.find(reply.svName), reply);
}

void ReplyRouter::deliver(int poId, int svId, const DataFromDevice& reply)
{
    serve(poId, svId, [&reply](ReplyReceiver* receiver) { receiver->receiveReply(reply); });
}

void ReplyRouter::deliverNewerWrite(const QString& poName, const QString& svName)
{
    serve(m_names.find(poName), m_names.find(svName),
          [](ReplyReceiver* receiver) { receiver->newerWrite(); });
}

void ReplyRouter::deliverWritesUnanswered(const QString& poName, const QString& svName)
{
    serve(m_names.find(poName), m_names.find(svName),
          [](ReplyReceiver* receiver) { receiver->writesUnanswered(); });
}

bool ReplyRouter::isBound(quint64 key, quint64 sequence, const ReplyReceiver* receiver) const
{
    const auto found = m_receivers.constFind(key);
    if (found == m_receivers.constEnd())
        return false;
    const Receivers& live = found.value();
    const auto position =
        std::lower_bound(live.begin(), live.end(), sequence, [](const ReplyReceiver* r, quint64 s) {
            return r->receiverSequence() < s;
        });
    return position != live.end() && *position == receiver;
}

int ReplyRouter::receiverCount(const QString& poName, const QString& svName) const
{
    const auto found = m_receivers.constFind(key(m_names.find(poName), m_names.find(svName)));
    return found == m_receivers.constEnd() ? 0 : int(found.value().size());
}
