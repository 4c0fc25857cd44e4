#include "cloudmanifest.h"

#include "cloudendpoints.h"
#include "tuningname.h"

#include <QDebug>
#include <QHash>

namespace cloudmanifest {

namespace {
QString containerPath(TuningSide side, bool validationMode)
{
    QString path = CloudEndpoints::instance().cloudBaseUrl().path();
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    path += side == TuningSide::Speaker ? QStringLiteral("/sp-speaker-tunings")
                                        : QStringLiteral("/sp-amplifier-data");
    return validationMode ? path + QStringLiteral("-test") : path;
}

QUrl inContainer(TuningSide side, bool validationMode, const QString& name)
{
    QUrl url = CloudEndpoints::instance().cloudBaseUrl();
    url.setPath(containerPath(side, validationMode) + QLatin1Char('/') + name);
    return url;
}
} // namespace

QUrl manifestUrl(TuningSide side, bool validationMode)
{
    return inContainer(side, validationMode, QStringLiteral("Manifest"));
}

QUrl fileUrl(TuningSide side, bool validationMode, const QString& name)
{
    return inContainer(side, validationMode, name);
}

QStringList names(const QByteArray& manifest)
{
    const int end = manifest.indexOf('\0');
    QString text = QString::fromLatin1(end < 0 ? manifest : manifest.left(end));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QHash<QString, QString> newest; // name -> file
    QStringList order;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty())
            continue;
        if (!tuningname::isTuningName(line)) {
            qWarning().noquote() << "Cloud manifest line refused:" << line.left(200);
            continue;
        }
        const QString name = tuningname::fileName(line);
        if (!newest.contains(name))
            order.append(name);
        QString& kept = newest[name];
        if (kept.isEmpty() || tuningname::isEarlier(kept, line))
            kept = line;
    }
    QStringList files;
    for (const QString& name : qAsConst(order))
        files.append(newest.value(name));
    return files;
}

QStringList newerThanLocal(const QStringList& names, TuningSide side, const TuningCatalog& catalog)
{
    QStringList wanted;
    for (const QString& name : names) {
        const QString local = catalog.localFileCorrespondsToRemote(tuningside::folder(side), name);
        if (local.isEmpty() || tuningname::isEarlier(local, name))
            wanted.append(name);
    }
    return wanted;
}

} // namespace cloudmanifest
