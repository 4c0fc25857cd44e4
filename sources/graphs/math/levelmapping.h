#pragma once

#include <algorithm>

// How a graph shows a level in dB: held inside +-limitDb, then scale * level + offset pixels.
struct LevelMapping
{
    double limitDb = 20.0;
    double scale = 1.0;
    double offset = 0.0;

    double apply(double db) const
    {
        return std::min(std::max(db, -limitDb), limitDb) * scale + offset;
    }
};
