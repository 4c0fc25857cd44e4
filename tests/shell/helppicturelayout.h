#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>

// A help picture: a page's screenshot, scaled down, with numbered frames round the controls it
// explains, and beside it the legend of what each numbered control does, on the pages' dark
// background: 960 x 720, the help overlay's room in a 1024 x 768 window.
class HelpPictureLayout
{
public:
    struct Callout
    {
        QVector<QRectF> areas; // each framed, in the screenshot's pixels; the first gets the badge
        QString text;
    };

    // A null image when the legend does not fit. `texts` are where the screenshot shows text, in
    // its pixels: badges keep off them where they can.
    static QImage compose(const QImage& screenshot, const QString& title,
                          const QVector<Callout>& callouts, const QVector<QRectF>& texts = {});

    // Where each callout's numbered badge goes, in the picture's pixels: beside one of its frames,
    // on no frame, no text and no other badge where the screenshot has such a place, else on no
    // frame and no badge, so that a badge never hides what it points at. `frames` are in the
    // picture's pixels, one list per callout, the preferred frame first; so are `texts`.
    static QVector<QPointF> badgeCentres(const QRectF& shot, const QVector<QVector<QRectF>>& frames,
                                         const QVector<QRectF>& texts = {});

    static constexpr double kBadgeRadius = 12;
};
