#pragma once

#include "graphitembase.h"

#include <QList>
#include <QMap>
#include <QPointF>
#include <QStringList>
#include <QVariantList>

#include <optional>

class QX8GEQBands;

// Graphic-EQ graph: 31 bars from red to yellow around the middle line (+-12 dB over half the
// height) and one handle per band, each once the device has reported the band's gain.
class QX8GEQGraphItem : public GraphItemBase
{
    Q_OBJECT
    Q_PROPERTY(QVariantList controlPoints READ controlPoints NOTIFY controlPointsChanged)
    // The bands' labels, which are also their state-variable names, in band order.
    Q_PROPERTY(QStringList bandLabels READ bandLabels CONSTANT)
    // Every band's gain has come from the device; until then the panel says that it waits.
    Q_PROPERTY(bool allGainsArrived READ allGainsArrived NOTIFY allGainsArrivedChanged)

public:
    explicit QX8GEQGraphItem(QQuickItem* parent = nullptr);

    QVariantList controlPoints() const;
    QStringList bandLabels() const;
    bool allGainsArrived() const;

    Q_INVOKABLE void componentCompleted();
    // A handle dragged to (x, y) in item pixels, y down from the top.
    Q_INVOKABLE void setControlPoint(int pointID, int x, int y);
    // Whether the handle of a band was known at the last paint (its gain had come from the
    // device); until then its entry in controlPoints is (0, 0) and is not to be shown.
    Q_INVOKABLE bool hasControlPoint(int index) const;
    // A finger sweeping from previousX (0 for the first move after a touch) to (x, y): sets the
    // band of every column passed that the device has reported, at 0.05 dB per pixel above the
    // middle line.
    Q_INVOKABLE void reDrawBands(int previousX, int x, int y);
    // A key's steps of a band's gain (QX8GEQBands::stepGain), shown at once.
    Q_INVOKABLE void stepBand(int band, int steps);

    QX8GEQBands* bands() const { return m_bands; }
    bool isSweeping() const { return m_sweeping; }
    int sweepBand() const { return m_sweepBand; }

    void paint(QPainter* painter) override;

signals:
    void controlPointsChanged(QVariantList controlPoints);
    void allGainsArrivedChanged(bool arrived);

public slots:
    // The gains by band label stay owned by the bands object; the item reads them when it paints.
    void onCurvesChanged(QMap<QString, float>& values);

protected:
    void setPlotRectangle(const QRectF& rectangle) override;

private:
    void refreshHandles();
    void drawBand(int column, double gain);
    // The band's gain as the device last reported it (or a sweep set it); none before.
    std::optional<float> gainOf(int band) const;

    QX8GEQBands* m_bands;
    QMap<QString, float>* m_values = nullptr;
    bool m_sweeping = false;
    int m_sweepBand = 0;
    QList<std::optional<QPointF>> m_handles;
};
