#include "writeledger.h"

WriteLedger::WriteLedger(Announce announce) : m_announce(std::move(announce)) {}

void WriteLedger::opened(const ConsoleRequest& write)
{
    Open& open = m_open[write.target];
    if (open.count++ == 0) {
        open.poName = write.poName;
        open.svName = write.svName;
    }
    open.newestValue = write.value;
    m_news.push_back({write.poName, write.svName, News::Written});
}

void WriteLedger::replaced(const ConsoleRequest& write)
{
    const auto found = m_open.find(write.target);
    if (found == m_open.end())
        return;
    found->newestValue = write.value;
    m_news.push_back({write.poName, write.svName, News::Written});
}

void WriteLedger::closed(const ConsoleRequest& write, bool confirmed)
{
    const auto found = m_open.find(write.target);
    if (found == m_open.end() || --found->count > 0)
        return;
    if (!confirmed)
        m_news.push_back({found->poName, found->svName, News::Lapsed});
    m_open.erase(found);
}

void WriteLedger::clear()
{
    for (const Open& open : qAsConst(m_open))
        m_news.push_back({open.poName, open.svName, News::Lapsed});
    m_open.clear();
}

void WriteLedger::announce()
{
    std::vector<Tidings> news;
    news.swap(m_news);
    for (const Tidings& tidings : news)
        m_announce(tidings.poName, tidings.svName, tidings.news);
}

std::optional<QString> WriteLedger::newestOpen(const QString& target) const
{
    const auto found = m_open.constFind(target);
    if (found == m_open.constEnd())
        return std::nullopt;
    return found->newestValue;
}
