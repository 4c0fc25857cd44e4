#pragma once

#include <QQuickPaintedItem>
#include <QTimer>
#include <QVariant>

// What the graph items share: the processing object they show, band colours, the selected
// band, the "completed" gate and the policy that turns new data into repaints.
class GraphItemBase : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QString poName READ poName WRITE setPOName NOTIFY poNameChanged)
    Q_PROPERTY(QString svName READ svName WRITE setSVName NOTIFY svNameChanged)
    Q_PROPERTY(QVariant bandColors READ bandColors WRITE setBandColors)
    Q_PROPERTY(int currentBandIndex READ currentBandIndex WRITE setCurrentBandIndex NOTIFY
                   currentBandIndexChanged)

public:
    enum class RepaintPolicy {
        Immediate, // every change repaints
        Coalesce,  // at most one repaint per interval; the timer keeps running
        Debounce,  // one repaint an interval after the last change
    };

    GraphItemBase(RepaintPolicy policy, int intervalMs, QQuickItem* parent);
    ~GraphItemBase() override;

    QString poName() const { return m_poName; }
    void setPOName(const QString& name);
    QString svName() const { return m_svName; }
    void setSVName(const QString& name);
    QVariant bandColors() const { return m_bandColors; }
    void setBandColors(const QVariant& colors) { m_bandColors = colors; }
    int currentBandIndex() const { return m_currentBandIndex; }
    void setCurrentBandIndex(int index);

    bool isCompleted() const { return m_completed; }

    // The plot rectangle follows the item once it is completed: (0, 0, width, height / 2).
    Q_INVOKABLE virtual void dimensionsChanged();

signals:
    void poNameChanged(QString poName);
    void svNameChanged(QString svName);
    void currentBandIndexChanged(int index);
    void repainted();

public slots:
    void timerTick();
    // Only a real size reaches the plotter.
    virtual void boundingRectChanged();

protected:
    void markCompleted() { m_completed = true; }
    // Hands (0, 0, width, height / 2) to the plotter.
    void pushPlotRectangle();
    virtual void setPlotRectangle(const QRectF& rectangle) = 0;
    // New data arrived: repaint as the policy says.
    void markDirty();

private:
    RepaintPolicy m_policy;
    int m_intervalMs;
    QTimer m_repaintTimer;
    bool m_completed = false;
    bool m_dirty = false;
    QString m_poName;
    QString m_svName;
    QVariant m_bandColors;
    int m_currentBandIndex = 0;
};
