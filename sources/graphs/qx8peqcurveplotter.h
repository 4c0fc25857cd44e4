#pragma once

#include "parametriccurveplotter.h"

#include <QPoint>

#include <optional>
#include <vector>

class PeqGeometry;

// Binds the bands of one parametric-EQ processing object (Band_n_Frequency, _Gain, _Q, _Slope
// and the type word Band_n_Type) and draws a curve per band plus their total. A dragged handle
// goes back to the device as a frequency and a gain.
class QX8PEQCurvePlotter : public ParametricCurvePlotter
{
    Q_OBJECT

public:
    explicit QX8PEQCurvePlotter(QObject* parent = nullptr, int step = 10);

    Q_INVOKABLE void init(const QString& poName, int bandCount);

    // The handle of a band, y up from the 0 dB line; none until all its values have come from
    // the device. A band at 0 dB has its handle on the 0 dB line like any other.
    std::optional<QPoint> handle(int band) const;
    Q_INVOKABLE bool hasControlPoint(int band) const { return handle(band).has_value(); }
    // The handle, or (0, 0) while there is none.
    Q_INVOKABLE QPoint controlPoint(int band) const { return handle(band).value_or(QPoint()); }
    // A handle dragged to (x, y), y down from the top of the item.
    Q_INVOKABLE void setControlPoint(int band, int x, int y);
    Q_INVOKABLE float xForFreq(float frequency) const;
    Q_INVOKABLE float yForGain(float gain) const;
    Q_INVOKABLE int filterType(const QString& word) const;

public slots:
    void onSVChanged(QString value);

protected:
    LevelMapping levelMapping() const override;
    void refreshBandPoints(int band) override;
    // Every band, then the total once.
    void refreshAllBands() override;

private:
    bool canRefresh() const { return !isSettling() && !m_curves.isEmpty(); }
    PeqGeometry geometry() const;
    void refreshTotal();

    std::vector<double> m_total;
};
