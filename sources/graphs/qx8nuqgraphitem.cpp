#include "qx8nuqgraphitem.h"

#include "bandpalette.h"
#include "qx8nuqcurveplotter.h"

#include <QPainter>

QX8NuqGraphItem::QX8NuqGraphItem(QQuickItem* parent)
    : CurveGraphItem(RepaintPolicy::Coalesce, 100, parent)
    , m_plotter(new QX8NuqCurvePlotter(this, 10))
{
    drawFrom(m_plotter);
    connect(this, &QX8NuqGraphItem::currentBandIndexChanged, m_plotter,
            &QX8NuqCurvePlotter::setCurrentBandIndex);
}

// Nothing the plotter says while it goes may reach this half-destroyed item.
QX8NuqGraphItem::~QX8NuqGraphItem()
{
    m_plotter->disconnect();
}

void QX8NuqGraphItem::setBandCount(int count)
{
    if (m_bandCount == count)
        return;
    m_bandCount = count;
    emit bandCountChanged(count);
}

void QX8NuqGraphItem::componentCompleted()
{
    qDebug() << "QX8NuqGraphItem::componentCompleted : " << poName() << m_bandCount;
    m_plotter->init(poName(), m_bandCount);
    markCompleted();
    pushPlotRectangle();
}

void QX8NuqGraphItem::dimensionsChanged()
{
    qDebug() << "QX8NuqGraphItem::dimensionsChanged to: " << width() << "," << height();
    CurveGraphItem::dimensionsChanged();
}

void QX8NuqGraphItem::boundingRectChanged()
{
    qDebug() << "QX8NuqGraphItem::boundingRectChanged : " << width() << " , " << height();
    CurveGraphItem::boundingRectChanged();
}

void QX8NuqGraphItem::setPlotRectangle(const QRectF& rectangle)
{
    m_plotter->setBoundRectangle(rectangle);
}

void QX8NuqGraphItem::paint(QPainter* painter)
{
    if (!canPaint())
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    // The list ends with an unused entry after the band curves.
    drawBands(*painter, curves().size() - 1, 0, height() * 0.5,
              [this](int band) { return BandPalette::colorAt(bandColors(), band); });
    emit repainted();
}
