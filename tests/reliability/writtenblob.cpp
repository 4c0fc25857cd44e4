#include "writtenblob.h"

#include <QDateTime>

namespace writtenblob {

namespace {

int sizeOf(int generation)
{
    return 512 * 1024 + (generation % 4) * 128 * 1024;
}

char filler(int generation, int index)
{
    return char('a' + (index * 7 + generation) % 26);
}

QByteArray header(int generation)
{
    return "generation " + QByteArray::number(generation) + '\n';
}

} // namespace

QByteArray make(int generation)
{
    QByteArray blob = header(generation);
    const int size = sizeOf(generation);
    blob.reserve(size);
    for (int index = blob.size(); index < size; ++index)
        blob += filler(generation, index);
    return blob;
}

int generationOf(const QByteArray& blob)
{
    const int end = blob.indexOf('\n');
    if (!blob.startsWith("generation ") || end < 0)
        return -1;
    bool ok = false;
    const int generation = blob.mid(11, end - 11).toInt(&ok);
    return ok && generation > 0 && blob == make(generation) ? generation : -1;
}

QString presetFolder(const QString& dataFolder)
{
    return dataFolder + QStringLiteral("/QX8/Presets");
}

QString presetName(int generation)
{
    return QStringLiteral("Preset %1").arg(generation);
}

QString analyticsQueuePath(const QString& logFolder)
{
    return logFolder + QStringLiteral("/appanalytics/analyticsData.json");
}

QList<QueryBuffer> hits(int generation)
{
    QList<QueryBuffer> list;
    const int count = 200 + (generation % 3) * 100;
    const QString padding(200, QLatin1Char('p'));
    for (int index = 0; index < count; ++index) {
        QueryBuffer hit;
        hit.postQuery.addItem(QStringLiteral("t"), QStringLiteral("event"));
        hit.postQuery.addItem(QStringLiteral("ec"), QString::number(generation));
        hit.postQuery.addItem(QStringLiteral("ea"), QString::number(index));
        hit.postQuery.addItem(QStringLiteral("el"), padding);
        hit.time = QDateTime(QDate(2026, 12, 6), QTime(12, 0, index % 60));
        list.append(hit);
    }
    return list;
}

QString imageVersion(int generation)
{
    return generation % 2 ? QStringLiteral("1.0") : QStringLiteral("2.0");
}

} // namespace writtenblob
