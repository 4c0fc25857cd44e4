#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

// The harness HTTP server (httpserver.py, which documents the fault modes) for one test: the
// cloud, the update feed or the analytics collector on a loopback address of its own, serving
// a folder and recording every request.
class HttpServerProcess
{
public:
    struct Request
    {
        QByteArray method;
        QByteArray path; // the request target as sent, query included
        QList<QPair<QByteArray, QByteArray>> headers;
        QByteArray body;
        int status = 0; // the status of the server's answer

        // The value of the first header of that name (any case), empty when there is none.
        QByteArray header(const QByteArray& name) const;
    };

    HttpServerProcess();
    ~HttpServerProcess();

    // Serves `root` with the faults given as "PATH=MODE" and waits until it listens. False,
    // with a warning, when it did not come up.
    bool start(const QString& root, const QStringList& faults = {});
    void stop();

    QUrl url(const QString& path) const;
    // Switches the fault of one path while the server runs; "off" clears it.
    bool setFault(const QString& path, const QString& mode);
    // Every request so far, in the order the server received them.
    QList<Request> requests() const;

private:
    QString command(const QString& line);
    // The next line of its standard output, or an empty text when none came in time.
    QString readLine();

    QProcess m_process;
    QTemporaryDir m_work;
    QString m_address;
    quint16 m_port = 0;
};
