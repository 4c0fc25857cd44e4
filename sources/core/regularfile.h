#pragma once

#include <QFile>

// A file the application did not just create may be anything someone put in its place: a FIFO
// holds open(2) until a writer comes, and a device may never end. This file opens a regular file
// (a link counts as what it leads to) or a name that is free, as QFile does, and refuses anything
// else without opening it, with the error "Not a regular file".
class RegularFile : public QFile
{
public:
    using QFile::QFile;

    // Whether `path` is absent or a regular file. Looks without opening.
    static bool mayBeOpened(const QString& path);
    // QLockFile reads a lock it finds, and the ".rmlock" it takes to clear a stale one, to learn
    // their holders: of the two, the first that is not a regular file; empty when both may be read.
    static QString unreadableLock(const QString& lockPath);

    bool open(OpenMode mode) override;
};
