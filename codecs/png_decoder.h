#pragma once
// PNG files through libpng: every colour type and bit depth, palettes with
// transparency, interlacing. Pixel values as stored: gamma and colour profiles
// are not applied.
#include <cstddef>
#include <cstdint>

#include "image/picture.h"

namespace zentro::codecs {

// 0 when `picture` holds the file, else the id of the message that tells why not
// (103 truncated or corrupt, 105 too large or no memory); shows no message.
unsigned DecodePng(const std::uint8_t* data, std::size_t size, Picture& picture);

}  // namespace zentro::codecs
