#pragma once

#include <QByteArray>
#include <QString>

// Joins the values of the result variable into one answer of the JSON command channel: the
// device may write a long answer in several successive values. Each piece is decoded from the
// channel's backtick form and appended until the braces of the answer's object close. The scan
// keeps its place between pieces, so an answer in many pieces costs one pass over its bytes.
class JsonAnswerBuffer
{
public:
    static constexpr int kMaxBytes = 1024 * 1024;

    enum class Status {
        Waiting,  // the answer is not complete yet
        Complete, // `answer` holds the JSON text of one object
        Stray,    // a piece that cannot start an answer, with nothing collected: left out
        Overflow, // the answer passed kMaxBytes: everything collected is dropped
    };
    struct Outcome
    {
        Status status = Status::Waiting;
        QByteArray answer;
    };

    Outcome append(const QString& piece);
    void clear();
    bool isEmpty() const { return m_text.isEmpty(); }

private:
    QByteArray m_text;
    int m_scanned = 0;
    int m_depth = 0;
    bool m_inString = false;
    bool m_escaped = false;
};
