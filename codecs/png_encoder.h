#pragma once
// PNG files of RGBA pixels, as icons store their larger images and as the
// unpacker writes every image it takes out of an icon.
#include <cstdint>
#include <vector>

#include "image/rgba_image.h"

namespace zentro::codecs {

// An 8-bit RGBA PNG (colour type 6) holding IHDR, IDAT and IEND alone, with fixed
// compression settings, so that the same pixels give the same bytes on every run:
// zlib's best compression, the smallest files. False (and `png` empty) when memory
// is short or the image is empty.
bool EncodePng(const RgbaImage& image, std::vector<std::uint8_t>& png);

// The same pixels compressed by libdeflate at its level 6, the sub filter on every
// row, as today's rules store the icon's large image by default: on the sample's
// 256 x 256 image a sixth larger than EncodePng's for a thirtieth of its instructions.
bool EncodePngQuickly(const RgbaImage& image, std::vector<std::uint8_t>& png);

}  // namespace zentro::codecs
