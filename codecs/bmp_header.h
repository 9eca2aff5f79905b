#pragma once
// The info header of a BMP of any variant, with its bit-field masks and colour
// table, read into one description that the pixel decoders share.
#include <cstddef>
#include <cstdint>

namespace zentro::codecs {

enum class BmpPixels { Indexed, Rle8, Rle4, BitFields };

struct BmpHeader {
    std::int32_t width = 0;
    // Stored rows.
    std::int32_t rows = 0;
    bool topDown = false;
    int bitCount = 0;
    BmpPixels pixels = BmpPixels::Indexed;
    // Red, green, blue, alpha: the bits of a 16-, 24- or 32-bit pixel that hold
    // each; 0 when the pixel has no such field. Contiguous.
    std::uint32_t masks[4] = {};
    // A 32-bit BI_RGB picture: its fourth bytes are alpha unless every one is zero.
    bool alphaUnlessAllZero = false;
    // Blue, green, red of each index, as a 24-bit pixel stores them; black past
    // the file's table.
    std::uint8_t palette[256][3] = {};
    // Where the pixel data starts, counted from the start of the buffer; may lie past its end.
    std::uint64_t pixelOffset = 0;
};

// Bytes of a file header and a 40-byte info header, all that ClassicReadsAlike reads.
constexpr std::size_t kClassicHeadersSize = 54;

// Whether the classic bitmap reader reads a file of `fileSize` bytes, whose first
// kClassicHeadersSize bytes are `headers`, to the colours our decoder gives: its
// own kind (a 40-byte header, 1, 4, 8 or 24 bits, uncompressed, rows bottom-up),
// with a whole palette no longer than the colour count says and no more pixel data
// stated than the file holds.
bool ClassicReadsAlike(const std::uint8_t* headers, std::uint64_t fileSize);

// The most bytes after the file header that ReadBmpHeader looks at: the largest
// info header and a full colour table (bit-field masks lie inside or before it).
constexpr std::size_t kBmpHeaderBytes = 124 + 256 * 4;

// Reads the info header that starts at `infoOffset` in `data`, and what follows
// it up to the pixels, which start at `offBits` (when that lies inside the
// header or its masks, right after the colour table).
// Bytes past `size` read as zero. 0, or the id of the message that refuses the file.
unsigned ReadBmpHeader(const std::uint8_t* data, std::size_t size, std::size_t infoOffset, std::uint32_t offBits,
                       BmpHeader& header);

}  // namespace zentro::codecs
