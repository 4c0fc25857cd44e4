#include "consolereplyparser.h"

#include <QLoggingCategory>
#include <cstring>

namespace {

const QLatin1String kBanner("Vimbal Console");
const QLatin1String kLoginAccepted("connect logged in as administrator");
const QLatin1String kLoginRefused("error could not connect as administrator");

constexpr int kInitialBufferBytes = 64 * 1024;

bool isValueReplyWord(QStringView word)
{
    for (const char* known : {"sub", "subr", "set", "setr", "get", "asyncget", "unsubr"}) {
        if (word == QLatin1String(known))
            return true;
    }
    return false;
}

// Calls visit(component) for each component of a backslash path, empty ones left out.
template<typename Visit> void forEachComponent(QStringView path, Visit visit)
{
    int start = 0;
    for (int i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == QLatin1Char('\\')) {
            if (i > start)
                visit(path.mid(start, i - start));
            start = i + 1;
        }
    }
}

TextSpan appendText(QString& text, QStringView piece)
{
    const TextSpan span{text.size(), int(piece.size())};
    text.append(piece.data(), int(piece.size()));
    return span;
}

// The piece between the quote at `quote` and the next one (or the end of the line).
QStringView pieceAfter(QStringView line, int quote)
{
    const int next = int(line.indexOf(QLatin1Char('"'), quote + 1));
    return next < 0 ? line.mid(quote + 1) : line.mid(quote + 1, next - quote - 1);
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
}

// Decodes the next complete line into m_line; false once none is left.
bool ConsoleReplyParser::takeLine(int* lineBytes)
{
    while (true) {
        const char* pending = m_buffer.constData() + m_readPos;
        const int pendingBytes = m_buffer.size() - m_readPos;
        const auto* end = static_cast<const char*>(std::memchr(pending, '\n', pendingBytes));
        if (!end) {
            if (pendingBytes > kMaxLineBytes) {
                qWarning() << "Console line longer than" << kMaxLineBytes << "bytes discarded";
                m_buffer.resize(0);
                m_readPos = 0;
                m_discardingOverlongLine = true;
            }
            return false;
        }
        int size = int(end - pending);
        m_readPos += size + 1;
        if (std::exchange(m_discardingOverlongLine, false))
            continue;
        if (size > kMaxLineBytes) {
            qWarning() << "Console line longer than" << kMaxLineBytes << "bytes discarded";
            continue;
        }
        if (size > 0 && pending[size - 1] == '\r')
            --size;
        decode(pending, size);
        *lineBytes = size;
        return true;
    }
}

// ASCII, the console's usual text, is widened in place; anything else goes through the UTF-8
// decoder (which replaces invalid sequences).
void ConsoleReplyParser::decode(const char* bytes, int size)
{
    m_line.resize(size);
    QChar* out = m_line.data();
    for (int i = 0; i < size; ++i) {
        const auto byte = static_cast<uchar>(bytes[i]);
        if (byte >= 0x80) {
            m_line = QString::fromUtf8(bytes, size);
            return;
        }
        out[i] = QChar(byte);
    }
}

ConsoleReplyBatch ConsoleReplyParser::takeReplies()
{
    ConsoleReplyBatch batch;
    batch.text.reserve(m_buffer.size() - m_readPos);
    int lineBytes = 0;
    while (takeLine(&lineBytes)) {
        if (m_list != ListKind::None)
            parseListLine(m_line, lineBytes, batch);
        else
            parseLine(m_line, batch);
    }
    return batch;
}

void ConsoleReplyParser::parseLine(QStringView line, ConsoleReplyBatch& batch)
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

    // The line split at every double quote: the word, the path, a blank, the value.
    const int pathQuote = int(line.indexOf(QLatin1Char('"')));
    const QStringView word = (pathQuote < 0 ? line : line.left(pathQuote)).trimmed();
    const QStringView path = pathQuote < 0 ? QStringView() : pieceAfter(line, pathQuote);
    const int pathEnd = pathQuote < 0 ? int(line.size()) : pathQuote + int(path.size()) + 1;
    const int valueQuote =
        pathEnd < line.size() ? int(line.indexOf(QLatin1Char('"'), pathEnd + 1)) : -1;
    const bool hasValue = valueQuote >= 0;

    if (word == QLatin1String("lc")) {
        openList(ListKind::Enumeration, path.trimmed());
        return;
    }
    if (word == QLatin1String("set") && !hasValue)
        return;
    if (isValueReplyWord(word)) {
        parseValueReply(word, path, hasValue ? pieceAfter(line, valueQuote) : QStringView(), batch);
        return;
    }
    if (word == QLatin1String("ls"))
        openList(ListKind::ProcessingObjects, path.trimmed());
}

// A block past its item or byte cap is dropped whole: its items are let go at once, and the
// block stays open without collecting until its end line, so its tail is not read as replies.
void ConsoleReplyParser::parseListLine(QStringView line, int bytes, ConsoleReplyBatch& batch)
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
        qWarning() << "Console list" << m_listPath << "longer than" << kMaxListItems << "items or"
                   << kMaxListBytes << "bytes discarded";
        m_listDiscarded = true;
        m_listItems.clear();
        return;
    }
    m_listItems.append(line.mid(1).toString());
}

void ConsoleReplyParser::parseValueReply(QStringView word, QStringView path, QStringView value,
                                         ConsoleReplyBatch& batch)
{
    ConsoleReply reply;
    reply.command = appendText(batch.text, word);
    reply.value = appendText(batch.text, value);

    QStringView first[5];
    int count = 0;
    forEachComponent(path, [&](QStringView component) {
        if (count < 5)
            first[count] = component;
        ++count;
    });
    if (count > 0 && first[0] == QLatin1String("Node")) {
        reply.poName = appendText(batch.text, u"NPO");
        const int start = batch.text.size();
        batch.text.append(QLatin1String("Node"));
        bool root = true;
        forEachComponent(path, [&](QStringView component) {
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

void ConsoleReplyParser::openList(ListKind kind, QStringView path)
{
    closeList();
    m_list = kind;
    m_listPath = path.toString();
}

void ConsoleReplyParser::closeList()
{
    m_list = ListKind::None;
    m_listPath.clear();
    m_listItems.clear();
    m_listBytes = 0;
    m_listDiscarded = false;
}
