#include "crossovergraphitem.h"

#include "bandpalette.h"
#include "crossovercurveplotter.h"

#include <QPainter>

namespace {

// The sub is the last curve and keeps the sub colour (entry 2) whatever the number of ways.
constexpr int kSubColorEntry = 2;

} // namespace

CrossoverGraphItem::CrossoverGraphItem(QQuickItem* parent)
    : CurveGraphItem(RepaintPolicy::Immediate, 0, parent)
    , m_plotter(new CrossoverCurvePlotter(this, 10))
{
    connect(m_plotter, &CrossoverCurvePlotter::curvesChanged, this,
            &CrossoverGraphItem::onCurvesChanged);
    connect(this, &CrossoverGraphItem::currentBandIndexChanged, m_plotter,
            &CrossoverCurvePlotter::setCurrentBandIndex);
}

void CrossoverGraphItem::componentCompleted()
{
    qDebug() << " ComponentCompleted : " << poName() << m_bandCount << m_waysCount << m_subsCount;
    m_plotter->init(poName(), m_bandCount, m_waysCount, m_subsCount);
    markCompleted();
    pushPlotRectangle();
}

void CrossoverGraphItem::setPlotRectangle(const QRectF& rectangle)
{
    m_plotter->setBoundRectangle(rectangle);
}

void CrossoverGraphItem::paint(QPainter* painter)
{
    if (!canPaint())
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    const int count = curves().size();
    drawBands(*painter, count, height(), height(), [this, count](int band) {
        const int entry = count > 1 && band == count - 1 ? kSubColorEntry : band;
        return BandPalette::colorAt(bandColors(), entry);
    });
    emit repainted();
}
