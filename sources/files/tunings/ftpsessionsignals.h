#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

// What an FTP session reports, each outcome of a request as one signal. Declared once for the
// worker that emits them on its thread (FtpClientWorker) and the owner that passes them on
// (FtpClientThread).
class FtpSessionSignals : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

Q_SIGNALS:
    void connected();
    void disconnected();
    void error(QString errorString);
    void fileList(QString dir, QStringList list);
    void fileData(QByteArray data, QString dir, QString fileName);
    void actionFinished();
};
