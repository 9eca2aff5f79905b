#pragma once
// A picture's own alpha as transparency: the key plane the averaging reads, and
// the picture laid on white when nothing is to be transparent.
#include <cstdint>

#include "image/dib.h"

namespace zentro {

// Whether the 8-bit alpha plane has a value below 255 anywhere; a plane that is
// opaque everywhere tells nothing that the colours alone do not.
bool HasTransparency(const CDib& alpha);

// Makes `plane` the 8-bit key plane of `alpha`: 255 - alpha at every pixel. False
// when the plane cannot be created.
bool BuildAlphaKeyPlane(const CDib& alpha, CDib& plane);

// One channel `c` of a pixel with alpha `a` laid over the background's `b`, rounded.
inline std::uint8_t LaidOver(unsigned c, unsigned a, unsigned b) {
    return static_cast<std::uint8_t>((c * a + b * (255u - a) + 127u) / 255u);
}

// Makes `out` the 24-bit picture of `colour` laid with `alpha` over white,
// LaidOver each channel. False when `out` cannot be created.
bool ComposeOnWhite(const CDib& colour, const CDib& alpha, CDib& out);

}  // namespace zentro
