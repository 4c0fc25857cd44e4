#pragma once

#include "curvegraphitem.h"

class QX8NuqCurvePlotter;

// Nuq feedback-suppression graph: each filter a coloured notch hanging from the top edge
// (0 dB at the top, -20 dB at the bottom).
class QX8NuqGraphItem : public CurveGraphItem
{
    Q_OBJECT
    Q_PROPERTY(int bandCount READ bandCount WRITE setBandCount NOTIFY bandCountChanged)

public:
    explicit QX8NuqGraphItem(QQuickItem* parent = nullptr);
    ~QX8NuqGraphItem() override;

    int bandCount() const { return m_bandCount; }
    void setBandCount(int count);

    Q_INVOKABLE void componentCompleted();
    void dimensionsChanged() override;

    QX8NuqCurvePlotter* plotter() const { return m_plotter; }

    void paint(QPainter* painter) override;

public slots:
    void boundingRectChanged() override;

signals:
    void bandCountChanged(int bandCount);
    void controlPointsChanged(QVariantList controlPoints);

protected:
    void setPlotRectangle(const QRectF& rectangle) override;

private:
    QX8NuqCurvePlotter* m_plotter;
    int m_bandCount = 0;
};
