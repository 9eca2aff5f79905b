#pragma once
// WebP files through libwebp: lossy, lossless, with alpha; of an animation, the
// first frame as it shows on the canvas.
#include <cstddef>
#include <cstdint>

#include "image/picture.h"

namespace zentro::codecs {

// 0 when `picture` holds the file, else the id of the message that tells why not
// (103 truncated or corrupt, 104 a feature we do not read, 105 too large or no
// memory); shows no message.
unsigned DecodeWebp(const std::uint8_t* data, std::size_t size, Picture& picture);

}  // namespace zentro::codecs
