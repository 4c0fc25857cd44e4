#pragma once

#include "graphitembase.h"

#include <QList>
#include <QMap>
#include <QPointF>
#include <QVariantList>

// Graphic-EQ graph: 31 bars from red to yellow around the middle line (+-12 dB over half the
// height) and one handle per band.
class QX8GEQGraphItem : public GraphItemBase
{
    Q_OBJECT
    Q_PROPERTY(QVariantList controlPoints READ controlPoints NOTIFY controlPointsChanged)

public:
    explicit QX8GEQGraphItem(QQuickItem* parent = nullptr);

    QVariantList controlPoints() const;

    Q_INVOKABLE void componentCompleted();

    void paint(QPainter* painter) override;

signals:
    void controlPointsChanged(QVariantList controlPoints);

public slots:
    // The gains by band label stay owned by the bands object; the item reads them when it paints.
    void onCurvesChanged(QMap<QString, float>& values);

private:
    void refreshHandles();

    const QMap<QString, float>* m_values = nullptr;
    QList<QPointF> m_handles;
};
