#pragma once
// GIF files through giflib: the first frame, laid on its logical screen.
#include <cstddef>
#include <cstdint>

#include "image/picture.h"

namespace zentro::codecs {

// 0 when `picture` holds the first frame, else the id of the message that tells
// why not (103 truncated or corrupt, 104 no colour table, 105 too large or no
// memory); shows no message. The transparent index gives alpha 0 with that
// entry's colour; screen pixels outside the frame are transparent, coloured with
// the screen's background entry (black when there is none).
unsigned DecodeGif(const std::uint8_t* data, std::size_t size, Picture& picture);

}  // namespace zentro::codecs
