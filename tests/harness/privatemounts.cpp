#include "privatemounts.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>

namespace qx8test {

namespace {

bool succeeded(int result, const char* what, const QString& folder)
{
    if (result == 0)
        return true;
    std::fprintf(stderr, "%s %s: %s\n", what, qPrintable(folder), std::strerror(errno));
    return false;
}

} // namespace

bool enterPrivateMounts()
{
    // Mounts made here must not travel back to the namespace this one was copied from.
    return succeeded(unshare(CLONE_NEWNS), "unshare(CLONE_NEWNS)", QString()) &&
           succeeded(mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr),
                     "making private the mounts below", QStringLiteral("/"));
}

bool mountReadOnly(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    return succeeded(mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr),
                     "binding", folder) &&
           succeeded(
               mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr),
               "making read-only", folder);
}

bool mountSmallDisk(const QString& folder, qint64 bytes, int files)
{
    QByteArray options = "size=" + QByteArray::number(bytes);
    if (files > 0)
        options += ",nr_inodes=" + QByteArray::number(files);
    return succeeded(
        mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()),
        "mounting a small disk on", folder);
}

bool unmount(const QString& folder)
{
    return succeeded(umount(QFile::encodeName(folder).constData()), "unmounting", folder);
}

} // namespace qx8test
