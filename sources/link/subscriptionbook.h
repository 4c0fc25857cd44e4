#pragma once

#include "consolerequest.h"

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
    void want(const ConsoleRequest& subscription, const QObject* owner);
    // True when nobody wants the variable any more. A release without an owner speaks for all.
    bool release(const QString& target, const QObject* owner);
    // The owner lets go of every variable it still wants (it is going away, and it may have
    // wanted several in turn); returns the subscriptions nobody wants any more.
    std::vector<ConsoleRequest> releaseAll(const QObject* owner);
    // True while a `sub` of the variable has gone out since its last `unsub`.
    bool isHeld(const QString& target) const { return m_held.contains(target); }
    void markSent(const QString& command, const QString& target);
    // The connection ended: the device holds nothing, and whoever still wants a variable asks
    // again at the next login.
    void clear();

private:
    struct Interest
    {
        ConsoleRequest subscription; // the first that asked for the variable
        std::vector<const QObject*> owners;
    };

    bool dropOwner(QHash<QString, Interest>::iterator interest, const QObject* owner);

    QHash<QString, Interest> m_wanted;
    QHash<const QObject*, QSet<QString>> m_targetsOf; // what each owner wants
    QSet<QString> m_held;
};
