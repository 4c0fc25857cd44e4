#pragma once

#include "httpserverprocess.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// The cloud of the update tests: the harness HTTP server on loopback, serving the feeds and
// images that simulator/storage/make_update_files.py writes, with QX8_CLOUD_BASE_URL pointing at
// it. Start it before the first updater is made: the address is read once.
class UpdateCloud
{
public:
    static constexpr char kFeed[] = "/sp-qx8-update/update.xml";
    static constexpr char kTestFeed[] = "/sp-qx8-update-test/update.xml";
    static constexpr char kApplicationImage[] = "/sp-qx8-update/app/QX8Control-Mac-1.1.7.dmg";
    static constexpr char kFirmwareImage[] = "/sp-qx8-update/firmware/QX8-2.5.0.img";

    bool start(qint64 firmwareSize = 256 * 1024);

    HttpServerProcess& server() { return m_server; }
    // The folder it serves.
    QString rootPath() const { return m_root.path(); }
    // The content of a served file, by its path on the server.
    QByteArray file(const QString& path) const;
    int requestsFor(const QByteArray& path) const;

private:
    QTemporaryDir m_root;
    HttpServerProcess m_server;
};

// The content of a file on disk, empty when it cannot be read.
