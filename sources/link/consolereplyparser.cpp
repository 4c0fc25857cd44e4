#include "consolereplyparser.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <algorithm>
#include <cstring>
#include <iterator>

// The grammar is written once, for a line given as QLatin1String (an ASCII line, read straight
// from the received bytes) or as QStringView (any other line, decoded from UTF-8): the console
// speaks ASCII, and its lines are then neither decoded nor copied before their pieces are taken.

namespace {

const QLatin1String kBanner("Vimbal Console");
const QLatin1String kLoginAccepted("connect logged in as administrator");
const QLatin1String kLoginRefused("error could not connect as administrator");
const QLatin1String kError("error");

constexpr int kInitialBufferBytes = 64 * 1024;

bool isAscii(const char* bytes, int size)
{
    int i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, bytes + i, sizeof word);
        if (word & 0x8080808080808080ULL)
            return false;
    }
    for (; i < size; ++i) {
        if (static_cast<uchar>(bytes[i]) & 0x80)
            return false;
    }
    return true;
}

template<typename Text> bool isValueReplyWord(Text word)
{
    static const QLatin1String words[] = {QLatin1String("sub"),   QLatin1String("subr"),
                                          QLatin1String("set"),   QLatin1String("setr"),
                                          QLatin1String("get"),   QLatin1String("asyncget"),
                                          QLatin1String("unsubr")};
    return std::any_of(std::begin(words), std::end(words),
                       [word](QLatin1String known) { return word == known; });
}

// The position of an ASCII character at or after `from`, or -1. (Qt 5's QLatin1String::indexOf
// widens the whole text first; pieces are short, so a plain loop beats memchr.)
int indexOf(QLatin1String text, char character, int from)
{
    const char* data = text.data();
    for (int i = from; i < text.size(); ++i) {
        if (data[i] == character)
            return i;
    }
    return -1;
}

int indexOf(QStringView text, char character, int from)
{
    return int(text.indexOf(QLatin1Char(character), from));
}

// Calls visit(component) for each component of a backslash path, empty ones left out.
template<typename Text, typename Visit> void forEachComponent(Text path, Visit visit)
{
    for (int start = 0; start <= path.size();) {
        int end = indexOf(path, '\\', start);
        if (end < 0)
            end = path.size();
        if (end > start)
            visit(path.mid(start, end - start));
        start = end + 1;
    }
}

TextSpan appendText(QString& text, QLatin1String piece)
{
    const TextSpan span{text.size(), piece.size()};
    text.append(piece);
    return span;
}

TextSpan appendText(QString& text, QStringView piece)
{
    const TextSpan span{text.size(), int(piece.size())};
    text.append(piece.data(), int(piece.size()));
    return span;
}

QString toString(QLatin1String text)
{
    return QString(text);
}

QString toString(QStringView text)
{
    return text.toString();
}

// The line split at every double quote, as far as the grammar looks: its first four pieces
// (empty where there are fewer) and how many pieces there are, counting up to five.
template<typename Text> struct QuotedPieces
{
    explicit QuotedPieces(Text line)
    {
        int begin = 0;
        for (count = 1; count <= 4; ++count) {
            const int quote = indexOf(line, '"', begin);
            if (quote < 0) {
                pieces[count - 1] = line.mid(begin);
                return;
            }
            pieces[count - 1] = line.mid(begin, quote - begin);
            begin = quote + 1;
        }
    }

    Text pieces[4];
    int count = 0;
};

bool isReconfigurationAnswer(const QString& line)
{
    const QJsonObject answer = QJsonDocument::fromJson(line.toUtf8()).object();
    return answer.value(QLatin1String("id")).toString() ==
               QLatin1String(ConsoleReplyParser::kReconfigurationId) &&
           answer.value(QLatin1String("error")).isString();
}

} // namespace

ConsoleReplyParser::ConsoleReplyParser()
{
    // Reserved capacity is kept when the buffer runs empty.
    m_buffer.reserve(kInitialBufferBytes);
}

