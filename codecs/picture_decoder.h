#pragma once
// A picture of one image held in memory (PNG, JPEG, WebP, GIF, BMP), sent to its
// decoder by its first bytes. Icons, cursors and SVG make pictures of their own
// kinds: codecs/picture_loader.h reads every format.
#include <cstddef>
#include <cstdint>

#include "image/picture.h"

namespace zentro::codecs {

// 0 when `picture` holds the decoded file, else the id of the message that tells
// why not (103 truncated or corrupt, 104 a variant we do not read, 105 too large
// or no memory, 106 none of those formats); the picture then holds nothing. Shows no message.
unsigned DecodePicture(const std::uint8_t* data, std::size_t size, Picture& picture);

}  // namespace zentro::codecs
