#pragma once

#include "curvegraphitem.h"

class CrossoverCurvePlotter;

// Crossover graph: each band's response filled in its band colour. The page places and drags
// the handles itself; the item paints and says when it has repainted.
class CrossoverGraphItem : public CurveGraphItem
{
    Q_OBJECT
    Q_PROPERTY(int waysCount READ waysCount WRITE setWaysCount NOTIFY waysCountChanged)
    Q_PROPERTY(int subsCount READ subsCount WRITE setSubsCount NOTIFY subsCountChanged)
    Q_PROPERTY(bool isSubPresent READ isSubPresent WRITE setIsSubPresent)
    Q_PROPERTY(int bandCount READ bandCount WRITE setBandCount NOTIFY bandCountChanged)

public:
    explicit CrossoverGraphItem(QQuickItem* parent = nullptr);

    // A layout set after completion reaches the plotter, which binds its bands anew.
    int waysCount() const { return m_waysCount; }
    void setWaysCount(int count);
    int subsCount() const { return m_subsCount; }
    void setSubsCount(int count);
    bool isSubPresent() const { return m_isSubPresent; }
    void setIsSubPresent(bool present) { m_isSubPresent = present; }
    int bandCount() const { return m_bandCount; }
    void setBandCount(int count);

    Q_INVOKABLE void componentCompleted();

    CrossoverCurvePlotter* plotter() const { return m_plotter; }

    void paint(QPainter* painter) override;

public slots:
    void onCurvesChanged(Curves& curves) override;

signals:
    void waysCountChanged(int count);
    void subsCountChanged(int count);
    void bandCountChanged(int count);

protected:
    void setPlotRectangle(const QRectF& rectangle) override;

private:
    void drawCurves(QPainter& painter);
    void bindPlotter();
    // The counts of one change of layout arrive one by one: the plotter binds once, after them.
    void rebindLater();

    CrossoverCurvePlotter* m_plotter;
    int m_waysCount = 0;
    int m_subsCount = 0;
    int m_bandCount = 0;
    bool m_isSubPresent = false;
    bool m_rebindQueued = false;
};