void ConsoleReplyParser::append(const char* bytes, int size)
{
    if (m_readPos > 0) {
        m_buffer.remove(0, m_readPos);
        m_readPos = 0;
    }
    m_buffer.append(bytes, size);
}

void ConsoleReplyParser::reset()
{
    m_buffer.resize(0);
    m_readPos = 0;
    m_discardingOverlongLine = false;
    closeList();
    if (const std::optional<qint64> discarded = m_overlongLines.rest())
        logOverlongLines(*discarded);
}

// The next complete line, without its line end, as bytes in the buffer (valid until the next
// append); false once none is left. A line past kMaxLineBytes is dropped as it comes, all of it.
bool ConsoleReplyParser::takeLine(const char** line, int* size)
{
    while (true) {
        const char* pending = m_buffer.constData() + m_readPos;
        const int pendingBytes = m_buffer.size() - m_readPos;
        const auto* end = static_cast<const char*>(std::memchr(pending, '\n', pendingBytes));
        if (!end) {
            if (pendingBytes > kMaxLineBytes || (m_discardingOverlongLine && pendingBytes > 0)) {
                discardOverlongLine(pendingBytes);
                m_buffer.resize(0);
                m_readPos = 0;
                m_discardingOverlongLine = true;
            }
            return false;
        }
        *line = pending;
        *size = int(end - pending);
        m_readPos += *size + 1;
        if (std::exchange(m_discardingOverlongLine, false) || *size > kMaxLineBytes) {
            discardOverlongLine(*size + 1);
            continue;
        }
        if (*size > 0 && pending[*size - 1] == '\r')
            --*size;
        return true;
    }
}

void ConsoleReplyParser::discardOverlongLine(qint64 bytes)
{
    if (const std::optional<qint64> discarded = m_overlongLines.due(bytes))
        logOverlongLines(*discarded);
}

void ConsoleReplyParser::logOverlongLines(qint64 bytes)
{
    qWarning().noquote() << QStringLiteral("Console line longer than %1 bytes: %2 bytes discarded")
                                .arg(kMaxLineBytes)
                                .arg(bytes);
}

ConsoleReplyBatch ConsoleReplyParser::takeReplies()
{
    ConsoleReplyBatch batch;
    batch.text.reserve(m_buffer.size() - m_readPos);
    const char* line = nullptr;
    int size = 0;
    while (takeLine(&line, &size)) {
        if (isAscii(line, size)) {
            handleLine(QLatin1String(line, size), size, batch);
        } else {
            // Invalid sequences become replacement characters.
            m_line = QString::fromUtf8(line, size);
            handleLine(QStringView(m_line), size, batch);
        }
    }
    return batch;
}

template<typename Text>
void ConsoleReplyParser::handleLine(Text line, int bytes, ConsoleReplyBatch& batch)
{
    if (m_list != ListKind::None)
        parseListLine(line, bytes, batch);
    else
        parseLine(line, batch);
}

template<typename Text> void ConsoleReplyParser::parseLine(Text line, ConsoleReplyBatch& batch)
{
    ConsoleReply reply;
    if (line == kBanner) {
        reply.kind = ConsoleReply::Kind::Banner;
        batch.replies.append(reply);
        return;
    }
    if (line == kLoginAccepted) {
        reply.kind = ConsoleReply::Kind::LoginAccepted;
        reply.line = appendText(batch.text, line);
        batch.replies.append(reply);
        return;
    }
    if (line == kLoginRefused) {
        reply.kind = ConsoleReply::Kind::LoginRefused;
        batch.replies.append(reply);
        return;
    }

    if (line.startsWith(kError) &&
        (line.size() == kError.size() || line.at(kError.size()) == ' ')) {
        reply.kind = ConsoleReply::Kind::Error;
        batch.replies.append(reply);
        return;
    }

    if (line.startsWith(QLatin1Char('{'))) {
        if (isReconfigurationAnswer(toString(line))) {
            reply.kind = ConsoleReply::Kind::ReconfigurationDone;
            reply.line = appendText(batch.text, line);
            batch.replies.append(reply);
        }
        return;
    }

    // The pieces between double quotes: the word, the path, a blank, the value.
    const QuotedPieces<Text> split(line);
    const Text word = split.pieces[0].trimmed();
    const Text path = split.pieces[1];
    const bool hasValue = split.count >= 4;

    if (word == QLatin1String("lc")) {
        openList(ListKind::Enumeration, toString(path.trimmed()));
        return;
    }
    if (word == QLatin1String("set") && !hasValue)
        return;
    if (isValueReplyWord(word)) {
        parseValueReply(word, path, split.pieces[3], batch);
        return;
    }
    if (word == QLatin1String("ls"))
        openList(ListKind::ProcessingObjects, toString(path.trimmed()));
}

