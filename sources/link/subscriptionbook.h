#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <vector>

// Which variables the device keeps this connection subscribed to, and which live objects want
// each of them. A subscription is asked for when an object comes to want a variable (a newcomer
// needs its current value) and ended only when the last one lets go, so that objects sharing a
// variable never make the device end and restart its subscription. Variables are keyed by their
// path as the request line writes it. GUI thread only.
class SubscriptionBook
{
public:
    void want(const QString& target, const QObject* owner);
    // True when nobody wants the variable any more. A release without an owner speaks for all.
    bool release(const QString& target, const QObject* owner);
    // True while a `sub` of the variable has gone out since its last `unsub`.
    bool isHeld(const QString& target) const { return m_held.contains(target); }
    void markSent(const QString& command, const QString& target);
    // The connection ended: the device holds nothing, and whoever still wants a variable asks
    // again at the next login.
    void clear();

private:
    QHash<QString, std::vector<const QObject*>> m_wanted;
    QSet<QString> m_held;
};
