#pragma once

#include <QString>

class QFtp;
class QUrlInfo;

// Confirms that a file just stored on an FTP server holds every byte sent: by SIZE where the
// server answers it; where it refuses SIZE, by the size a listing of the current folder gives
// the file; where it refuses that too, by the 226 of the upload alone. A file that arrived whole
// is never reported as failed.
//
// Phases: Idle -> AskingSize (SIZE queued behind the upload) -> [Listing (LIST of the folder),
// when SIZE got no size] -> Idle, with the verdict.
//
// Drives the client it is given and lives on the client's thread. While a check runs its owner
// forwards the client's rawCommandReply and listInfo, and hands it the end of each command it
// owns().
class StoredFileCheck
{
public:
    enum class Verdict { Pending, Confirmed, Failed };

    // Queues the check of `file`, which should hold `size` bytes, behind what `ftp` has queued
    // (the upload). Returns the id of the check's command.
    int start(QFtp& ftp, const QString& file, qint64 size);
    void cancel();
    bool isRunning() const { return m_phase != Phase::Idle; }
    // Whether the command `id` is the check's current one.
    bool owns(int id) const { return isRunning() && id == m_command; }
    // The id of the check's current command (a new one after a Pending verdict).
    int command() const { return m_command; }

    void onRawCommandReply(int replyCode, const QString& detail);
    void onListInfo(const QUrlInfo& info);
    // The end of the check's current command. Pending: another command has been queued.
    Verdict onCommandFinished(QFtp& ftp, bool hasError);
    // Why the file does not count, after a Failed verdict.
    QString failure() const { return m_failure; }

private:
    enum class Phase { Idle, AskingSize, Listing };

    Verdict compare(qint64 found, const QString& source);

    Phase m_phase = Phase::Idle;
    QString m_file;
    qint64 m_size = 0;
    int m_command = 0;
    qint64 m_reportedSize = -1; // by SIZE or the listing; -1 while none has come
    int m_listedEntries = 0;
    QString m_failure;
};
