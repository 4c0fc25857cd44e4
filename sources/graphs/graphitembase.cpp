#include "graphitembase.h"

GraphItemBase::GraphItemBase(RepaintPolicy policy, int intervalMs, QQuickItem* parent)
    : QQuickPaintedItem(parent), m_policy(policy), m_intervalMs(intervalMs)
{
    setPerformanceHint(QQuickPaintedItem::FastFBOResizing);
    connect(&m_repaintTimer, &QTimer::timeout, this, &GraphItemBase::timerTick);
}

GraphItemBase::~GraphItemBase()
{
    m_repaintTimer.stop();
}

void GraphItemBase::setPOName(const QString& name)
{
    if (m_poName == name)
        return;
    m_poName = name;
    emit poNameChanged(name);
}

void GraphItemBase::setSVName(const QString& name)
{
    if (m_svName == name)
        return;
    m_svName = name;
    emit svNameChanged(name);
}

void GraphItemBase::setCurrentBandIndex(int index)
{
    if (m_currentBandIndex == index)
        return;
    m_currentBandIndex = index;
    emit currentBandIndexChanged(index);
}

void GraphItemBase::markDirty()
{
    m_dirty = true;
    switch (m_policy) {
    case RepaintPolicy::Immediate:
        timerTick();
        break;
    case RepaintPolicy::Coalesce:
        if (!m_repaintTimer.isActive())
            m_repaintTimer.start(m_intervalMs);
        break;
    case RepaintPolicy::Debounce:
        m_repaintTimer.start(m_intervalMs);
        break;
    }
}

void GraphItemBase::timerTick()
{
    if (!m_dirty)
        return;
    m_dirty = false;
    update();
}

void GraphItemBase::dimensionsChanged()
{
    if (m_completed)
        pushPlotRectangle();
}

void GraphItemBase::boundingRectChanged()
{
    if (width() > 0 && height() > 0)
        pushPlotRectangle();
}

void GraphItemBase::pushPlotRectangle()
{
    setPlotRectangle(QRectF(0, 0, width(), height() * 0.5));
}
