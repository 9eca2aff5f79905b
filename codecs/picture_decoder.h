#pragma once
// Any picture the codecs know, held in memory, sent to its decoder by its first bytes.
#include <cstddef>
#include <cstdint>

#include "image/picture.h"

namespace zentro::codecs {

// 0 when `picture` holds the decoded file, else the id of the message that tells
// why not (103 truncated or corrupt, 104 a variant we do not read, 105 too large
// or no memory, 106 no known format); the picture then holds nothing. Shows no message.
unsigned DecodePicture(const std::uint8_t* data, std::size_t size, Picture& picture);

}  // namespace zentro::codecs
