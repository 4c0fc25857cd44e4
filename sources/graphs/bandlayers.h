#pragma once

#include <QImage>
#include <QRgb>
#include <QSize>
#include <QTransform>
#include <QVector>

#include <functional>

class QPainter;

// Draws the band curves of a graph in order, each over the ones before. While a single band
// changes from paint to paint (a dragged handle), the bands under it and the bands over it are
// kept as two pictures and only that band is drawn between them. Drawing over is associative,
// so this gives the picture that drawing every band gives, up to rounding.
class BandLayers
{
public:
    // What a band looks like: its shape (a polyline stamp) and its colour.
    struct Look
    {
        quint64 shape = 0;
        QRgb colour = 0;
        bool operator==(const Look& other) const
        {
            return shape == other.shape && colour == other.colour;
        }
        bool operator!=(const Look& other) const { return !(*this == other); }
    };
    using DrawBand = std::function<void(QPainter& painter, int band)>;

    // Draws bands 0 .. looks.size() - 1 with `drawBand`.
    void draw(QPainter& painter, const QVector<Look>& looks, const DrawBand& drawBand);

private:
    // The pixels a painter paints on: layers fit only the frame they were drawn for.
    struct Frame
    {
        QSize size;
        qreal devicePixelRatio = 1;
        QTransform transform;
        bool operator==(const Frame& other) const
        {
            return size == other.size && devicePixelRatio == other.devicePixelRatio &&
                   transform == other.transform;
        }
    };
    static Frame frameOf(const QPainter& painter);

    bool layersFit(const Frame& frame, const QVector<Look>& looks) const;
    void build(QPainter& painter, const Frame& frame, int liveBand, const QVector<Look>& looks,
               const DrawBand& drawBand);
    QImage drawLayer(QPainter& painter, const Frame& frame, int from, int to,
                     const DrawBand& drawBand) const;
    static void composite(QPainter& painter, const QImage& layer);

    QVector<Look> m_lastLooks;  // as at the last paint
    QVector<Look> m_layerLooks; // as when the layers were drawn
    int m_liveBand = -1;
    Frame m_frame;
    QImage m_under;
    QImage m_over;
};
