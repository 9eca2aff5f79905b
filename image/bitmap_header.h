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

// Bytes per stored row, padded to a multiple of 4; widths below 1 give 0.
std::uint64_t RowStride(std::int64_t width, int bitCount);
// Bytes of pixel data without 32-bit wrap-around (0 for widths or heights below 1).
std::uint64_t ExactImageSize(const BitmapHeader& header);

}  // namespace zentro
