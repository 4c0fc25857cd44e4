#pragma once

#include "firmwareanswerreader.h"

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

#include <chrono>

// Sends a firmware image from the firmware cache folder to the device over a connection of its
// own to the device's console port, then reports progress, completion or failure.
//
// Phases, in order:
//   Unconnected -> Connecting (up to 5 s, never blocking the event loop) -> Idle
//   Idle -> Announced: the line `write "file\updKaloTar" <size> ` is written
//   Announced -> Sending: the device answered "writer OK", and nothing else in the same read;
//                the image goes in chunks of 8192 bytes, each one after the previous one has
//                been written
//   Sending -> Draining: every byte handed to the socket; it waits until the device's side has
//                acknowledged them all (where the system tells)
//   Draining -> Settling: the device has every byte; it has kObjectionTime to object
//   Settling -> Idle: uploadDone()
// Every failure on the way (no connection, missing or unreadable image, a refusal, any text from
// the device once the image goes, the device closing the connection or going silent) ends the
// upload with error(text), never silently; a failure after the announcement also drops the
// connection, since the device then holds a partial image, and the next upload connects afresh.
// A device that rejects an image without a word cannot be told apart here: whether it installed
// the image shows only after its restart, in the version it reports (FirmwareUpdater).
class FwUpdateUploader : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool uploadInProgress READ uploadInProgress NOTIFY uploadInProgressChanged)
    Q_PROPERTY(float progress READ progress NOTIFY progressChanged)

public:
    static constexpr quint16 kPort = 19272;
    static constexpr qint64 kChunkSize = 8192;
    static constexpr std::chrono::milliseconds kConnectLimit{5000};
    static constexpr std::chrono::milliseconds kDefaultStallLimit{30000};
    // How long the device may still object once it holds the whole image.
    static constexpr std::chrono::milliseconds kObjectionTime{1000};

    // Connects to the device under "Data/CurrentDeviceAddress" at once, in the background.
    explicit FwUpdateUploader(QObject* parent = nullptr);
    ~FwUpdateUploader() override;

    bool uploadInProgress() const { return m_uploadInProgress; }
    float progress() const { return m_progress; }
    // How long the device may leave the upload without an answer or a written byte.
    void setStallLimit(std::chrono::milliseconds limit) { m_stallTimer.setInterval(limit); }

    // Sends the image `fileName` of the firmware cache folder.
    Q_INVOKABLE void upload(const QString& fileName);
    // Reads the next chunk of at most `maxSize` bytes and hands it to the socket; at the end of
    // the image, completes the upload.
    void sendFwUpdate(qint64 maxSize);

Q_SIGNALS:
    void uploadDone();
    void error(QString errorString);
    void write(QByteArray data);
    void uploadInProgressChanged(bool uploadInProgress);
    void progressChanged(float progress);
    void showProgress(qlonglong bytesReceived, qlonglong bytesTotal);

protected Q_SLOTS:
    void onWrite(const QByteArray& data);
    void onError(QAbstractSocket::SocketError socketError);
    void onUploadProgress(qlonglong bytesReceived, qlonglong bytesTotal);

public Q_SLOTS:
    // Ends the running upload as done.
    void onUploadDone();
    void onBytesWritten(qint64 bytes);
    void onReadyRead();

private:
    enum class Phase { Unconnected, Connecting, Idle, Announced, Sending, Draining, Settling };

    void connectToDevice();
    void onConnected();
    void connectionFailed();
    void announce();
    void onAnswer(const FirmwareAnswerReader::Answer& answer);
    void checkDrained();
    void settle();
    bool imageSent() const;
    void fail(const QString& text);
    void setUploadInProgress(bool inProgress);

    QTcpSocket m_socket;
    QFile m_file;
    Phase m_phase = Phase::Unconnected;
    // An upload asked for while the connection was still being made.
    bool m_uploadPending = false;
    QTimer m_connectTimer;
    QTimer m_stallTimer;
    QTimer m_drainTimer;
    QTimer m_objectionTimer;
    FirmwareAnswerReader m_answers;
    qint64 m_unacknowledged = 0;
    qint64 m_commandBytesPending = 0;
    qint64 m_chunkSize = 0;
    qint64 m_fileSize = 0;
    qint64 m_bytesRead = 0;
    qint64 m_totalWritten = 0;
    qint64 m_chunkWritten = 0;
    bool m_uploadInProgress = false;
    float m_progress = 0;
};
