#pragma once
// An icon or cursor file as the pictures it holds, one for each size.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/picture.h"

namespace zentro::codecs {

// Appends every image, one per size (the deepest), to `pictures` in the order of
// the file, each with alpha (a BMP image's own, or its AND mask's): 0, or the id
// of the message that tells why not (103 no image can be read, 105 too large or no
// memory); shows no message. PNG images go through libpng.
unsigned DecodeIconImages(const std::uint8_t* data, std::size_t size, std::vector<Picture>& pictures);

}  // namespace zentro::codecs
