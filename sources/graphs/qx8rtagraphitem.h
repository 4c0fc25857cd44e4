#pragma once

#include <QColor>
#include <QList>
#include <QQuickPaintedItem>
#include <QTimer>
#include <QVector>

class QX8Meter;

// The real-time analyser: one bar per third-octave band, each the level of the analyser's band
// meter ("Band_1_Level", ...) on the device, polled at the meters' cadence. Repaints gather the
// bands' answers into at most one picture per kRepaintMs.
class QX8RTAGraphItem : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QString poName READ poName WRITE setPOName NOTIFY poNameChanged)
    Q_PROPERTY(int bandCount READ bandCount WRITE setBandCount NOTIFY bandCountChanged)
    Q_PROPERTY(double minimumLevel MEMBER m_minimumLevel NOTIFY levelSpanChanged)
    Q_PROPERTY(double maximumLevel MEMBER m_maximumLevel NOTIFY levelSpanChanged)
    Q_PROPERTY(QColor barColor MEMBER m_barColor NOTIFY barColorChanged)
    // The frequency span of the bars, from the lower edge of the first band to the upper edge of
    // the last, for the frequency axis under them.
    Q_PROPERTY(double lowestFrequency READ lowestFrequency NOTIFY bandCountChanged)
    Q_PROPERTY(double highestFrequency READ highestFrequency NOTIFY bandCountChanged)

public:
    static constexpr int kRepaintMs = 50;

    explicit QX8RTAGraphItem(QQuickItem* parent = nullptr);
    ~QX8RTAGraphItem() override;

    QString poName() const { return m_poName; }
    void setPOName(const QString& name);
    int bandCount() const { return m_bandCount; }
    void setBandCount(int count);
    double lowestFrequency() const;
    double highestFrequency() const;

    // Binds a meter to every band of the object; binding the same again changes nothing.
    Q_INVOKABLE void componentCompleted();

    // The last level of each band in dB; NaN until its meter has reported.
    const QVector<double>& levels() const { return m_levels; }

    void paint(QPainter* painter) override;

signals:
    void poNameChanged(QString poName);
    void bandCountChanged(int bandCount);
    void levelSpanChanged();
    void barColorChanged();
    void repainted();

private:
    void onMeterValue(int band, const QString& text);
    void unbind();

    QString m_poName;
    int m_bandCount = 0;
    QString m_boundName;
    int m_boundCount = 0;
    QList<QX8Meter*> m_meters;
    QVector<double> m_levels;
    double m_minimumLevel = -80.0;
    double m_maximumLevel = 0.0;
    QColor m_barColor = Qt::green;
    QTimer m_repaintTimer;
};
