#include "bandlayers.h"

#include <QPainter>

namespace {

// The one band whose look differs between two paints; -1 when none or several do.
int singleChange(const QVector<BandLayers::Look>& before, const QVector<BandLayers::Look>& now)
{
    if (before.size() != now.size())
        return -1;
    int changed = -1;
    for (int band = 0; band < now.size(); ++band) {
        if (before[band] == now[band])
            continue;
        if (changed >= 0)
            return -1;
        changed = band;
    }
    return changed;
}

} // namespace

void BandLayers::draw(QPainter& painter, const QVector<Look>& looks, const DrawBand& drawBand)
{
    const int changed = singleChange(m_lastLooks, looks);
    m_lastLooks = looks;
    const Frame frame = frameOf(painter);
    if (!layersFit(frame, looks)) {
        if (changed < 0) {
            // Not one band on the move: draw them all and hold no pictures.
            m_liveBand = -1;
            m_under = QImage();
            m_over = QImage();
            for (int band = 0; band < looks.size(); ++band)
                drawBand(painter, band);
            return;
        }
        build(painter, frame, changed, looks, drawBand);
    }
    composite(painter, m_under);
    drawBand(painter, m_liveBand);
    composite(painter, m_over);
}

BandLayers::Frame BandLayers::frameOf(const QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    return {QSize(device->width(), device->height()), device->devicePixelRatioF(),
            painter.worldTransform()};
}

bool BandLayers::layersFit(const Frame& frame, const QVector<Look>& looks) const
{
    if (m_liveBand < 0 || !(frame == m_frame) || looks.size() != m_layerLooks.size())
        return false;
    for (int band = 0; band < looks.size(); ++band) {
        if (band != m_liveBand && looks[band] != m_layerLooks[band])
            return false;
    }
    return true;
}

void BandLayers::build(QPainter& painter, const Frame& frame, int liveBand,
                       const QVector<Look>& looks, const DrawBand& drawBand)
{
    m_frame = frame;
    m_liveBand = liveBand;
    m_layerLooks = looks;
    m_under = drawLayer(painter, frame, 0, liveBand, drawBand);
    m_over = drawLayer(painter, frame, liveBand + 1, looks.size(), drawBand);
}

QImage BandLayers::drawLayer(QPainter& painter, const Frame& frame, int from, int to,
                             const DrawBand& drawBand) const
{
    if (from >= to)
        return QImage();
    QImage layer(frame.size, QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(frame.devicePixelRatio);
    layer.fill(Qt::transparent);
    QPainter layerPainter(&layer);
    layerPainter.setRenderHints(painter.renderHints());
    layerPainter.setWorldTransform(frame.transform);
    for (int band = from; band < to; ++band)
        drawBand(layerPainter, band);
    return layer;
}

void BandLayers::composite(QPainter& painter, const QImage& layer)
{
    if (layer.isNull())
        return;
    // The layer holds device pixels: lay it on one to one.
    painter.save();
    painter.resetTransform();
    painter.drawImage(QPointF(0, 0), layer);
    painter.restore();
}
