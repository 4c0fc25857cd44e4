#include "curveplotterbase.h"

#include <QDebug>

CurvePlotterBase::CurvePlotterBase(int settleMs, int step, QObject* parent)
    : QObject(parent), m_variables(this), m_step(step), m_settleMs(settleMs)
{
    connect(this, &CurvePlotterBase::boundRectangleChanged, this,
            &CurvePlotterBase::onBoundRectangleChanged);
    connect(&m_settleTimer, &QTimer::timeout, this, &CurvePlotterBase::timerTick);
}

void CurvePlotterBase::setBoundRectangle(const QRectF& rectangle)
{
    m_boundRectangle = rectangle;
    emit boundRectangleChanged(rectangle);
}

bool CurvePlotterBase::rebind(const QString& poName, int bandCount, const QStringList& layout)
{
    if (m_bound && poName == m_poName && bandCount == m_bandCount && layout == m_layout)
        return false;
    const bool arrivedBefore = allValuesArrived();
    m_variables.clear();
    m_curves.clear();
    m_poName = poName;
    m_bandCount = bandCount;
    m_layout = layout;
    m_bound = true;
    if (arrivedBefore)
        emit allValuesArrivedChanged(false);
    return true;
}

bool CurvePlotterBase::noteArrival(const QObject* sender)
{
    const bool arrivedBefore = allValuesArrived();
    const bool bandCompleted = m_variables.markArrived(sender);
    if (allValuesArrived() != arrivedBefore)
        emit allValuesArrivedChanged(!arrivedBefore);
    return bandCompleted;
}

void CurvePlotterBase::onBoundRectangleChanged(QRectF rectangle)
{
    Q_UNUSED(rectangle)
    refreshAllBands();
}

void CurvePlotterBase::timerTick()
{
    m_settleTimer.stop();
    refreshAllBands();
}

void CurvePlotterBase::refreshAllBands()
{
    for (int band = 0; band < m_bandCount; ++band)
        refreshBandPoints(band);
}
