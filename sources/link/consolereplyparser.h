#pragma once

#include "peerloglimiter.h"

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

// A stretch of ConsoleReplyBatch::text.
struct TextSpan
{
    int position = 0;
    int length = 0;
};

// One meaningful line (or list block) from the console.
struct ConsoleReply
{
    enum class Kind {
        Banner,
        LoginAccepted,
        LoginRefused,
        Value,
        EnumerationList,
        ObjectList,
        ReconfigurationDone,
        Error, // the device refused a request ("error <text>")
    };

    Kind kind = Kind::Value;
    // Value: the reply word and the fields of its DataFromDevice record.
    TextSpan command, poName, svName, valueType, value;
    // LoginAccepted, ReconfigurationDone: the line itself.
    TextSpan line;
    // EnumerationList, ObjectList: index into ConsoleReplyBatch::lists.
    int list = -1;
};

struct ConsoleList
{
    QString path;
    QStringList items;
};

// The replies of one read, in arrival order. Their texts are stretches of one shared text, so a
// batch costs a few allocations however many replies it holds.
struct ConsoleReplyBatch
{
    QString text;
    QVector<ConsoleReply> replies;
    QVector<ConsoleList> lists;
    int attempt = 0; // the connect request the replies arrived on (set by the socket worker)

    QStringView view(TextSpan span) const
    {
        return QStringView(text).mid(span.position, span.length);
    }
};

Q_DECLARE_METATYPE(ConsoleReplyBatch)

// Turns the console's byte stream into replies. Lines end in LF (a CR before it is dropped) and
// are decoded as UTF-8 whatever the locale. A line longer than kMaxLineBytes, and a list block of
// more than kMaxListItems items or kMaxListBytes, are discarded with a log line (one a second
// at most, counting the bytes or lists), so a peer can neither make the client buffer without
// bound nor fill its log. Buffers are reused from read to read: parsing allocates per read, not
// per reply.
//
// A reconfiguration (one raw JSON line {"id":kReconfigurationId,"method":"Reconfig",...}) ends
// with one line from the device: the JSON object {"error":"<text>","id":kReconfigurationId}, the
// error empty when the device took the configuration.
class ConsoleReplyParser
{
public:
    static constexpr const char* kReconfigurationId = "builder config reconfig";
    static constexpr int kMaxLineBytes = 64 * 1024;
    static constexpr int kMaxListItems = 100000;
    static constexpr int kMaxListBytes = 4 * 1024 * 1024;

    ConsoleReplyParser();

    void append(const char* bytes, int size);
    void append(const QByteArray& bytes) { append(bytes.constData(), bytes.size()); }

    // The replies in the complete lines received so far. A partial last line waits for the rest.
    ConsoleReplyBatch takeReplies();

    // Forgets buffered bytes and any open list: for a new connection. Logs what it discarded
    // and has not yet said.
    void reset();

private:
    enum class ListKind { None, Enumeration, ProcessingObjects };

    bool takeLine(const char** line, int* size);
    void discardOverlongLine(qint64 bytes);
    static void logOverlongLines(qint64 bytes);
    template<typename Text> void handleLine(Text line, int bytes, ConsoleReplyBatch& batch);
    template<typename Text> void parseLine(Text line, ConsoleReplyBatch& batch);
    template<typename Text> void parseListLine(Text line, int bytes, ConsoleReplyBatch& batch);
    template<typename Text>
    static void parseValueReply(Text word, Text path, Text value, ConsoleReplyBatch& batch);
    void openList(ListKind kind, const QString& path);
    void closeList();

    QByteArray m_buffer;
    int m_readPos = 0;
    bool m_discardingOverlongLine = false;
    PeerLogLimiter m_overlongLines;
    QString m_line; // the current line when it is not ASCII, decoded

    ListKind m_list = ListKind::None;
    QString m_listPath;
    QStringList m_listItems;
    qint64 m_listBytes = 0;
    bool m_listDiscarded = false;
    PeerLogLimiter m_overlongLists;
};
