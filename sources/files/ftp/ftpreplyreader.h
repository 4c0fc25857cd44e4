#pragma once

#include <QString>

// Collects the lines of one FTP reply: a single "xyz text" line, or a "xyz-" first line followed
// by continuation lines up to the "xyz " end line. Qt-GUI-free, fed one line (with its CR LF) at
// a time, so that the interpreter only moves bytes and acts on whole replies.
class FtpReplyReader
{
public:
    enum class Result {
        Dropped,  // a first line without a valid code; the next line may start a valid reply
        Partial,  // the reply goes on
        Complete, // code() and text() hold the whole reply
        TooLong   // the reply text grew past the limit; the reply is dropped
    };

    static constexpr int maximumTextLength = 64 * 1024;

    Result addLine(const QString& line);
    void clear();

    int code() const { return m_digits[0] * 100 + m_digits[1] * 10 + m_digits[2]; }
    int firstDigit() const { return m_digits[0]; }
    QString text() const { return m_text; }

private:
    bool startReply(const QString& line);
    bool isEndLine(const QString& line) const;

    bool m_started = false;
    int m_digits[3] = {0, 0, 0};
    QString m_text;
};
