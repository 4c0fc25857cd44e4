#pragma once

#include "datafromdevice.h"
#include "nametable.h"

#include <QHash>
#include <QString>
#include <vector>

// Something that takes the replies for one processing object and state variable, and hears of
// the writes to it: a newer value on its way, or writes ended without the device's answer.
class ReplyReceiver
{
public:
    ReplyReceiver();
    virtual ~ReplyReceiver() = default;

    // Construction order: receivers of one variable get a reply in this order.
    quint64 receiverSequence() const { return m_sequence; }

    virtual void receiveReply(const DataFromDevice& reply) = 0;
    // A newer value of the variable went on its way, written by any receiver (see WriteLedger).
    virtual void newerWrite() {}
    // Every write to the variable awaiting its answer ended without the device's value (see
    // WriteLedger): the replies heard meanwhile are what the device holds.
    virtual void writesUnanswered() {}

private:
    quint64 m_sequence;
};

// Delivers each reply only to the receivers bound to its processing object and state variable,
// so the cost of a reply does not grow with the number of live controls. Names are keyed by their
// numbers in names(), so a lookup builds no key text. Receivers of one variable are served in
// construction order. Receivers may bind, move and unbind (and be destroyed) while a reply is
// being delivered. GUI thread only.
class ReplyRouter
{
public:
    void bind(ReplyReceiver* receiver, const QString& poName, const QString& svName);
    void unbind(ReplyReceiver* receiver, const QString& poName, const QString& svName);
    void deliver(const DataFromDevice& reply);
    // The same for a reply whose names have the given numbers in names() (-1: not in it).
    void deliver(int poId, int svId, const DataFromDevice& reply);
    // Tells the receivers of the variable that a newer value of it went out.
    void deliverNewerWrite(const QString& poName, const QString& svName);
    // Tells the receivers of the variable that its writes went unanswered.
    void deliverWritesUnanswered(const QString& poName, const QString& svName);

    int receiverCount(const QString& poName, const QString& svName) const;
    NameTable& names() { return m_names; }

private:
    using Receivers = std::vector<ReplyReceiver*>;

    static quint64 key(int poId, int svId) { return quint64(quint32(poId)) << 32 | quint32(svId); }
    bool isBound(quint64 key, quint64 sequence, const ReplyReceiver* receiver) const;
    template<typename Call> void serve(int poId, int svId, const Call& call);

    NameTable m_names;
    QHash<quint64, Receivers> m_receivers;
    quint64 m_changes = 0; // counts binds and unbinds
};
