#include "safefilename.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace safefilename {

namespace {

bool isPlainName(const QString& name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

// Where writing to `path` would land: through symbolic links, dangling ones included. Empty when
// the links go round in circles.
QString landingPath(const QString& path, int linksLeft = 8)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return linksLeft > 0 ? landingPath(info.symLinkTarget(), linksLeft - 1) : QString();
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace

bool isSafe(const QString& name)
{
    // Every decoding round that changes the text shortens it, so this ends.
    QString form = name;
    while (isPlainName(form)) {
        const QString decoded = QUrl::fromPercentEncoding(form.toUtf8());
        if (decoded == form)
            return true;
        form = decoded;
    }
    return false;
}

QString pathInFolder(const QString& folder, const QString& name)
{
    if (!isSafe(name))
        return {};
    const QString root = landingPath(folder);
    if (root.isEmpty())
        return {};
    const QString path = QDir(root).filePath(name);
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    if (!landingPath(path).startsWith(prefix))
        return {};
    return path;
}

QString refusal(const QString& name)
{
    return isSafe(name) ? QStringLiteral("Not a regular file")
                        : QStringLiteral("not a plain file name");
}

} // namespace safefilename