// A block past its item or byte cap is dropped whole: its items are let go at once, and the
// block stays open without collecting until its end line, so its tail is not read as replies.
template<typename Text>
void ConsoleReplyParser::parseListLine(Text line, int bytes, ConsoleReplyBatch& batch)
{
    const bool enumeration = m_list == ListKind::Enumeration;
    if (line == (enumeration ? QLatin1String("endlc") : QLatin1String("endls"))) {
        if (!m_listDiscarded) {
            ConsoleReply reply;
            reply.kind =
                enumeration ? ConsoleReply::Kind::EnumerationList : ConsoleReply::Kind::ObjectList;
            reply.list = batch.lists.size();
            batch.lists.append({m_listPath, m_listItems});
            batch.replies.append(reply);
        }
        closeList();
        return;
    }
    if (!line.startsWith(QLatin1Char('\t')) || m_listDiscarded)
        return;
    m_listBytes += bytes;
    if (m_listItems.size() >= kMaxListItems || m_listBytes > kMaxListBytes) {
        if (const std::optional<qint64> lists = m_overlongLists.due()) {
            qWarning().noquote() << QStringLiteral("Console list %1 longer than %2 items or %3 "
                                                   "bytes discarded%4")
                                        .arg(m_listPath)
                                        .arg(kMaxListItems)
                                        .arg(kMaxListBytes)
                                        .arg(PeerLogLimiter::times(*lists));
        }
        m_listDiscarded = true;
        m_listItems.clear();
        return;
    }
    m_listItems.append(toString(line.mid(1)));
}

template<typename Text>
void ConsoleReplyParser::parseValueReply(Text word, Text path, Text value, ConsoleReplyBatch& batch)
{
    ConsoleReply reply;
    reply.command = appendText(batch.text, word);
    reply.value = appendText(batch.text, value);

    Text first[5];
    int count = 0;
    forEachComponent(path, [&](Text component) {
        if (count < 5)
            first[count] = component;
        ++count;
    });
    if (count > 0 && first[0] == QLatin1String("Node")) {
        reply.poName = appendText(batch.text, QLatin1String("NPO"));
        const int start = batch.text.size();
        batch.text.append(QLatin1String("Node"));
        bool root = true;
        forEachComponent(path, [&](Text component) {
            if (std::exchange(root, false) || component == QLatin1String("%"))
                return;
            batch.text.append(QLatin1Char('\\'));
            appendText(batch.text, component);
        });
        reply.svName = {start, batch.text.size() - start};
    } else if (count >= 4) {
        reply.poName = appendText(batch.text, first[1]);
        reply.svName = appendText(batch.text, first[3]);
    }
    if (count >= 5)
        reply.valueType = appendText(batch.text, first[4]);
    batch.replies.append(reply);
}

void ConsoleReplyParser::openList(ListKind kind, const QString& path)
{
    closeList();
    m_list = kind;
    m_listPath = path;
}

void ConsoleReplyParser::closeList()
{
    m_list = ListKind::None;
    m_listPath.clear();
    m_listItems.clear();
    m_listBytes = 0;
    m_listDiscarded = false;
}
