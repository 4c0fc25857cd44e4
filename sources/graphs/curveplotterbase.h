#pragma once

#include "bandvariables.h"
#include "curves.h"

#include <QObject>
#include <QRectF>
#include <QStringList>
#include <QTimer>

// What the curve plotters share: the value objects of the bands, the plot rectangle, the
// curves (one per band, then the total where there is one), the settle period after binding, and
// which bands the device has told. Until it has told all of a band's values, the band's curve is
// drawn from start values: a guess, which the items do not show. Curves go out by reference over
// direct connections only; receivers read them when painting.
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
    // Every value of every band bound has come from the device.
    bool allValuesArrived() const { return m_variables.allArrived(); }
    // The curve of a band bound here is a guess until all the band's values have come.
    bool isGuess(int band) const { return band < m_bandCount && !m_variables.bandArrived(band); }
    // Some band's curve is a guess, and so is any total of them.
    bool hasGuesses() const { return m_bandCount > 0 && !allValuesArrived(); }

signals:
    void boundRectangleChanged(QRectF boundRectangle);
    void curvesChanged(Curves& curves);
    void allValuesArrivedChanged(bool arrived);

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
    // Notes that a value of `sender` has come from the device. True when it was the last one its
    // band lacked: the band is to be drawn now, even where the value changed nothing.
    bool noteArrival(const QObject* sender);
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
