#pragma once
// Writes BMPs of the variants other programs write (OS/2 and Windows headers,
// every bit count, bit fields, RLE, top-down rows), so that the decoder can be
// held against the classic reader and against the colours it was given.
#include <cstdint>
#include <vector>

namespace zentro::test {

// Colours as 0xAARRGGBB, top row first.
struct ArgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

enum class BmpStorage { Plain, Rle, BitFields, AlphaBitFields };

struct BmpVariant {
    // 12 (OS/2 1.x), 16 to 64 (OS/2 2.x), 40, 52, 56, 108 or 124.
    std::uint32_t headerSize = 40;
    int bitCount = 24;
    BmpStorage storage = BmpStorage::Plain;
    // Red, green, blue, alpha for the bit-field storages.
    std::uint32_t masks[4] = {};
    bool topDown = false;
};

// Up to 8 bits the palette holds the picture's colours in order of first use,
// no more entries than that; Plain 16 bits is 5-5-5 and Plain 32 bits keeps
// alpha in the fourth bytes. Each bit field holds (c × m + 127) / 255.
std::vector<std::uint8_t> EncodeBmpVariant(const ArgbPicture& picture, const BmpVariant& variant);

}  // namespace zentro::test
