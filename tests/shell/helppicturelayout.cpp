#include "helppicturelayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace {

const QSize kSize(960, 720);
constexpr double kMargin = 16;
constexpr double kTitleHeight = 44;
constexpr double kShotWidth = 640;
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

constexpr double kBadgeRadius = HelpPictureLayout::kBadgeRadius;
// Room kept between a badge and any frame, so that the two read apart.
constexpr double kBadgeClearance = 3;

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

QRectF badgeBox(const QPointF& centre)
{
    const double reach = kBadgeRadius + kBadgeClearance;
    return QRectF(centre - QPointF(reach, reach), QSizeF(2 * reach, 2 * reach));
}

// Where badges may stand: on the screenshot, and in bands right of it and under it for the cells
// of its last column and row (a grid of cells against its edge has no room between them).
QRectF badgeRoom(const QRectF& shot)
{
    const double band = 2 * (kBadgeRadius + kBadgeClearance) + 2;
    return shot.adjusted(0, 0, band, band);
}

// Places round `frame` where a badge may stand, the preferred first: left of its top left
// corner, above it, right of its top right corner, below its bottom left corner, left of its
// bottom left corner, above its top right corner.
QVector<QPointF> placesBeside(const QRectF& frame)
{
    const double r = kBadgeRadius + kBadgeClearance + 2;
    return {QPointF(frame.left() - r, frame.top() + r),
            QPointF(frame.left() + r, frame.top() - r),
            QPointF(frame.right() + r, frame.top() + r),
            QPointF(frame.left() + r, frame.bottom() + r),
            QPointF(frame.left() - r, frame.bottom() - r),
            QPointF(frame.right() - r, frame.top() - r)};
}

// Places in `frame`'s corners, for a frame with no room round it (a graph filling the page).
QVector<QPointF> placesInside(const QRectF& frame)
{
    const double r = kBadgeRadius + kBadgeClearance + 2;
    return {QPointF(frame.right() - r, frame.top() + r), QPointF(frame.left() + r, frame.top() + r),
            QPointF(frame.right() - r, frame.bottom() - r),
            QPointF(frame.left() + r, frame.bottom() - r)};
}

} // namespace

QVector<QPointF> HelpPictureLayout::badgeCentres(const QRectF& shot,
                                                 const QVector<QVector<QRectF>>& frames,
                                                 const QVector<QRectF>& texts)
{
    const QRectF room = badgeRoom(shot);
    QVector<QRectF> taken; // every frame, then the badges placed
    for (const QVector<QRectF>& callout : frames)
        taken += callout;
    // A badge may lie inside one of its own frames, never across a frame or in another's.
    const auto fits = [&](const QPointF& place, const QVector<QRectF>& own, bool keepOffTexts) {
        const QRectF box = badgeBox(place);
        const auto blocks = [&box, &own](const QRectF& other) {
            return other.intersects(box) && !(own.contains(other) && other.contains(box));
        };
        return room.contains(box) && std::none_of(taken.cbegin(), taken.cend(), blocks) &&
               (!keepOffTexts ||
                std::none_of(texts.cbegin(), texts.cend(),
                             [&box](const QRectF& text) { return text.intersects(box); }));
    };
    QVector<QPointF> centres;
    for (const QVector<QRectF>& callout : frames) {
        // Beside its first frame if there is room, else beside any of its others (a cell in the
        // middle of a grid has no room of its own), else in a corner of one.
        QVector<QPointF> places;
        for (const QRectF& frame : callout)
            places += placesBeside(frame);
        for (const QRectF& frame : callout)
            places += placesInside(frame);
        auto place = std::find_if(places.cbegin(), places.cend(),
                                  [&](const QPointF& at) { return fits(at, callout, true); });
        if (place == places.cend())
            place = std::find_if(places.cbegin(), places.cend(),
                                 [&](const QPointF& at) { return fits(at, callout, false); });
        const QPointF centre = place != places.cend() ? *place : places.value(0);
        centres.append(centre);
        taken.append(badgeBox(centre));
    }
    return centres;
}

QImage HelpPictureLayout::compose(const QImage& screenshot, const QString& title,
                                  const QVector<Callout>& callouts, const QVector<QRectF>& texts)
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

    const auto inPicture = [&shot, scale](const QRectF& area) {
        return QRectF(shot.topLeft() + area.topLeft() * scale, area.size() * scale);
    };
    QVector<QVector<QRectF>> frames;
    painter.setPen(QPen(kAccent, 2));
    painter.setBrush(Qt::NoBrush);
    for (const Callout& callout : callouts) {
        QVector<QRectF> drawn;
        for (const QRectF& area : callout.areas) {
            const QRectF frame = inPicture(area).adjusted(-2, -2, 2, 2);
            painter.drawRoundedRect(frame, 3, 3);
            drawn.append(frame);
        }
        frames.append(drawn);
    }
    QVector<QRectF> textsInPicture;
    for (const QRectF& text : texts)
        textsInPicture.append(inPicture(text));
    const QVector<QPointF> centres = badgeCentres(shot, frames, textsInPicture);
    for (int i = 0; i < centres.size(); ++i)
        badge(painter, centres[i], i + 1);

    // The legend beside the screenshot, and what does not fit there under it, across.
    const QRectF beside(badgeRoom(shot).right() + kMargin / 2, kTitleHeight,
                        kSize.width() - badgeRoom(shot).right() - 1.5 * kMargin,
                        kSize.height() - kTitleHeight - kMargin);
    const int rest = legend(painter, beside, callouts, 0);
    const QRectF under(kMargin, badgeRoom(shot).bottom() + kMargin, kShotWidth,
                       kSize.height() - badgeRoom(shot).bottom() - 2 * kMargin);
    if (legend(painter, under, callouts, rest) < callouts.size())
        return QImage();
    return picture;
}
