#pragma once

#include "ftpsessionsignals.h"
#include "workerthread.h"

#include <QByteArray>
#include <QString>

#include <chrono>

class FtpClientWorker;

// An FTP session on a thread of its own (the tuning-file manager has one, the presets screen
// another). Each request is a change of directory and one operation; each outcome comes back as
// one signal: connected(), disconnected(), fileList(), fileData(), actionFinished() or error().
// A failed command's error() is the step's prefix ("Change directory failed: ", ...) followed by
// the FTP client's whole error text.
// Send the next request only after the answer to the previous one. A request without progress
// for the request time-out fails with an error and leaves the session closed; a connect request
// always starts a fresh session, so a failed one can be retried.
//
// The object lives in the thread that made it; its signals reach that thread queued. Destroying
// it ends the session's thread (WorkerThread::stop()).
class FtpClientThread : public FtpSessionSignals
{
    Q_OBJECT

public:
    static constexpr quint16 kDevicePort = 21;
    static constexpr std::chrono::milliseconds kRequestTimeout{30000};
    // The device's FTP login.
    static const QString deviceUser;
    static const QString devicePassword;
    // What error() says of a failed name listing, before the server's reply.
    static const QString listingFailure; // "File listing failed: "

    // An error() text as a screen shows it: the step that failed and the first line of the cause.
    // error() carries the FTP client's whole text, which names the step once more on a line of
    // its own ("Connection failed: Connecting to host failed:\nConnection refused to host ..."),
    // but after a listing, whose text is the server's reply itself.
    static QString briefError(const QString& errorString);

    explicit FtpClientThread(quint16 port = kDevicePort,
                             std::chrono::milliseconds requestTimeout = kRequestTimeout,
                             QObject* parent = nullptr);

    QString hostAddress() const { return m_hostAddress; }

public Q_SLOTS:
    void onConnectToHost(const QString& hostAddress, const QString& user, const QString& password);
    void onDisconnectFromHost();
    void onRequestFileList(const QString& dir);
    void onGetFile(const QString& dir, const QString& fileFullName);
    void onPutFile(const QByteArray& fileData, const QString& dir, const QString& fileFullName);
    void onRemoveFile(const QString& dir, const QString& fileFullName);
    // Stores the new file, then removes the old one when its name differs, so a failed upload
    // never costs the device its file.
    void onUpdateFile(const QByteArray& newFileData, const QString& dir,
                      const QString& oldFileFullName, const QString& newFileFullName);

private:
    QString m_hostAddress;
    WorkerHost<FtpClientWorker> m_session;
};
