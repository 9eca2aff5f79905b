#pragma once
// A picture file as the pictures an icon can be made from: one raster picture,
// every image of an icon or cursor, or a vector picture.
#include <cstddef>
#include <cstdint>
#include <string>

#include "job/picture_sources.h"

namespace zentro::codecs {

// Appends the file's pictures to `sources`: 0, or the id of the message that tells
// why not (as DecodePicture). Shows no message.
unsigned DecodeSources(const std::uint8_t* data, std::size_t size, PictureSources& sources);

// Reads `path` and appends its pictures, told by content; shows its own message
// and returns false on failure (appending nothing), as CDib::Load does.
bool LoadSources(const std::string& path, PictureSources& sources);

}  // namespace zentro::codecs
