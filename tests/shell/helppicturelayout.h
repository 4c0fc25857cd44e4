#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <QVector>

// A help picture: a page's screenshot, scaled down, with a numbered frame round each control it
// explains, and beside it the legend of what each numbered control does, on the pages' dark
// background: 960 x 720, the help overlay's room in a 1024 x 768 window.
class HelpPictureLayout
{
public:
    struct Callout
    {
        QRectF area; // in the screenshot's pixels
        QString text;
    };

    // A null image when the legend does not fit.
    static QImage compose(const QImage& screenshot, const QString& title,
                          const QVector<Callout>& callouts);
};
