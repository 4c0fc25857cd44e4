#pragma once

#include "transfercurveplotter.h"

#include <QColor>
#include <QQuickPaintedItem>

// The transfer curve of a limiter, compressor, gate or AGC: output level up against input level
// across, both axes over the same span in dB so that the 1:1 line is the diagonal. It binds the
// object's values through its plotter and draws the curve they give, nothing before every value
// has arrived.
class QX8TransferGraphItem : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QString poName READ poName WRITE setPOName NOTIFY poNameChanged)
    Q_PROPERTY(TransferCurvePlotter::Law law READ law WRITE setLaw NOTIFY lawChanged)
    Q_PROPERTY(double minimumLevel READ minimumLevel WRITE setMinimumLevel NOTIFY levelSpanChanged)
    Q_PROPERTY(double maximumLevel READ maximumLevel WRITE setMaximumLevel NOTIFY levelSpanChanged)
    Q_PROPERTY(QColor curveColor MEMBER m_curveColor NOTIFY colorsChanged)
    Q_PROPERTY(QColor unityColor MEMBER m_unityColor NOTIFY colorsChanged)
    Q_PROPERTY(bool hasCurve READ hasCurve NOTIFY curveChanged)

public:
    explicit QX8TransferGraphItem(QQuickItem* parent = nullptr);
    ~QX8TransferGraphItem() override;

    QString poName() const { return m_poName; }
    void setPOName(const QString& name);
    TransferCurvePlotter::Law law() const { return m_law; }
    void setLaw(TransferCurvePlotter::Law law);
    double minimumLevel() const { return m_minimumLevel; }
    void setMinimumLevel(double level);
    double maximumLevel() const { return m_maximumLevel; }
    void setMaximumLevel(double level);
    bool hasCurve() const { return !m_plotter->curve().empty(); }

    // Binds the plotter to the object and law set so far; the panel calls it once both are known.
    Q_INVOKABLE void componentCompleted();

    const TransferCurvePlotter& plotter() const { return *m_plotter; }

    void paint(QPainter* painter) override;

signals:
    void poNameChanged(QString poName);
    void lawChanged(TransferCurvePlotter::Law law);
    void levelSpanChanged();
    void colorsChanged();
    void curveChanged();
    void repainted();

private:
    void onCurveChanged();
    // Pixel position of a level on the input (across) or output (up) axis.
    QPointF pointFor(double inputDb, double outputDb) const;

    TransferCurvePlotter* m_plotter;
    QString m_poName;
    TransferCurvePlotter::Law m_law = TransferCurvePlotter::Compressor;
    double m_minimumLevel = -90.0;
    double m_maximumLevel = 10.0;
    QColor m_curveColor = Qt::white;
    QColor m_unityColor = Qt::gray;
};
