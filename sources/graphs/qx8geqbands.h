#pragma once

#include "bandvariables.h"

#include <QMap>
#include <QObject>
#include <QPoint>
#include <QRectF>
#include <QStringList>

// Binds the 31 band gains of one graphic-EQ processing object (state variables named by the
// band labels, "20 Hz" .. "20.0 kHz") and keeps their latest values, 0 until a band reports.
// The map goes out by reference over direct connections only.
class QX8GEQBands : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QRectF boundRectangle READ boundRectangle WRITE setBoundRectangle NOTIFY
                   boundRectangleChanged)

public:
    // The gain range of a band on the device; nothing outside it is written.
    static constexpr double kMinGainDb = -12.0;
    static constexpr double kMaxGainDb = 12.0;

    explicit QX8GEQBands(QObject* parent = nullptr);

    QRectF boundRectangle() const { return m_boundRectangle; }
    void setBoundRectangle(const QRectF& rectangle);

    // Binding the same object again changes nothing; another object replaces the bands.
    Q_INVOKABLE void init(const QString& poName, int bandCount);
    // The handle of band i: x at i/32 of the width, y up from the middle line.
    Q_INVOKABLE QPoint controlPoint(int band) const;
    // A handle dragged to y (down from the top of the item); x is not used.
    Q_INVOKABLE void setControlPoint(int band, int x, int y);
    // Hands a gain to the device, held inside the band's range.
    Q_INVOKABLE void updateSVMap(const QString& label, float value);

    QString poName() const { return m_poName; }
    int bandCount() const { return m_bandCount; }
    const QStringList& labels() const { return m_labels; }
    QMap<QString, float>& values() { return m_values; }
    const BandVariables& variables() const { return m_variables; }

signals:
    void boundRectangleChanged(QRectF boundRectangle);
    void curvesChanged(QMap<QString, float>& values);

public slots:
    void onSVChanged(float value);

private:
    QRectF m_boundRectangle;
    BandVariables m_variables;
    QMap<QString, float> m_values;
    int m_bandCount = 0;
    QString m_poName;
    bool m_bound = false;
    QStringList m_labels;
};
