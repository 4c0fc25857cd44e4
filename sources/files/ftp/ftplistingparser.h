#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

class QUrlInfo;

// Turns one LIST line into a directory entry. Understands the Unix long-listing style and the DOS
// directory style; dates are read with the C locale whatever the user's locale is. Pure: the
// clock is a parameter so the year rule for recent files can be tested.
class FtpListingParser
{
public:
    static bool parse(const QByteArray& line, const QString& user, QUrlInfo* info,
                      const QDateTime& now = QDateTime::currentDateTime());

private:
    static void fillFromUnix(const QStringList& captures, const QString& user, QUrlInfo* info,
                             const QDateTime& now);
    static void fillFromDos(const QStringList& captures, QUrlInfo* info);
    static QDateTime unixDate(const QString& text, const QDateTime& now);
};
