#include "subscriptionbook.h"

#include <algorithm>

void SubscriptionBook::want(const ConsoleRequest& subscription, const QObject* owner)
{
    if (!owner)
        return;
    auto found = m_wanted.find(subscription.target);
    if (found == m_wanted.end()) {
        found = m_wanted.insert(subscription.target, {subscription, {}});
        found->subscription.owners.clear();
    }
    std::vector<const QObject*>& owners = found->owners;
    if (std::find(owners.begin(), owners.end(), owner) == owners.end()) {
        owners.push_back(owner);
        m_targetsOf[owner].insert(subscription.target);
    }
}

bool SubscriptionBook::release(const QString& target, const QObject* owner)
{
    const auto found = m_wanted.find(target);
    if (!owner || found == m_wanted.end())
        return true;
    const auto targets = m_targetsOf.find(owner);
    if (targets != m_targetsOf.end() && targets->remove(target) && targets->isEmpty())
        m_targetsOf.erase(targets);
    return dropOwner(found, owner);
}

std::vector<ConsoleRequest> SubscriptionBook::releaseAll(const QObject* owner)
{
    std::vector<ConsoleRequest> unwanted;
    for (const QString& target : m_targetsOf.take(owner)) {
        const auto found = m_wanted.find(target);
        if (found == m_wanted.end())
            continue;
        ConsoleRequest subscription = found->subscription;
        if (dropOwner(found, owner))
            unwanted.push_back(std::move(subscription));
    }
    return unwanted;
}

// True when the owner was the variable's last: then the variable is forgotten.
bool SubscriptionBook::dropOwner(QHash<QString, Interest>::iterator interest, const QObject* owner)
{
    std::vector<const QObject*>& owners = interest->owners;
    owners.erase(std::remove(owners.begin(), owners.end(), owner), owners.end());
    if (!owners.empty())
        return false;
    m_wanted.erase(interest);
    return true;
}

void SubscriptionBook::markSent(const QString& command, const QString& target)
{
    if (command == QLatin1String("sub"))
        m_held.insert(target);
    else if (command == QLatin1String("unsub"))
        m_held.remove(target);
}

void SubscriptionBook::clear()
{
    m_wanted.clear();
    m_targetsOf.clear();
    m_held.clear();
}
