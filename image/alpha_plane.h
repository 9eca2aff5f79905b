#pragma once
// A picture's own alpha as transparency: the key plane the averaging reads, and
// the picture laid on white when nothing is to be transparent.
#include "image/dib.h"

namespace zentro {

// Whether the 8-bit alpha plane has a value below 255 anywhere; a plane that is
// opaque everywhere tells nothing that the colours alone do not.
bool HasTransparency(const CDib& alpha);

// Makes `plane` the 8-bit key plane of `alpha`: 255 - alpha at every pixel. False
// when the plane cannot be created.
bool BuildAlphaKeyPlane(const CDib& alpha, CDib& plane);

// Makes `out` the 24-bit picture of `colour` laid with `alpha` over white:
// (c x a + 255 x (255 - a) + 127) / 255 per channel. False when `out` cannot be created.
bool ComposeOnWhite(const CDib& colour, const CDib& alpha, CDib& out);

}  // namespace zentro
