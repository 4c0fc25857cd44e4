#pragma once

#include <QImage>
#include <QPainter>
#include <QQuickPaintedItem>

#include <functional>

// Pictures of painted items, for the suites that link Qt Quick.
namespace qx8test {

// The item as it paints itself, on a transparent picture (not premultiplied: a faint pixel reads
// its full colour).
inline QImage painted(QQuickPaintedItem& item)
{
    QImage image(item.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    item.paint(&painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Any pixel of the picture that `is` takes.
inline bool anyPixel(const QImage& image, const std::function<bool(QRgb)>& is)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (is(image.pixel(x, y)))
                return true;
        }
    }
    return false;
}

} // namespace qx8test
