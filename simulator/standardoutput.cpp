#include "standardoutput.h"

#include <cstdio>

void printLine(const QString& line)
{
    const QByteArray bytes = (line + '\n').toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}
