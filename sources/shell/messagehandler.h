#pragma once

#include <QString>
#include <QTime>
#include <QtGlobal>

// Appends every message of every thread as one line to strLogDir/ui.log, opening and closing
// the file for each line; a line the file cannot take is dropped, and nothing goes to standard
// error. A fatal message is written with the level word "Fatal  ", then the process aborts.
void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message);

// One log line, "hh:mm:ss:zzz: <level> [<file>: <function>: <line>] <message>\n".
QString formatLogLine(QtMsgType type, const QMessageLogContext& context, const QString& message,
                      const QTime& time);
