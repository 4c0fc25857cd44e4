#include "helppicturelayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

namespace {

const QSize kSize(960, 720);
constexpr double kMargin = 16;
constexpr double kTitleHeight = 44;
constexpr double kShotWidth = 640;
constexpr double kBadgeRadius = 12;
const QColor kBackground(0x14, 0x14, 0x14);
const QColor kText(0xff, 0xff, 0xff);
const QColor kBorder(0x50, 0x50, 0x50);
// The pictures' accent: what the picture is about.
const QColor kAccent(0x4f, 0xc3, 0xf7);

QFont font(int pixelSize, bool bold = false)
{
    QFont result(QStringLiteral("Arial"));
    result.setPixelSize(pixelSize);
    result.setBold(bold);
    return result;
}

void badge(QPainter& painter, const QPointF& centre, int number)
{
    painter.setPen(QPen(kBackground, 2));
    painter.setBrush(kAccent);
    painter.drawEllipse(centre, kBadgeRadius, kBadgeRadius);
    painter.setPen(kBackground);
    painter.setFont(font(14, true));
    painter.drawText(QRectF(centre - QPointF(kBadgeRadius, kBadgeRadius),
                            QSizeF(2 * kBadgeRadius, 2 * kBadgeRadius)),
                     Qt::AlignCenter, QString::number(number));
}

// The legend entries one under another in `column`, from its top; returns the first entry that
// did not fit.
int legend(QPainter& painter, const QRectF& column, const QVector<HelpPictureLayout::Callout>& all,
           int first)
{
    const QFont text = font(15);
    const QFontMetricsF metrics(text);
    const double textLeft = column.left() + 2 * kBadgeRadius + 8;
    double y = column.top();
    int entry = first;
    for (; entry < all.size(); ++entry) {
        const QRectF box(textLeft, y, column.right() - textLeft, column.bottom() - y);
        const QRectF needed = metrics.boundingRect(
            box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, all[entry].text);
        if (needed.bottom() > column.bottom())
            break;
        badge(painter, QPointF(column.left() + kBadgeRadius, y + metrics.height() / 2), entry + 1);
        painter.setPen(kText);
        painter.setFont(text);
        painter.drawText(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, all[entry].text);
        y = needed.bottom() + 12;
    }
    return entry;
}

} // namespace

QImage HelpPictureLayout::compose(const QImage& screenshot, const QString& title,
                                  const QVector<Callout>& callouts)
{
    QImage picture(kSize, QImage::Format_RGB32);
    picture.fill(kBackground);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    painter.setPen(kText);
    painter.setFont(font(24, true));
    painter.drawText(QRectF(kMargin, 0, kSize.width() - 2 * kMargin, kTitleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, title);

    const double scale = kShotWidth / screenshot.width();
    const QRectF shot(kMargin, kTitleHeight, kShotWidth, screenshot.height() * scale);
    painter.drawImage(shot, screenshot);
    painter.setPen(QPen(kBorder, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(shot);

    for (int i = 0; i < callouts.size(); ++i) {
        const QRectF area(shot.topLeft() + callouts[i].area.topLeft() * scale,
                          callouts[i].area.size() * scale);
        painter.setPen(QPen(kAccent, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(area.adjusted(-2, -2, 2, 2), 3, 3);
        // On the frame's top left corner, held inside the screenshot.
        const QPointF corner(
            qBound(shot.left() + kBadgeRadius, area.left(), shot.right() - kBadgeRadius),
            qBound(shot.top() + kBadgeRadius, area.top(), shot.bottom() - kBadgeRadius));
        badge(painter, corner, i + 1);
    }

    // The legend beside the screenshot, and what does not fit there under it, across.
    const QRectF beside(shot.right() + kMargin, kTitleHeight,
                        kSize.width() - shot.right() - 2 * kMargin,
                        kSize.height() - kTitleHeight - kMargin);
    const int rest = legend(painter, beside, callouts, 0);
    const QRectF under(kMargin, shot.bottom() + kMargin, kShotWidth,
                       kSize.height() - shot.bottom() - 2 * kMargin);
    if (legend(painter, under, callouts, rest) < callouts.size())
        return QImage();
    return picture;
}
