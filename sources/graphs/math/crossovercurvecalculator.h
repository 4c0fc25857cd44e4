#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

// Response of the crossover bands: Butterworth and Linkwitz-Riley slopes plus the band gain,
// and the graph's axes (16 Hz .. 20 kHz, -60 dB at the bottom of the item, +20 dB at the top).
// Slopes are shown at 16/20 of their true dB size so that steep filters stay on the graph.
struct CrossoverCurveCalculator
{
    enum CrossoverSlopeType : std::int8_t {
        BW6 = 0,
        BW12 = 1,
        BW18 = 2,
        BW24 = 3,
        BW30 = 4,
        BW36 = 5,
        BW42 = 6,
        BW48 = 7,
        LR12 = 8,
        LR24 = 9,
        LR36 = 10,
        LR48 = 11,
        Unfiltered = -1,
    };
    enum Parameter { HPFrequency, Gain, LPFrequency };
    enum Filter { HighPass, LowPass };

    static constexpr int kMaxBands = 6;
    static constexpr double kLowHz = 16.0;
    static constexpr double kHighHz = 20000.0;
    static constexpr double kLowDb = -60.0;
    static constexpr double kHighDb = 20.0;
    // Pixel step of the sampled curves.
    static constexpr int kSampleStep = 4;

    struct Band
    {
        std::int8_t HPType = BW6;
        double HPFrequency = 20000.0;
        std::int8_t LPType = BW6;
        double LPFrequency = 20.0;
        double Gain = 0.0;
    };
    struct Point
    {
        double x;
        double y;
    };

    std::array<Band, kMaxBands> bands{};
    double width = 0.0;
    double height = 0.0; // half the item height

    static CrossoverSlopeType slopeTypeForWord(std::string_view word);
    static double ComputeNormalizedResult(CrossoverSlopeType type, double x);

    // Stores a device value in band `band` as the graph shows it (frequencies inside the axis,
    // 0 Hz meaning "no filter", gains inside the axis); false when nothing changed.
    bool setValue(int band, Parameter parameter, double value);
    bool setSlope(int band, Filter filter, CrossoverSlopeType type);

    double ComputeGain(double frequency, int band) const;
    double ComputeGainDB(double frequency, int band) const;
    double xForFreq(double frequency) const;
    double frequencyForX(double x) const;
    double yForGain(double gainDb) const;
    double gainForY(double y) const;

    // The curve of `band`: a point every 4 pixels from x = 0 below the width, then (width, 0).
    std::vector<Point> curvePoints(int band) const;
    // The high-pass and low-pass handles of `band`, y up from the bottom of the item.
    std::pair<Point, Point> handles(int band) const;

private:
    bool isEmpty() const { return !(width > 0.0) || !(height > 0.0); }
    static double slopeDb(CrossoverSlopeType type, double x);
};
