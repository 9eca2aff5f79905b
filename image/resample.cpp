// Area-averaging resampler: every target pixel is the mean colour of the source
// area it covers, weighted by how much of each source pixel lies inside it, with
// the key mask deciding which part of that area counts as opaque.
//
// The icon bytes must be identical on every machine and to any faster rewrite,
// so the order of the floating-point operations below is part of the result:
// keep it (columns outer, rows inner; factor order; t = (k * w) * (1/255)).
#include <cmath>
#include <cstdint>

#include "image/dib.h"

namespace zentro {

namespace {

// The double nearest to 1/255; a division by 255 would give other bytes.
constexpr double kOneOver255 = 1.0 / 255.0;

// The stretch of source pixels under one target pixel along one axis.
struct Footprint {
    double start;  // left (or lower) edge, in source pixels
    double end;    // right (or upper) edge, not lowered
    int first;     // first source index covered
    int stop;      // one past the last source index covered
};

Footprint FootprintOf(int targetIndex, double scale, int sourceSize) {
    Footprint f;
    f.start = targetIndex * scale;
    f.end = f.start + scale;
    f.first = static_cast<int>(f.start);
    f.stop = static_cast<int>(std::ceil(f.end));
    // Rounding can put the last edge a hair past the source; never read beyond it.
    if (f.stop > sourceSize) f.stop = sourceSize;
    return f;
}

// Truncates toward zero and saturates. Slivers of weight (a footprint reaching
// 1e-15 into a neighbour) can leave a mean slightly outside 0..255; wrapping to
// the low byte would turn a bright pixel black.
std::uint8_t SaturatedByte(double value) {
    if (!(value >= 1.0)) return 0;
    if (value >= 255.0) return 255;
    return static_cast<std::uint8_t>(static_cast<int>(value));
}

struct Accumulator {
    double sum[3] = {0.0, 0.0, 0.0};
    double opaqueTotal = 0.0;
    double keyedTotal = 0.0;
    bool fullyKeyed = true;
};

}  // namespace

void CDib::EdgeWeight(double& weight, int index, int first, double startEdge, int end, double endEdge) {
    if (index == first) {
        weight *= 1.0 - startEdge + first;
    } else if (index == end - 1) {
        weight *= 1.0 - end + endEdge;
    }
}

bool CDib::Resample(CDib& target, int width, int height, int mode, const CDib& keyMask, CDib& targetMask) const {
    if (!target.Create(width, height, mode == 2 ? 32 : 24)) return false;
    if (!targetMask.Create(width, height, 1)) return false;

    const double sx = static_cast<double>(Width()) / width;
    const double sy = static_cast<double>(Height()) / height;

    for (int i = 0; i < width; ++i) {
        const Footprint fx = FootprintOf(i, sx, Width());
        for (int j = 0; j < height; ++j) {
            const Footprint fy = FootprintOf(j, sy, Height());

            Accumulator acc;
            for (int x = fx.first; x < fx.stop; ++x) {
                for (int y = fy.first; y < fy.stop; ++y) {
                    double w = 1.0;
                    EdgeWeight(w, x, fx.first, fx.start, fx.stop, fx.end);
                    EdgeWeight(w, y, fy.first, fy.start, fy.stop, fy.end);

                    std::uint8_t colour[3];
                    GetPixel(x, y, colour);
                    const std::uint8_t k = keyMask.PixelPtr24(x, y)[2];

                    const double t = (k * w) * kOneOver255;
                    // For k = 255, o is 0 or one ulp either side; it still enters
                    // the colour sums, and the output bytes depend on that.
                    const double o = w - t;
                    if (k != 255) {
                        acc.opaqueTotal += o;
                        acc.fullyKeyed = false;
                    }
                    acc.keyedTotal += t;
                    for (int c = 0; c < 3; ++c) acc.sum[c] += colour[c] * o;
                }
            }

            bool transparent = acc.fullyKeyed;
            std::uint8_t alpha = 0;
            if (mode == 1 || mode == 2) {
                const double share = acc.keyedTotal / (acc.keyedTotal + acc.opaqueTotal);
                if (mode == 1) {
                    transparent = share > 0.5;
                } else {
                    alpha = SaturatedByte((1.0 - share) * 255);
                }
            }

            std::uint8_t out[4] = {0, 0, 0, 0};
            if (!transparent) {
                for (int c = 0; c < 3; ++c) out[c] = SaturatedByte(acc.sum[c] / acc.opaqueTotal);
                out[3] = alpha;
            }
            target.SetPixel(i, j, out);
            targetMask.SetMaskBit(i, j, transparent);
        }
    }
    return true;
}

}  // namespace zentro
