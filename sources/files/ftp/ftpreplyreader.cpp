#include "ftpreplyreader.h"

namespace {

const QLatin1String lineEnd("\r\n");

bool isDigitIn(QChar c, char low, char high)
{
    return c >= QLatin1Char(low) && c <= QLatin1Char(high);
}

QString withoutLineEnd(QString text)
{
    if (text.endsWith(lineEnd))
        text.chop(2);
    else if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

} // namespace

bool FtpReplyReader::startReply(const QString& line)
{
    if (line.size() < 3 || !isDigitIn(line.at(0), '1', '5') || !isDigitIn(line.at(1), '0', '5') ||
        !isDigitIn(line.at(2), '0', '9'))
        return false;
    for (int i = 0; i < 3; ++i)
        m_digits[i] = line.at(i).digitValue();
    m_started = true;
    return true;
}

bool FtpReplyReader::isEndLine(const QString& line) const
{
    const QStringRef code = line.leftRef(3);
    if (line.size() < 4 || code.toInt() != this->code() || !code.at(0).isDigit())
        return false;
    // A bare code with nothing after it also ends the reply.
    return line.at(3) == QLatin1Char(' ') || withoutLineEnd(line).size() == 3;
}

FtpReplyReader::Result FtpReplyReader::addLine(const QString& line)
{
    if (!m_started && !startReply(line))
        return Result::Dropped;

    const bool end = isEndLine(line);
    const bool continuation = !end && line.size() >= 4 && line.at(3) == QLatin1Char('-') &&
                              line.leftRef(3).toInt() == code();
    m_text += (end || continuation) ? line.mid(4) : line;
    if (m_text.size() > maximumTextLength) {
        clear();
        return Result::TooLong;
    }
    if (!end)
        return Result::Partial;
    m_text = withoutLineEnd(m_text);
    return Result::Complete;
}

void FtpReplyReader::clear()
{
    m_started = false;
    m_digits[0] = m_digits[1] = m_digits[2] = 0;
    m_text.clear();
}
