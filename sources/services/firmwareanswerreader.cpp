#include "firmwareanswerreader.h"

QList<FirmwareAnswerReader::Answer> FirmwareAnswerReader::add(const QByteArray& bytes)
{
    m_pending += bytes;
    QList<Answer> answers;
    for (int end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
        QByteArray text = m_pending.left(end);
        m_pending.remove(0, end + 1);
        if (m_overlong || text.size() > kMaximumLength) {
            m_overlong = false;
            continue;
        }
        if (const int nul = text.indexOf('\0'); nul >= 0)
            text.truncate(nul);
        if (text.endsWith('\r'))
            text.chop(1);
        Kind kind = Kind::Other;
        if (text == "writer OK")
            kind = m_pending.isEmpty() ? Kind::WriterOk : Kind::WriterOkFollowed;
        else if (text.startsWith("error"))
            kind = Kind::Refused;
        answers.append({kind, text});
    }
    // The rest of an overlong line is dropped up to its end, whenever that comes.
    if (m_pending.size() > kMaximumLength) {
        m_pending.clear();
        m_overlong = true;
    }
    return answers;
}

std::optional<QByteArray> FirmwareAnswerReader::unfinishedLine() const
{
    if (m_overlong)
        return QByteArray();
    if (m_pending.isEmpty())
        return std::nullopt;
    const int nul = m_pending.indexOf('\0');
    return nul < 0 ? m_pending : m_pending.left(nul);
}
