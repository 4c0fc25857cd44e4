#include "jsonanswerbuffer.h"

#include "backtickjson.h"

JsonAnswerBuffer::Outcome JsonAnswerBuffer::append(const QString& piece)
{
    const QByteArray bytes =
        QByteArray::fromStdString(backtickjson::decode(piece.toUtf8().toStdString()));
    if (m_text.isEmpty() && !bytes.trimmed().startsWith('{'))
        return {Status::Stray, {}};
    m_text += bytes;
    if (m_text.size() > kMaxBytes) {
        clear();
        return {Status::Overflow, {}};
    }
    for (; m_scanned < m_text.size(); ++m_scanned) {
        const char c = m_text.at(m_scanned);
        if (m_inString) {
            if (m_escaped)
                m_escaped = false;
            else if (c == '\\')
                m_escaped = true;
            else if (c == '"')
                m_inString = false;
        } else if (c == '"') {
            m_inString = true;
        } else if (c == '{' || c == '[') {
            ++m_depth;
        } else if ((c == '}' || c == ']') && --m_depth == 0) {
            // What follows the object in the same piece cannot be read: it goes with it.
            Outcome complete{Status::Complete, m_text.left(m_scanned + 1)};
            clear();
            return complete;
        }
    }
    return {Status::Waiting, {}};
}

void JsonAnswerBuffer::clear()
{
    m_text.clear();
    m_scanned = 0;
    m_depth = 0;
    m_inString = false;
    m_escaped = false;
}
