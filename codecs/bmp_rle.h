#pragma once
// The run-length encodings of 8- and 4-bit BMPs.
#include <cstddef>
#include <cstdint>

#include "codecs/bmp_header.h"
#include "image/dib.h"

namespace zentro::codecs {

// Plays the RLE8 or RLE4 stream that starts at `header.pixelOffset` into
// `colour` (24 bits) and `alpha` (8 bits), both of the header's size and all
// zero: every pixel the stream sets gets its palette colour and alpha 255, the
// rest stay black and clear. Runs past the right edge are clipped; the stream
// ends at end of bitmap, past the last row or at the end of the data. True when
// it set every pixel.
bool DecodeRle(const std::uint8_t* data, std::size_t size, const BmpHeader& header, CDib& colour, CDib& alpha);

}  // namespace zentro::codecs
