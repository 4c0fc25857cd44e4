#pragma once

#include <QHash>
#include <QString>
#include <QStringView>
#include <deque>

// One shared text and one small number per distinct name. Reply records take their names from
// here instead of allocating them, and the reply router keys on the numbers. Names stay for the
// table's lifetime. GUI thread only.
class NameTable
{
public:
    // The number of `name`, taking it in if it is new.
    int intern(QStringView name);
    // The number of `name`, or -1 if it was never taken in.
    int find(QStringView name) const { return m_ids.value(name, -1); }
    const QString& text(int id) const { return m_texts[size_t(id)]; }
    int size() const { return int(m_texts.size()); }

private:
    std::deque<QString> m_texts; // never moved: the keys of m_ids view into them
    QHash<QStringView, int> m_ids;
};
