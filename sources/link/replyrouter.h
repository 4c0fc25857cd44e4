#pragma once

#include "datafromdevice.h"

#include <QHash>
#include <QString>
#include <vector>

// Something that takes the replies for one processing object and state variable.
class ReplyReceiver
{
public:
    ReplyReceiver();
    virtual ~ReplyReceiver() = default;

    // Construction order: receivers of one variable get a reply in this order.
    quint64 receiverSequence() const { return m_sequence; }

    virtual void receiveReply(const DataFromDevice& reply) = 0;

private:
    quint64 m_sequence;
};

// Delivers each reply only to the receivers bound to its processing object and state variable,
// so the cost of a reply does not grow with the number of live controls. Receivers of one
// variable are served in construction order. Receivers may bind, move and unbind (and be
// destroyed) while a reply is being delivered. GUI thread only.
class ReplyRouter
{
public:
    void bind(ReplyReceiver* receiver, const QString& poName, const QString& svName);
    void unbind(ReplyReceiver* receiver, const QString& poName, const QString& svName);
    void deliver(const DataFromDevice& reply);

    int receiverCount(const QString& poName, const QString& svName) const;

private:
    static QString key(const QString& poName, const QString& svName);

    QHash<QString, std::vector<ReplyReceiver*>> m_receivers;
};
