#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

// The device's answers on the firmware connection, read from the bytes of each read as they
// come. An answer is a line ended by LF, a CR before it dropped, its text cut at a NUL. The one
// answer that starts the image is "writer OK" with nothing behind it in the same read: text that
// follows it means the device is not simply waiting for the image.
class FirmwareAnswerReader
{
public:
    // A line longer than this is no answer of the device; it is dropped whole.
    static constexpr int kMaximumLength = 4096;

    enum class Kind {
        WriterOk,         // "writer OK", the last bytes of its read
        WriterOkFollowed, // "writer OK" with more bytes behind it in the same read
        Refused,          // a line starting with "error"
        Other,            // any other line
    };

    struct Answer
    {
        Kind kind;
        QByteArray text;
    };

    // The answers completed by the bytes of one read, in order.
    QList<Answer> add(const QByteArray& bytes);
    // The text of a line begun and not yet ended, cut at a NUL (empty while an overlong line is
    // dropped); nothing when no line is begun.
    std::optional<QByteArray> unfinishedLine() const;
    // Forgets a partial line, for a new connection.
    void clear()
    {
        m_pending.clear();
        m_overlong = false;
    }

private:
    QByteArray m_pending;
    // The line being read is overlong: its bytes are dropped up to its LF.
    bool m_overlong = false;
};
