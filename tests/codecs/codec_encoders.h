#pragma once
// Files of the field's formats, written for the tests by the formats' own libraries.
#include <cstdint>
#include <vector>

#include "image/picture.h"

namespace zentro::test {

struct PngSpec {
    int width = 1;
    int height = 1;
    int colourType = 2;  // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    // Rows top first, packed as PNG stores them (big-endian 16-bit samples).
    std::vector<std::uint8_t> samples;
    // Palette entries 0xRRGGBB and their tRNS alpha values.
    std::vector<std::uint32_t> palette;
    std::vector<std::uint8_t> paletteAlpha;
    // tRNS of a grey (first value) or RGB picture; empty for none.
    std::vector<std::uint16_t> transparentColour;
};

std::vector<std::uint8_t> EncodePng(const PngSpec& spec);

// RGBA pixels (red first, rows top first) as read by libpng's own simplified reader.
std::vector<std::uint8_t> DecodePngWithLibpng(const std::vector<std::uint8_t>& file, int& width, int& height);

// A decoded picture as RGBA bytes, rows top first; alpha 255 where it has none.
std::vector<std::uint8_t> TopDownRgba(const Picture& picture);

}  // namespace zentro::test
