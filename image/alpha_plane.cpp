#include "image/alpha_plane.h"

#include <algorithm>
#include <cstdint>

#include "image/parallel_for.h"

namespace zentro {

namespace {

// body(y) for every stored row of a picture `width` wide, the rows shared out among the cores.
template <class Body>
void ForEachRow(int width, int height, const Body& body) {
    ParallelForRows(width, height, [&](int first, int stop) {
        for (int y = first; y < stop; ++y) body(y);
    });
}

}  // namespace

bool HasTransparency(const CDib& alpha) {
    for (int y = 0; y < alpha.Height(); ++y) {
        const std::uint8_t* row = alpha.Row(y);
        // Row padding is not a pixel.
        if (std::any_of(row, row + alpha.Width(), [](std::uint8_t a) { return a != 255; })) return true;
    }
    return false;
}

bool BuildAlphaKeyPlane(const CDib& alpha, CDib& plane) {
    if (!plane.Create(alpha.Width(), alpha.Height(), 8)) return false;
    ForEachRow(alpha.Width(), alpha.Height(), [&](int y) {
        const std::uint8_t* in = alpha.Row(y);
        std::uint8_t* out = plane.Row(y);
        for (int x = 0; x < alpha.Width(); ++x) out[x] = static_cast<std::uint8_t>(255 - in[x]);
    });
    return true;
}

bool ComposeOnWhite(const CDib& colour, const CDib& alpha, CDib& out) {
    if (!out.Create(colour.Width(), colour.Height(), 24)) return false;
    ForEachRow(colour.Width(), colour.Height(), [&](int y) {
        const std::uint8_t* a = alpha.Row(y);
        const std::uint8_t* in = colour.Row(y);
        std::uint8_t* to = out.Row(y);
        for (int x = 0; x < colour.Width(); ++x)
            for (int c = 0; c < 3; ++c) to[3 * x + c] = LaidOver(in[3 * x + c], a[x], 255);
    });
    return true;
}

}  // namespace zentro
