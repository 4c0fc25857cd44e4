#include "tuningname.h"

#include "safefilename.h"

#include <QStringList>

namespace tuningname {

namespace {

constexpr int kStampFields = 5;

QString baseName(const QString& file)
{
    const int dot = file.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? file : file.left(dot);
}

QStringList fields(const QString& file)
{
    return baseName(file).split(QLatin1Char('_'));
}

} // namespace

QString fileName(const QString& file)
{
    QStringList parts = fields(file);
    if (parts.size() <= kStampFields)
        return {};
    parts.erase(parts.end() - kStampFields, parts.end());
    return parts.join(QLatin1Char('_'));
}

QString timeStampString(const QString& file)
{
    const QStringList parts = fields(file);
    if (parts.size() <= kStampFields)
        return {};
    return parts.mid(parts.size() - kStampFields).join(QLatin1Char('_'));
}

std::optional<Stamp> stamp(const QString& file)
{
    const QStringList parts = fields(file);
    if (parts.size() <= kStampFields)
        return std::nullopt;
    Stamp numbers{};
    for (int i = 0; i < kStampFields; ++i)
        numbers[i] = parts.at(parts.size() - kStampFields + i).toInt();
    return numbers;
}

QDateTime timeStamp(const QString& file)
{
    const std::optional<Stamp> numbers = stamp(file);
    if (!numbers)
        return {};
    const QDate date((*numbers)[0], (*numbers)[1], (*numbers)[2]);
    const QTime time((*numbers)[3], (*numbers)[4]);
    // Qt would take a valid date with an invalid time as midnight.
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::LocalTime);
}

QString suffix(const QString& file)
{
    const int dot = file.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : file.mid(dot + 1);
}

bool isEarlier(const QString& a, const QString& b)
{
    return stamp(a) < stamp(b);
}

bool isTuningName(const QString& file)
{
    if (!safefilename::isSafe(file) || suffix(file).isEmpty())
        return false;
    const QStringList parts = fields(file);
    if (parts.size() <= kStampFields)
        return false;
    for (int i = parts.size() - kStampFields; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        if (part.isEmpty() || part.size() > 9)
            return false;
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        }
    }
    return true;
}

} // namespace tuningname
