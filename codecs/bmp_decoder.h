#pragma once
// BMP files of every variant, read by our own code: OS/2 and Windows headers,
// 1 to 32 bits, RLE4/RLE8, bit fields, alpha.
#include <cstddef>
#include <cstdint>

#include "image/picture.h"

namespace zentro::codecs {

// Decodes the whole file held in `data`. 0 when `picture` holds it, else the id
// of the message that tells why not (104 a variant we do not read, 105 too large
// or no memory, 106 not a bitmap); the decoder shows no message itself.
// `picture.alpha` is filled only when the file has alpha: an alpha mask, a
// 32-bit BI_RGB picture whose fourth bytes are not all zero, or RLE pixels the
// stream leaves unset (black and clear). Pixel data the file lacks reads as zero.
unsigned DecodeBmp(const std::uint8_t* data, std::size_t size, Picture& picture);

// Decodes a bare DIB, as an icon entry or the clipboard holds one: an info header
// of any variant DecodeBmp reads at data[0], then its masks and colour table (of
// the header's colour count, or 2^bits entries when that is 0 and bits <= 8),
// then the pixels. Results as DecodeBmp, never 106.
// `height` 0 decodes the rows the header states. Otherwise only the first
// `height` stored rows are decoded, at most as many as the header states (104
// beyond): an icon entry's header counts its colour rows and its AND mask
// together, so its caller passes the real height. On success `pixelEnd`, when
// given, receives the offset just past those rows (past the last byte read, for
// RLE), where an icon's AND mask starts; it may lie past `size` in a short entry.
// A 32-bit entry whose fourth bytes are all zero comes back without alpha, so
// that its caller can take the AND mask instead.
unsigned DecodeDib(const std::uint8_t* data, std::size_t size, std::int32_t height, Picture& picture,
                   std::size_t* pixelEnd = nullptr);

}  // namespace zentro::codecs
