#pragma once

#include "bandvariables.h"
#include "curves.h"

#include <QObject>
#include <QRectF>
#include <QStringList>
#include <QTimer>

// What the curve plotters share: the value objects of the bands, the plot rectangle, the
// curves (one per band, then the total where there is one) and the settle period after binding.
// Curves go out by reference over direct connections only; receivers read them when painting.
class CurvePlotterBase : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QRectF boundRectangle READ boundRectangle WRITE setBoundRectangle NOTIFY
                   boundRectangleChanged)
    Q_PROPERTY(int currentBandIndex READ currentBandIndex WRITE setCurrentBandIndex)

public:
    QRectF boundRectangle() const { return m_boundRectangle; }
    virtual void setBoundRectangle(const QRectF& rectangle);
    int currentBandIndex() const { return m_currentBandIndex; }
    void setCurrentBandIndex(int index) { m_currentBandIndex = index; }

    QString poName() const { return m_poName; }
    int bandCount() const { return m_bandCount; }
    int step() const { return m_step; }
    const Curves& curves() const { return m_curves; }
    bool isSettling() const { return m_settleTimer.isActive(); }
    const BandVariables& variables() const { return m_variables; }

signals:
    void boundRectangleChanged(QRectF boundRectangle);
    void curvesChanged(Curves& curves);

public slots:
    virtual void onBoundRectangleChanged(QRectF rectangle);
    virtual void timerTick();

protected:
    CurvePlotterBase(int settleMs, int step, QObject* parent);

    // Binds the plotter to `poName` with `bandCount` bands and the given layout. False when it is
    // bound so already; otherwise the old value objects and curves are gone, the new names are
    // stored, and the caller creates the new objects.
    bool rebind(const QString& poName, int bandCount, const QStringList& layout = {});
    void startSettling() { m_settleTimer.start(m_settleMs); }
    // Every band in order; a plotter that can do better (one total for all) overrides it.
    virtual void refreshAllBands();
    virtual void refreshBandPoints(int band) = 0;
    void emitCurves() { emit curvesChanged(m_curves); }

    BandVariables m_variables;
    Curves m_curves;
    int m_step;

private:
    QRectF m_boundRectangle;
    int m_currentBandIndex = 0;
    QString m_poName;
    int m_bandCount = 0;
    QStringList m_layout;
    bool m_bound = false;
    int m_settleMs;
    QTimer m_settleTimer;
};
