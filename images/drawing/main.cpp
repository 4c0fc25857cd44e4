// Draws every picture of the application into a folder, with the Qt resource file that lists
// them under /images; or, with --icon-theme, the application's icon as the desktop's hicolor
// theme holds it, below OUTDIR/hicolor. Usage: qx8pictures OUTDIR
//                                            qx8pictures --icon-theme NAME OUTDIR
#include "picture.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <cstdio>

namespace {

// The sizes desktops look for in the hicolor theme, in pixels.
const int kThemeSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};

QImage render(const Picture& picture)
{
    const QSize pixels = (picture.size * picture.scale).toSize();
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(picture.scale, picture.scale);
    picture.draw(painter, picture.size);
    return image;
}

bool writeResourceFile(const QDir& out, const QStringList& paths)
{
    QSaveFile file(out.filePath(QStringLiteral("pictures.qrc")));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray text = "<RCC>\n    <qresource prefix=\"/images\">\n";
    for (const QString& path : paths)
        text += "        <file>" + path.toUtf8() + "</file>\n";
    text += "    </qresource>\n</RCC>\n";
    file.write(text);
    return file.commit();
}

bool writeImage(const Picture& picture, const QString& file)
{
    return QDir().mkpath(QFileInfo(file).path()) && render(picture).save(file, "PNG");
}

bool writeSvg(const Picture& picture, const QString& file)
{
    if (!QDir().mkpath(QFileInfo(file).path()))
        return false;
    QSvgGenerator generator;
    generator.setFileName(file);
    generator.setSize(picture.size.toSize());
    generator.setViewBox(QRectF(QPointF(), picture.size));
    generator.setTitle(QFileInfo(file).completeBaseName());
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    picture.draw(painter, picture.size);
    return painter.end();
}

int cannotWrite(const QString& file)
{
    std::fprintf(stderr, "qx8pictures: cannot write %s\n", qPrintable(file));
    return 1;
}

int drawCatalogue(const QDir& out)
{
    QStringList paths;
    for (const Picture& picture : catalogue()) {
        if (!writeImage(picture, out.filePath(picture.path)))
            return cannotWrite(out.filePath(picture.path));
        paths << picture.path;
    }
    if (!writeResourceFile(out, paths)) {
        std::fprintf(stderr, "qx8pictures: cannot write the resource file in %s\n",
                     qPrintable(out.path()));
        return 1;
    }
    return 0;
}

// Each size drawn afresh, so that the small ones are sharp rather than shrunk.
int drawIconTheme(const QString& name, const QDir& out)
{
    const QDir theme(out.filePath(QStringLiteral("hicolor")));
    Picture icon = applicationIcon();
    for (const int pixels : kThemeSizes) {
        icon.scale = pixels / icon.size.width();
        const QString file =
            theme.filePath(QStringLiteral("%1x%1/apps/%2.png").arg(pixels).arg(name));
        if (!writeImage(icon, file))
            return cannotWrite(file);
    }
    const QString file = theme.filePath(QStringLiteral("scalable/apps/%1.svg").arg(name));
    return writeSvg(icon, file) ? 0 : cannotWrite(file);
}

} // namespace

int main(int argc, char** argv)
{
    // Pictures only: no window is ever shown, so no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() == 1)
        return drawCatalogue(QDir(arguments.at(0)));
    if (arguments.size() == 3 && arguments.at(0) == QLatin1String("--icon-theme"))
        return drawIconTheme(arguments.at(1), QDir(arguments.at(2)));
    std::fprintf(stderr, "usage: qx8pictures OUTDIR\n"
                         "       qx8pictures --icon-theme NAME OUTDIR\n");
    return 2;
}
