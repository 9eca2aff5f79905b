#pragma once
// Key masks hold one key value per pixel: 255 keyed, 0 opaque, 1 to 254 partly
// keyed. Callers of CDib::BuildKeyMask get 24-bit masks with the value in the red
// channel; the image set builder keeps its own as an 8-bit picture holding the
// value itself, the same values in a third of the memory.
#include <cstddef>
#include <cstdint>

#include "image/dib.h"

namespace zentro {

// Bytes from one key value to the next along a stored row of a key mask.
inline std::size_t KeyValueStep(const CDib& mask) { return mask.BitCount() == 8 ? 1 : 3; }
// The key value of the first pixel of stored row y.
inline const std::uint8_t* KeyValueRow(const CDib& mask, int y) { return mask.Row(y) + (mask.BitCount() == 8 ? 0 : 2); }
inline std::uint8_t* KeyValueRow(CDib& mask, int y) { return mask.Row(y) + (mask.BitCount() == 8 ? 0 : 2); }

// Makes `plane` the 8-bit key mask of `source` for `keyMode`, with the values
// CDib::BuildKeyMask gives; with `fromBorder`, of the key-coloured pixels only
// those joined to the picture's border through 4-neighbours of that colour, before
// any smoothing. False when a bitmap or working memory cannot be had.
bool BuildKeyPlane(const CDib& source, CDib& plane, int keyMode, bool fromBorder = false);

}  // namespace zentro
