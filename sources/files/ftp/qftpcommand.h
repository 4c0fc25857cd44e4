#pragma once

#include "qftp.h"

#include <QByteArray>
#include <QStringList>

class QIODevice;

// One queued client operation: its id, its kind and the raw lines it sends, plus the bytes or
// the device of a transfer (the device is not owned).
class QFtpCommand
{
public:
    QFtpCommand(QFtp::Command command, const QStringList& rawCommands, const QByteArray& bytes);
    QFtpCommand(QFtp::Command command, const QStringList& rawCommands, QIODevice* device = nullptr);

    // True when an argument would break its line apart: such a command is never sent.
    bool hasLineBreakInArgument() const;

    const int id;
    const QFtp::Command command;
    QStringList rawCommands;
    QByteArray bytes;
    QIODevice* const device;
    const bool isBytes;

private:
    static int nextId();
};
