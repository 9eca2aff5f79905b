#pragma once
// The orientation a camera records in a JPEG's Exif block, read by a small
// bounds-checked TIFF reader: only the first directory's orientation tag.
#include <cstddef>
#include <cstdint>

namespace zentro::codecs {

// 1 to 8 as Exif numbers them: how the stored rows must be turned to stand upright.
// `app1` is the payload of an APP1 marker; anything that is not a readable Exif
// block with an orientation of 1 to 8 gives 1, the picture as stored.
int ExifOrientation(const std::uint8_t* app1, std::size_t size);

}  // namespace zentro::codecs
