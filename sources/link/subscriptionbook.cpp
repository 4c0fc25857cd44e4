#include "subscriptionbook.h"

#include <algorithm>

void SubscriptionBook::want(const QString& target, const QObject* owner)
{
    if (!owner)
        return;
    std::vector<const QObject*>& owners = m_wanted[target];
    if (std::find(owners.begin(), owners.end(), owner) == owners.end())
        owners.push_back(owner);
}

bool SubscriptionBook::release(const QString& target, const QObject* owner)
{
    const auto found = m_wanted.find(target);
    if (!owner || found == m_wanted.end())
        return true;
    std::vector<const QObject*>& owners = found.value();
    owners.erase(std::remove(owners.begin(), owners.end(), owner), owners.end());
    if (!owners.empty())
        return false;
    m_wanted.erase(found);
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
    m_held.clear();
}
