#include "nametable.h"

int NameTable::intern(QStringView name)
{
    const auto found = m_ids.constFind(name);
    if (found != m_ids.constEnd())
        return found.value();
    const int id = size();
    m_texts.push_back(name.toString());
    m_ids.insert(QStringView(m_texts.back()), id);
    return id;
}
