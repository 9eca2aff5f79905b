#pragma once
// A footprint's sums as the target's bytes and mask bit.
#include <cstdint>

#include "image/area_average.h"

namespace zentro::averaging {

struct AreaSums {
    double sum[3] = {0.0, 0.0, 0.0};  // red, green, blue
    double opaqueTotal = 0.0;
    double keyedTotal = 0.0;
    bool fullyKeyed = true;
};

// Writes target pixel (i, j) and its mask bit from the sums of its footprint.
void WritePixel(const AreaSums& s, const ResampleTarget& target, int i, int j);

}  // namespace zentro::averaging
