#include "image/target_pixel.h"

#include <cmath>

namespace zentro::averaging {

namespace {

// Truncates toward zero and saturates. Slivers of weight (a footprint reaching
// 1e-15 into a neighbour) can leave a mean slightly outside 0..255; wrapping to
// the low byte would turn a bright pixel black.
std::uint8_t SaturatedByte(double value) {
    if (!(value >= 1.0)) return 0;
    if (value >= 255.0) return 255;
    return static_cast<std::uint8_t>(static_cast<int>(value));
}

// To the nearest byte, halves up, and saturates. Truncating makes every mean a
// little darker and more transparent, and takes 1 off a colour whose quotient
// falls a hair below it, even where a footprint is one pixel of the source.
std::uint8_t RoundedByte(double value) {
    if (!(value >= 0.5)) return 0;
    if (value >= 254.5) return 255;
    const double whole = std::floor(value);
    return static_cast<std::uint8_t>(static_cast<int>(whole) + (value - whole >= 0.5 ? 1 : 0));
}

}  // namespace

void WritePixel(const AreaSums& s, const ResampleTarget& target, int i, int j) {
    const auto byte = target.round ? RoundedByte : SaturatedByte;
    bool transparent = s.fullyKeyed;
    std::uint8_t alpha = 0;
    if (target.mode == 1 || target.mode == 2) {
        const double share = s.keyedTotal / (s.keyedTotal + s.opaqueTotal);
        if (target.mode == 1) {
            transparent = share > 0.5;
        } else {
            alpha = byte((1.0 - share) * 255);
        }
    }
    std::uint8_t out[4] = {0, 0, 0, 0};
    if (!transparent) {
        for (int c = 0; c < 3; ++c) out[c] = byte(s.sum[c] / s.opaqueTotal);
        out[3] = alpha;
    }
    target.image->SetPixel(i, j, out);
    target.mask->SetMaskBit(i, j, transparent);
}

}  // namespace zentro::averaging
