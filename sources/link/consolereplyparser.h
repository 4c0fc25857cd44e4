#pragma once

#include "datafromdevice.h"

#include <QByteArray>
#include <QStringList>
#include <optional>

// One meaningful line (or list block) from the console.
struct ConsoleReply
{
    enum class Kind { Banner, LoginAccepted, LoginRefused, Value, EnumerationList, ObjectList };

    Kind kind = Kind::Value;
    DataFromDevice record; // Value
    QStringList items;     // EnumerationList, ObjectList
    QString path;          // EnumerationList, ObjectList
    QByteArray line;       // LoginAccepted: the line itself
};

Q_DECLARE_METATYPE(ConsoleReply)

// Turns the console's byte stream into replies. Lines end in LF (a CR before it is dropped) and
// are decoded as UTF-8 whatever the locale. A line longer than kMaxLineBytes, and a list block of
// more than kMaxListItems items or kMaxListBytes, are discarded with a log line, so a peer cannot
// make the client buffer without bound.
class ConsoleReplyParser
{
public:
    static constexpr int kMaxLineBytes = 64 * 1024;
    static constexpr int kMaxListItems = 100000;
    static constexpr int kMaxListBytes = 4 * 1024 * 1024;

    void append(const QByteArray& bytes);

    // The next reply from the complete lines received so far, or nothing once they are used up.
    // A partial last line waits for the rest.
    std::optional<ConsoleReply> next();

    // Forgets buffered bytes and any open list: for a new connection.
    void reset();

    // The reply grammar applied to one decoded line, in the parser's current list state.
    std::optional<ConsoleReply> parseLine(const QString& line);

private:
    enum class ListKind { None, Enumeration, ProcessingObjects };

    std::optional<QByteArray> takeLine();
    std::optional<ConsoleReply> parseListLine(const QString& line);
    void openList(ListKind kind, const QString& path);
    void closeList();
    static DataFromDevice parseValueReply(const QString& word, const QStringList& pieces);

    QByteArray m_buffer;
    int m_readPos = 0;
    bool m_discardingOverlongLine = false;

    ListKind m_list = ListKind::None;
    QString m_listPath;
    QStringList m_listItems;
    qint64 m_listBytes = 0;
    bool m_listDiscarded = false;
};
