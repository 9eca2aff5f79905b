#pragma once
// BMP files of every variant, read by our own code: OS/2 and Windows headers,
// 1 to 32 bits, RLE4/RLE8, bit fields, alpha.
#include <cstddef>
#include <cstdint>

#include "codecs/picture_file.h"
#include "image/picture.h"

namespace zentro::codecs {

// Decodes the whole file held in `data`. 0 when `picture` holds it, else the id
// of the message that tells why not (104 a variant we do not read, 105 too large
// or no memory, 106 not a bitmap); the decoder shows no message itself.
// `picture.alpha` is filled only when the file has alpha: an alpha mask, a
// 32-bit BI_RGB picture whose fourth bytes are not all zero, or RLE pixels the
// stream leaves unset (black and clear). Pixel data the file lacks reads as zero.
unsigned DecodeBmp(const std::uint8_t* data, std::size_t size, Picture& picture);

// The same from an opened file, reading it once: its rows go straight into the
// picture's memory, and only an RLE file is read whole. Throws FileError.
unsigned DecodeBmp(PictureFile& file, Picture& picture);

}  // namespace zentro::codecs
