#pragma once

#include "bandvariables.h"

#include <QMap>
#include <QObject>
#include <QPoint>
#include <QRectF>
#include <QStringList>

#include <optional>

// Binds the 31 band gains of one graphic-EQ processing object (state variables named by the
// band labels, "20 Hz" .. "20.0 kHz") and keeps the latest value of each band that has reported.
// A band the device has not reported yet has no value and no handle, and takes no drag: a guess
// shown or written would stand for the device's gain. The map goes out by reference over direct
// connections only.
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
    // The handle of band i: x at i/32 of the width, y up from the middle line; none until the
    // band's gain has come from the device.
    std::optional<QPoint> handle(int band) const;
    Q_INVOKABLE bool hasControlPoint(int band) const { return handle(band).has_value(); }
    // The handle, or (0, 0) while there is none.
    Q_INVOKABLE QPoint controlPoint(int band) const { return handle(band).value_or(QPoint()); }
    // A handle dragged to y (down from the top of the item); x is not used. Nothing for a band
    // without a handle.
    Q_INVOKABLE void setControlPoint(int band, int x, int y);
    // Hands a gain to the device, held inside the band's range.
    Q_INVOKABLE void updateSVMap(const QString& label, float value);
    // A key's steps of a band's gain from the one shown, each of the band variable's
    // resolution: shown at once and handed to the device as a drag's gain is. Nothing for a band
    // whose gain has not come.
    void stepGain(int band, int steps);

    QString poName() const { return m_poName; }
    int bandCount() const { return m_bandCount; }
    const QStringList& labels() const { return m_labels; }
    QMap<QString, float>& values() { return m_values; }
    const BandVariables& variables() const { return m_variables; }
    bool hasGain(const QString& label) const { return m_values.contains(label); }
    // Every bound band has reported its gain.
    bool allGainsArrived() const { return m_variables.allArrived(); }

signals:
    void boundRectangleChanged(QRectF boundRectangle);
    void curvesChanged(QMap<QString, float>& values);
    void allGainsArrivedChanged(bool arrived);

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
