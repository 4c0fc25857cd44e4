#include "ftplistingparser.h"

#include "qurlinfo.h"

#include <QLocale>
#include <QRegularExpression>

namespace {

const QRegularExpression& unixPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^([\\-dl])([a-zA-Z\\-]{9,9})\\s+\\d+\\s+(\\S*)\\s+(\\S*)\\s+(\\d+)\\s+(\\S+"
                       "\\s+\\S+\\s+\\S+)"
                       "\\s+(\\S.*)"));
    return pattern;
}

const QRegularExpression& dosPattern()
{
    static const QRegularExpression pattern(QStringLiteral(
        "^(\\d\\d-\\d\\d-\\d\\d\\d?\\d?\\ \\ \\d\\d:\\d\\d[AP]M)\\s+(<DIR>|\\d+)\\s+(\\S.*)$"));
    return pattern;
}

} // namespace

bool FtpListingParser::parse(const QByteArray& line, const QString& user, QUrlInfo* info,
                             const QDateTime& now)
{
    if (line.isEmpty())
        return false;
    const QString text = QString::fromLatin1(line).trimmed();

    QRegularExpressionMatch match = unixPattern().match(text);
    if (match.hasMatch()) {
        fillFromUnix(match.capturedTexts(), user, info, now);
        return true;
    }
    match = dosPattern().match(text);
    if (match.hasMatch()) {
        fillFromDos(match.capturedTexts(), info);
        return true;
    }
    return false;
}

void FtpListingParser::fillFromUnix(const QStringList& captures, const QString& user,
                                    QUrlInfo* info, const QDateTime& now)
{
    const QChar kind = captures.at(1).at(0);
    info->setDir(kind != QLatin1Char('-'));
    info->setFile(kind == QLatin1Char('-'));
    info->setSymLink(kind == QLatin1Char('l'));

    QString name = captures.at(7);
    if (kind == QLatin1Char('l')) {
        const int arrow = name.indexOf(QLatin1String(" ->"));
        if (arrow >= 0)
            name.truncate(arrow);
    }
    info->setName(name);
    info->setOwner(captures.at(3));
    info->setGroup(captures.at(4));
    info->setSize(captures.at(5).toLongLong());

    const QDateTime modified = unixDate(captures.at(6), now);
    if (modified.isValid())
        info->setLastModified(modified);

    static const int bits[9] = {QUrlInfo::ReadOwner, QUrlInfo::WriteOwner, QUrlInfo::ExeOwner,
                                QUrlInfo::ReadGroup, QUrlInfo::WriteGroup, QUrlInfo::ExeGroup,
                                QUrlInfo::ReadOther, QUrlInfo::WriteOther, QUrlInfo::ExeOther};
    static const char letters[4] = "rwx";
    const QString modes = captures.at(2);
    int permissions = 0;
    for (int i = 0; i < 9; ++i) {
        if (modes.at(i) == QLatin1Char(letters[i % 3]))
            permissions |= bits[i];
    }
    info->setPermissions(permissions);

    const bool isOwner = info->owner() == user;
    info->setReadable((permissions & QUrlInfo::ReadOther) ||
                      ((permissions & QUrlInfo::ReadOwner) && isOwner));
    info->setWritable((permissions & QUrlInfo::WriteOther) ||
                      ((permissions & QUrlInfo::WriteOwner) && isOwner));
}

QDateTime FtpListingParser::unixDate(const QString& text, const QDateTime& now)
{
    struct Format
    {
        const char* pattern;
        bool timeOfDay;
    };
    static const Format formats[] = {{"MMM dd  yyyy", false}, {"MMM dd hh:mm", true},
                                     {"MMM  d  yyyy", false}, {"MMM  d hh:mm", true},
                                     {"MMM  d yyyy", false},  {"MMM dd yyyy", false}};
    const QLocale c = QLocale::c();
    for (const Format& format : formats) {
        const QString pattern = QLatin1String(format.pattern);
        if (!format.timeOfDay) {
            const QDateTime date = c.toDateTime(text, pattern);
            if (date.isValid())
                return date;
            continue;
        }
        // A time of day means this year, or last year when that lies ahead. The year goes into
        // the text before parsing, so that 29 February is checked against the right year.
        const auto withYear = [&](int year) {
            return c.toDateTime(text + QLatin1Char(' ') + QString::number(year),
                                pattern + QLatin1String(" yyyy"));
        };
        QDateTime date = withYear(now.date().year());
        if (date.isValid() && now.secsTo(date) > 86400)
            date = withYear(now.date().year() - 1);
        if (date.isValid())
            return date;
    }
    return QDateTime();
}

void FtpListingParser::fillFromDos(const QStringList& captures, QUrlInfo* info)
{
    const QString name = captures.at(3);
    info->setName(name);
    info->setSymLink(name.toLower().endsWith(QLatin1String(".lnk")));

    const bool isDir = captures.at(2) == QLatin1String("<DIR>");
    info->setDir(isDir);
    info->setFile(!isDir);
    if (!isDir)
        info->setSize(captures.at(2).toLongLong());

    int permissions = QUrlInfo::ReadOwner | QUrlInfo::WriteOwner | QUrlInfo::ReadGroup |
                      QUrlInfo::WriteGroup | QUrlInfo::ReadOther | QUrlInfo::WriteOther;
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot >= 0 ? name.mid(dot + 1) : QString();
    if (extension == QLatin1String("exe") || extension == QLatin1String("bat") ||
        extension == QLatin1String("com"))
        permissions |= QUrlInfo::ExeOwner | QUrlInfo::ExeGroup | QUrlInfo::ExeOther;
    info->setPermissions(permissions);
    info->setReadable(true);
    info->setWritable(!isDir);

    QDateTime modified =
        QLocale::c().toDateTime(captures.at(1), QStringLiteral("MM-dd-yy  hh:mmAP"));
    if (modified.isValid() && modified.date().year() < 1971)
        modified = modified.addYears(100);
    if (modified.isValid())
        info->setLastModified(modified);
}
