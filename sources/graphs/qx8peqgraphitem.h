#pragma once

#include "curvegraphitem.h"
#include "overlaycurve.h"

#include <QPointF>
#include <QVariantList>

#include <optional>

class PeqGeometry;
class QX8PEQCurvePlotter;

// Parametric-EQ graph: a translucent filled curve per band, the white total curve, and
// optionally a measured room response, a target curve and the room response after correction.
// The total, and the room response after correction with it, wait for every band's values.
class QX8PEQGraphItem : public CurveGraphItem
{
    Q_OBJECT
    Q_PROPERTY(int bandCount READ bandCount WRITE setBandCount NOTIFY bandCountChanged)
    Q_PROPERTY(QVariantList controlPoints READ controlPoints NOTIFY controlPointsChanged)
    Q_PROPERTY(bool showRoomCurve READ showRoomCurve WRITE setShowRoomCurve)
    Q_PROPERTY(QString roomCurveString READ roomCurveString WRITE setRoomCurveString)
    Q_PROPERTY(QString targetCurveString READ targetCurveString WRITE setTargetCurveString)
    Q_PROPERTY(bool finalResultantVisible READ finalResultantVisible WRITE setFinalResultantVisible)

public:
    explicit QX8PEQGraphItem(QQuickItem* parent = nullptr);

    int bandCount() const { return m_bandCount; }
    void setBandCount(int count);
    QVariantList controlPoints() const;
    bool showRoomCurve() const { return m_showRoomCurve; }
    void setShowRoomCurve(bool show);
    QString roomCurveString() const { return m_roomText; }
    void setRoomCurveString(const QString& text);
    QString targetCurveString() const { return m_targetText; }
    void setTargetCurveString(const QString& text);
    bool finalResultantVisible() const { return m_finalResultantVisible; }
    void setFinalResultantVisible(bool visible);

    Q_INVOKABLE void componentCompleted();
    Q_INVOKABLE void setTouchPointsVisible(bool visible) { m_touchPointsVisible = visible; }
    // A touch point dragged to (x, y) in item pixels, y down from the top.
    Q_INVOKABLE void setControlPoint(int pointID, int x, int y);
    // Whether the handle of a band was known at the last paint (its frequency and gain had come
    // from the device); until then its entry in controlPoints is (0, 0) and is not to be shown.
    Q_INVOKABLE bool hasControlPoint(int index) const;

    QX8PEQCurvePlotter* plotter() const { return m_plotter; }

    void paint(QPainter* painter) override;

public slots:
    void boundingRectChanged() override;

signals:
    void bandCountChanged(int bandCount);
    void controlPointsChanged(QVariantList controlPoints);

protected:
    void setPlotRectangle(const QRectF& rectangle) override;

private:
    void refreshHandles();
    void drawRoomCurve(QPainter& painter, const PeqGeometry& geometry);
    void drawBandCurves(QPainter& painter);
    void drawTargetCurve(QPainter& painter, const PeqGeometry& geometry);
    void drawFinalResultant(QPainter& painter, const PeqGeometry& geometry);

    QX8PEQCurvePlotter* m_plotter;
    int m_bandCount = 0;
    bool m_touchPointsVisible = true;
    bool m_showRoomCurve = true;
    bool m_finalResultantVisible = true;
    QString m_roomText;
    QString m_targetText;
    OverlayCurve m_room{QString()};
    OverlayCurve m_target{QString()};
    QList<std::optional<QPointF>> m_handles;
};
