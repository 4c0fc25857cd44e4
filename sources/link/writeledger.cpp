#include "writeledger.h"

WriteLedger::WriteLedger(Lapse lapse) : m_lapse(std::move(lapse)) {}

void WriteLedger::opened(const ConsoleRequest& write)
{
    Open& open = m_open[write.target];
    if (open.count++ == 0) {
        open.poName = write.poName;
        open.svName = write.svName;
    }
    open.newestValue = write.value;
}

void WriteLedger::replaced(const ConsoleRequest& write)
{
    const auto found = m_open.find(write.target);
    if (found != m_open.end())
        found->newestValue = write.value;
}

void WriteLedger::closed(const ConsoleRequest& write, bool confirmed)
{
    const auto found = m_open.find(write.target);
    if (found == m_open.end() || --found->count > 0)
        return;
    if (!confirmed)
        m_lapses.emplace_back(found->poName, found->svName);
    m_open.erase(found);
}

void WriteLedger::clear()
{
    for (const Open& open : qAsConst(m_open))
        m_lapses.emplace_back(open.poName, open.svName);
    m_open.clear();
}

void WriteLedger::announceLapses()
{
    std::vector<std::pair<QString, QString>> lapses;
    lapses.swap(m_lapses);
    for (const auto& [poName, svName] : lapses)
        m_lapse(poName, svName);
}

std::optional<QString> WriteLedger::newestOpen(const QString& target) const
{
    const auto found = m_open.constFind(target);
    if (found == m_open.constEnd())
        return std::nullopt;
    return found->newestValue;
}
