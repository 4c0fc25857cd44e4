#pragma once

#include <QString>

// One line to standard output, flushed at once: the harness waits for these.
void printLine(const QString& line);
