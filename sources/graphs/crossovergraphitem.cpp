#include "crossovergraphitem.h"

#include "bandpalette.h"
#include "crossovercurveplotter.h"

#include <QDebug>
#include <QPainter>

namespace {

// The sub is the last curve and keeps the sub colour (entry 2) whatever the number of ways up to
// two; after three ways it takes the next entry of its own, so that no two bands share a colour.
constexpr int kSubColorEntry = 2;

} // namespace

CrossoverGraphItem::CrossoverGraphItem(QQuickItem* parent)
    : CurveGraphItem(RepaintPolicy::Immediate, 0, parent)
    , m_plotter(new CrossoverCurvePlotter(this, 10))
{
    drawFrom(m_plotter);
    connect(this, &CrossoverGraphItem::currentBandIndexChanged, m_plotter,
            &CrossoverCurvePlotter::setCurrentBandIndex);
}

void CrossoverGraphItem::componentCompleted()
{
    qDebug() << " ComponentCompleted : " << poName() << m_bandCount << m_waysCount << m_subsCount;
    bindPlotter();
    markCompleted();
    pushPlotRectangle();
}

void CrossoverGraphItem::setWaysCount(int count)
{
    m_waysCount = count;
    rebindLater();
}

void CrossoverGraphItem::setSubsCount(int count)
{
    m_subsCount = count;
    rebindLater();
}

void CrossoverGraphItem::setBandCount(int count)
{
    m_bandCount = count;
    rebindLater();
}

void CrossoverGraphItem::bindPlotter()
{
    m_plotter->init(poName(), m_bandCount, m_waysCount, m_subsCount);
}

void CrossoverGraphItem::rebindLater()
{
    if (!isCompleted() || m_rebindQueued)
        return;
    m_rebindQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_rebindQueued = false;
            bindPlotter();
        },
        Qt::QueuedConnection);
}

void CrossoverGraphItem::setPlotRectangle(const QRectF& rectangle)
{
    m_plotter->setBoundRectangle(rectangle);
}

void CrossoverGraphItem::onCurvesChanged(Curves& curves)
{
    qDebug() << "In Function: " << Q_FUNC_INFO;
    CurveGraphItem::onCurvesChanged(curves);
}

void CrossoverGraphItem::paint(QPainter* painter)
{
    if (!isCompleted())
        return;
    qDebug() << "In Function: " << Q_FUNC_INFO;
    if (!canPaint())
        return;
    drawCurves(*painter);
    emit repainted();
}

void CrossoverGraphItem::drawCurves(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    const int count = curves().size();
    qDebug() << Q_FUNC_INFO << count;
    drawBands(painter, count, height(), height(), [this, count](int band) {
        const int entry = count > 1 && band == count - 1 ? qMax(kSubColorEntry, band) : band;
        return BandPalette::colorAt(bandColors(), entry);
    });
}
