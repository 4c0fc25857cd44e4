#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// A measured or target response sent by the device as blank-separated levels in dB, one per
// entry of a fixed table of 624 frequencies (160 per decade). Only 20 Hz .. 20 kHz is drawn.
class OverlayCurve
{
public:
    static constexpr int kFirstDrawn = 143; // 20 Hz
    static constexpr int kLastDrawn = 623;  // 20 kHz

    explicit OverlayCurve(const QString& text);

    // The text holds more than 624 pieces (split at every single blank, empty pieces kept).
    bool isDrawable() const { return m_levels.size() > kLastDrawn + 1; }
    int size() const { return m_levels.size(); }
    // Level of piece i; unparsable text reads 0.
    float level(int i) const { return i >= 0 && i < m_levels.size() ? m_levels[i] : 0.0f; }

    static double frequency(int i);

private:
    QVector<float> m_levels;
};
