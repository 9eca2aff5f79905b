#pragma once
// An icon or cursor file as pictures: its largest image, among equals the deepest,
// or each of its images.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/picture.h"

namespace zentro::codecs {

// 0 when `picture` holds that image (always with alpha: a BMP image's own, or its
// AND mask's), else the id of the message that tells why not (103 no image can be
// read, 105 too large or no memory); shows no message. PNG images go through libpng.
unsigned DecodeIcon(const std::uint8_t* data, std::size_t size, Picture& picture);

// As DecodeIcon, but every image, one per size (the deepest), appended to
// `pictures` in the order of the file.
unsigned DecodeIconImages(const std::uint8_t* data, std::size_t size, std::vector<Picture>& pictures);

}  // namespace zentro::codecs
