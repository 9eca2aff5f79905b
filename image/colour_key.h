#pragma once
// The colour key: pixels of exactly the colour of the bottom-left pixel are keyed.
#include <cstddef>
#include <cstdint>

#include "image/dib.h"

namespace zentro {

// A stored 24-bit pixel (blue, green, red) as one number, for comparing colours at once.
inline std::uint32_t PackedColour(const std::uint8_t* stored) {
    return stored[0] | (stored[1] << 8) | (stored[2] << 16);
}

// out[x * step] := mark where pixel x of a stored 24-bit row has the packed colour
// `key`, else 0, for x from 0 to width - 1.
void MarkKeyColour(const std::uint8_t* row, int width, std::uint32_t key, std::uint8_t* out, std::size_t step,
                   std::uint8_t mark);

// Whether the bottom-left, top-left and bottom-right pixels have one colour: the
// sign that the picture was drawn on a key-coloured ground.
bool CornersShareColour(const CDib& picture);

// Whether every pixel has the colour of the bottom-left one.
bool OneColour(const CDib& picture);

}  // namespace zentro
