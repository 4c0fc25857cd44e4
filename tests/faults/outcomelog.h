#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What one part of the application reported during a schedule, operation by operation: the
// outcome of each operation (success or failure) and the error texts on the way. Operations are
// numbered by their step. It finds the reports that break the rules of every operation:
//   - anything after the outcome of an operation (a success after a failure among them), but
//     the failures of a part that reports losses of its own accord;
//   - a success after an error text;
//   - any report while none of its operations runs, or from an operation that has ended; a part
//     that reports losses of its own accord (the link) may report failures at any time.
class OutcomeLog
{
public:
    enum class Kind { Success, Failure, Note };
    struct Report
    {
        Kind kind;
        QString text;
    };
    // The operation a report belongs to: the running one, whichever it is.
    static constexpr int kRunning = -1;

    explicit OutcomeLog(const QString& part, bool failuresAnyTime = false);

    void begin(int operation);
    void end();
    bool isRunning() const { return m_running >= 0; }

    void success(const QString& text, int operation = kRunning);
    void failure(const QString& text, int operation = kRunning);
    void note(const QString& text, int operation = kRunning);

    // The first outcome of the running operation.
    std::optional<Report> outcome() const { return m_outcome; }
    QStringList violations() const { return m_violations; }

private:
    void report(Kind kind, const QString& text, int operation);

    QString m_part;
    bool m_failuresAnyTime;
    int m_running = -1;
    std::optional<Report> m_outcome;
    QString m_lastNote;
    QStringList m_violations;
};
