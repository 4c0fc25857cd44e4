#include "wirelog.h"

bool WireLog::open(const QString& fileName, QString* error)
{
    if (fileName.isEmpty())
        return true;
    m_file.setFileName(fileName);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = fileName + ": " + m_file.errorString();
        return false;
    }
    return true;
}

void WireLog::write(const QString& source, const QString& event)
{
    if (!m_file.isOpen())
        return;
    m_file.write((source + ' ' + event + '\n').toUtf8());
    m_file.flush();
}
