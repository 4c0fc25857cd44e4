#pragma once

#include <QFile>
#include <QSaveFile>

// A file the application did not just create may be anything someone put in its place: a FIFO
// holds open(2) until a writer comes, and a device may never end. This file opens a regular file
// or a name that is free, as QFile does, and refuses anything else without opening it, with the
// error "Not a regular file". To read, a link counts as what it leads to. To write, a link is
// refused: the application makes none, so one in the place of a file it writes was put there by
// someone else, and what it leads to is not the application's.
class RegularFile : public QFile
{
public:
    using QFile::QFile;

    // Whether `path` is absent or a regular file. Looks without opening.
    static bool mayBeOpened(const QString& path);
    // Whether `path` is absent or a regular file that is no link. Looks without opening.
    static bool mayBeWritten(const QString& path);
    // Whether anything lies at `path`, a link that leads nowhere included: a name to leave to
    // it, as a rename or a copy onto that link would follow it.
    static bool isTaken(const QString& path);
    // QLockFile reads a lock it finds, and the ".rmlock" it takes to clear a stale one, to learn
    // their holders: of the two, the first that is not a regular file; empty when both may be read.
    static QString unreadableLock(const QString& lockPath);

    bool open(OpenMode mode) override;
};

// QSaveFile resolves a link in its place when it opens, and its commit replaces what the link
// leads to. This one removes such a link first, so that the file it commits takes the link's
// place and what the link led to stays as it was. (A link made between the two steps would still
// be followed; the folders written are the user's own.)
class RegularSaveFile : public QSaveFile
{
public:
    using QSaveFile::QSaveFile;

    bool open(OpenMode mode) override;
};
