#pragma once
// JPEG files through libjpeg-turbo: baseline, progressive, greyscale and Adobe
// CMYK/YCCK, turned upright as their Exif orientation says.
#include <cstddef>
#include <cstdint>

#include "image/picture.h"

namespace zentro::codecs {

// 0 when `picture` holds the file, else the id of the message that tells why not
// (103 truncated or corrupt, 104 a kind of JPEG we do not read, 105 too large or
// no memory); shows no message.
unsigned DecodeJpeg(const std::uint8_t* data, std::size_t size, Picture& picture);

}  // namespace zentro::codecs
