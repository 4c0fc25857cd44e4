#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// The ordered items of one form-encoded body ("application/x-www-form-urlencoded"). Keys and
// values are kept as given and encoded only in text(): every character outside A-Z a-z 0-9
// "-._~" is percent-encoded as UTF-8, so "+", "&", "=", "%", CR and LF always arrive as data and
// can never split or merge items. A null value is written as the bare key without "=", an
// empty one as the key followed by "=".
class FormQuery
{
public:
    void addItem(const QString& key, const QString& value) { m_items.append({key, value}); }

    bool isEmpty() const { return m_items.isEmpty(); }

    QByteArray text() const;
    // Reads the form of text(), or any text in which "&" and "=" separate items and keys and
    // every other byte is literal or percent-encoded UTF-8.
    static FormQuery fromText(const QByteArray& text);

    bool operator==(const FormQuery& other) const { return m_items == other.m_items; }

private:
    QList<QPair<QString, QString>> m_items;
};
