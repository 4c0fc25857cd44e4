#include "style.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

namespace style {

QColor colour(Ink ink)
{
    switch (ink) {
    case Ink::Line:
        return QColor(0xdc, 0xdc, 0xdc);
    case Ink::Faint:
        return QColor(0x6a, 0x6a, 0x6a);
    case Ink::Accent:
        return QColor(0x4f, 0xc3, 0xf7);
    case Ink::Label:
        return QColor(0xb0, 0xb0, 0xb0);
    case Ink::Alert:
        return QColor(0xff, 0x41, 0x36);
    case Ink::On:
        return QColor(0x2e, 0xcc, 0x40);
    case Ink::Brand:
        return QColor(0xff, 0x00, 0x00);
    case Ink::Ground:
        return QColor(0x14, 0x14, 0x14);
    }
    return Qt::white;
}

QColor bandColour(int band)
{
    static const QRgb kBands[] = {0x4fc3f7, 0xffb74d, 0xb39ddb, 0x4db6ac, 0xf48fb1, 0x9ccc65,
                                  0x7986cb, 0xff8a65, 0x80deea, 0xce93d8, 0xbcaaa4, 0xe6ee9c};
    constexpr int kCount = sizeof kBands / sizeof kBands[0];
    return QColor(kBands[((band % kCount) + kCount) % kCount]);
}

QPen pen(Ink ink, double width)
{
    return QPen(colour(ink), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QFont font(double pixelSize, bool bold)
{
    // The pages' family: Arial, which fontconfig serves as Liberation Sans.
    QFont result(QStringLiteral("Arial"));
    result.setPixelSize(qRound(pixelSize));
    result.setBold(bold);
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

QFont fittedFont(const QString& text, double width, double pixelSize, bool bold)
{
    QFont result = font(pixelSize, bold);
    const double natural = QFontMetricsF(result).horizontalAdvance(text);
    if (natural > width && natural > 0)
        result.setPixelSize(qMax(1, qFloor(pixelSize * width / natural)));
    return result;
}

void label(QPainter& painter, const QRectF& box, const QString& text, Ink ink, double pixelSize,
           int alignment, bool bold)
{
    painter.save();
    painter.setFont(font(pixelSize, bold));
    painter.setPen(colour(ink));
    painter.drawText(box, alignment, text);
    painter.restore();
}

} // namespace style
