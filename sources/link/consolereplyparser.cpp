#include "consolereplyparser.h"

#include <QLoggingCategory>

namespace {

const QString kBanner = QStringLiteral("Vimbal Console");
const QString kLoginAccepted = QStringLiteral("connect logged in as administrator");
const QString kLoginRefused = QStringLiteral("error could not connect as administrator");

bool isValueReplyWord(const QString& word)
{
    static const QStringList words = {QStringLiteral("sub"),   QStringLiteral("subr"),
                                      QStringLiteral("set"),   QStringLiteral("setr"),
                                      QStringLiteral("get"),   QStringLiteral("asyncget"),
                                      QStringLiteral("unsubr")};
    return words.contains(word);
}

} // namespace

void ConsoleReplyParser::append(const QByteArray& bytes)
{
    if (m_readPos > 0) {
        m_buffer.remove(0, m_readPos);
        m_readPos = 0;
    }
    m_buffer.append(bytes);
}

void ConsoleReplyParser::reset()
{
    m_buffer.clear();
    m_readPos = 0;
    m_discardingOverlongLine = false;
    closeList();
}

std::optional<QByteArray> ConsoleReplyParser::takeLine()
{
    while (true) {
        const int end = m_buffer.indexOf('\n', m_readPos);
        if (end < 0) {
            if (m_buffer.size() - m_readPos > kMaxLineBytes) {
                qWarning() << "Console line longer than" << kMaxLineBytes << "bytes discarded";
                m_buffer.clear();
                m_readPos = 0;
                m_discardingOverlongLine = true;
            }
            return std::nullopt;
        }
        QByteArray line = m_buffer.mid(m_readPos, end - m_readPos);
        m_readPos = end + 1;
        if (m_readPos == m_buffer.size()) {
            m_buffer.clear();
            m_readPos = 0;
        }
        if (m_discardingOverlongLine) {
            m_discardingOverlongLine = false;
            continue;
        }
        if (line.size() > kMaxLineBytes) {
            qWarning() << "Console line longer than" << kMaxLineBytes << "bytes discarded";
            continue;
        }
        if (line.endsWith('\r'))
            line.chop(1);
        return line;
    }
}

std::optional<ConsoleReply> ConsoleReplyParser::next()
{
    while (const std::optional<QByteArray> line = takeLine()) {
        if (std::optional<ConsoleReply> reply = parseLine(QString::fromUtf8(*line)))
            return reply;
    }
    return std::nullopt;
}

std::optional<ConsoleReply> ConsoleReplyParser::parseLine(const QString& line)
{
    if (m_list != ListKind::None)
        return parseListLine(line);

    if (line == kBanner)
        return ConsoleReply{ConsoleReply::Kind::Banner, {}, {}, {}, {}};
    if (line == kLoginAccepted)
        return ConsoleReply{ConsoleReply::Kind::LoginAccepted, {}, {}, {}, line.toUtf8()};
    if (line == kLoginRefused)
        return ConsoleReply{ConsoleReply::Kind::LoginRefused, {}, {}, {}, {}};

    const QStringList pieces = line.split(QLatin1Char('"'));
    const QString word = pieces.first().trimmed();
    const QString listPath = pieces.size() >= 2 ? pieces.at(1).trimmed() : QString();

    if (word == QLatin1String("lc")) {
        openList(ListKind::Enumeration, listPath);
        return std::nullopt;
    }
    if (word == QLatin1String("set") && pieces.size() < 4)
        return std::nullopt;
    if (isValueReplyWord(word))
        return ConsoleReply{ConsoleReply::Kind::Value, parseValueReply(word, pieces), {}, {}, {}};
    if (word == QLatin1String("ls"))
        openList(ListKind::ProcessingObjects, listPath);
    return std::nullopt;
}

// A block past its item or byte cap is dropped whole: its items are let go at once, and the
// block stays open without collecting until its end line, so its tail is not read as replies.
std::optional<ConsoleReply> ConsoleReplyParser::parseListLine(const QString& line)
{
    const bool enumeration = m_list == ListKind::Enumeration;
    if (line == (enumeration ? QLatin1String("endlc") : QLatin1String("endls"))) {
        std::optional<ConsoleReply> reply;
        if (!m_listDiscarded) {
            reply = ConsoleReply{enumeration ? ConsoleReply::Kind::EnumerationList
                                             : ConsoleReply::Kind::ObjectList,
                                 {},
                                 m_listItems,
                                 m_listPath,
                                 {}};
        }
        closeList();
        return reply;
    }
    if (!line.startsWith(QLatin1Char('\t')) || m_listDiscarded)
        return std::nullopt;
    m_listBytes += line.size();
    if (m_listItems.size() >= kMaxListItems || m_listBytes > kMaxListBytes) {
        qWarning() << "Console list" << m_listPath << "longer than" << kMaxListItems << "items or"
                   << kMaxListBytes << "bytes discarded";
        m_listDiscarded = true;
        m_listItems.clear();
        return std::nullopt;
    }
    m_listItems.append(line.mid(1));
    return std::nullopt;
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

DataFromDevice ConsoleReplyParser::parseValueReply(const QString& word, const QStringList& pieces)
{
    DataFromDevice record;
    record.command = word;
    if (pieces.size() >= 4)
        record.value = pieces.at(3);
    const QString path = pieces.size() >= 2 ? pieces.at(1) : QString();
    const QStringList components = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);

    if (!components.isEmpty() && components.first() == QLatin1String("Node")) {
        record.poName = QStringLiteral("NPO");
        record.svName = QStringLiteral("Node");
        for (int i = 1; i < components.size(); ++i) {
            if (components.at(i) != QLatin1String("%"))
                record.svName += QLatin1Char('\\') + components.at(i);
        }
    } else if (components.size() >= 4) {
        record.poName = components.at(1);
        record.svName = components.at(3);
    }
    if (components.size() >= 5)
        record.valueType = components.at(4);
    return record;
}
