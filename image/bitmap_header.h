#pragma once
// The 40-byte bitmap info header shared by BMP files and icon images.
#include <cstdint>

namespace zentro {

constexpr std::uint32_t kBitmapHeaderSize = 40;

struct BitmapHeader {
    std::uint32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
};

BitmapHeader ParseBitmapHeader(const std::uint8_t* bytes);
void SerializeBitmapHeader(const BitmapHeader& header, std::uint8_t* bytes);

// Bytes per stored row, padded to a multiple of 4; widths below 1 give 0. Inline: every
// pixel access of a bitmap asks for it.
inline std::uint64_t RowStride(std::int64_t w, int bitCount) {
    if (w < 1) return 0;
    switch (bitCount) {
        case 1: return static_cast<std::uint64_t>(((w - 1) / 8 / 4 + 1) * 4);
        case 4: return static_cast<std::uint64_t>(((w - 1) / 2 / 4 + 1) * 4);
        case 8: return static_cast<std::uint64_t>(((w - 1) / 4 + 1) * 4);
        case 24: return static_cast<std::uint64_t>(((3 * w - 1) / 4 + 1) * 4);
        case 32: return static_cast<std::uint64_t>(4 * w);
        default: return static_cast<std::uint64_t>(((w * bitCount + 31) / 32) * 4);
    }
}

// Bytes of pixel data without 32-bit wrap-around (0 for widths or heights below 1).
std::uint64_t ExactImageSize(const BitmapHeader& header);

}  // namespace zentro
