// Draws every picture of the application into a folder, with the Qt resource file that lists
// them under /images. Usage: qx8pictures OUTDIR
#include "picture.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <cstdio>

namespace {

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

} // namespace

int main(int argc, char** argv)
{
    // Pictures only: no window is ever shown, so no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: qx8pictures OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QStringList paths;
    for (const Picture& picture : catalogue()) {
        const QString file = out.filePath(picture.path);
        if (!out.mkpath(QFileInfo(file).path()) || !render(picture).save(file, "PNG")) {
            std::fprintf(stderr, "qx8pictures: cannot write %s\n", qPrintable(file));
            return 1;
        }
        paths << picture.path;
    }
    if (!writeResourceFile(out, paths)) {
        std::fprintf(stderr, "qx8pictures: cannot write the resource file in %s\n",
                     qPrintable(out.path()));
        return 1;
    }
    return 0;
}
