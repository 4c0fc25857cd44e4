#pragma once

#include "ftpsessionsignals.h"
#include "qftp.h"
#include "storedfilecheck.h"

#include <QBuffer>
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <chrono>

// The worker of FtpClientThread, on its thread (WorkerHost): turns each request into FTP commands
// on its QFtp client and each outcome into one signal.
//
// Phases of a request: idle -> commands queued (watchdog armed, re-armed by every sign of
// progress) -> [an upload: the stored file checked (StoredFileCheck); a replaced file removed
// only then] -> the request's last command finished (result signal) or a command failed (error
// signal; the client drops what was queued behind it) -> idle. When the watchdog fires, the
// client is thrown away and the request fails.
class FtpClientWorker : public FtpSessionSignals
{
    Q_OBJECT

public:
    // Largest listing and file accepted from the device.
    static constexpr qint64 kListingLimit = 4 * 1024 * 1024;
    static constexpr qint64 kFileLimit = 64 * 1024 * 1024;

    // Made on the thread it works on.
    FtpClientWorker(quint16 port, std::chrono::milliseconds requestTimeout);

    void connectToHost(const QString& host, const QString& user, const QString& password);
    void disconnectFromHost();
    void requestFileList(const QString& dir);
    void getFile(const QString& dir, const QString& file);
    void putFile(const QByteArray& data, const QString& dir, const QString& file);
    void removeFile(const QString& dir, const QString& file);
    void updateFile(const QByteArray& data, const QString& dir, const QString& oldFile,
                    const QString& newFile);

private:
    enum class Request { None, Connect, List, Get, Action };

    void createClient();
    void destroyClient();
    bool begin(Request request, const QString& dir, const QString& file = {});
    void onCommandStarted(int id);
    void onCommandFinished(int id, bool hasError);
    void onStateChanged(int state);
    void onProgress(qint64 done, qint64 total);
    void onWatchdog();
    void onStoredFileChecked(StoredFileCheck::Verdict verdict);
    int putAndCheck(const QByteArray& data, const QString& file);
    void closeBuffer();
    void fail(const QString& text);
    void finishRequest();
    static QString failurePrefix(QFtp::Command command);

    const quint16 m_port;
    QFtp* m_ftp = nullptr;
    QBuffer* m_buffer = nullptr;
    QTimer* m_watchdog = nullptr;
    std::chrono::milliseconds m_requestTimeout;
    Request m_request = Request::None;
    int m_lastCommand = -1;
    StoredFileCheck m_storedFileCheck;
    QString m_replacedFile;     // removed once the file replacing it is confirmed
    qint64 m_announcedSize = 0; // of the file being fetched, by SIZE (0: not told)
    QString m_host;
    QString m_currentDir;
    QString m_currentFileName;
};
