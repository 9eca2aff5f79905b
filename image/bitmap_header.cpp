#include "image/bitmap_header.h"

#include "image/little_endian.h"

namespace zentro {

BitmapHeader ParseBitmapHeader(const std::uint8_t* b) {
    BitmapHeader h;
    h.size = le::Get32(b);
    h.width = le::GetSigned32(b + 4);
    h.height = le::GetSigned32(b + 8);
    h.planes = le::Get16(b + 12);
    h.bitCount = le::Get16(b + 14);
    h.compression = le::Get32(b + 16);
    h.sizeImage = le::Get32(b + 20);
    h.xPelsPerMeter = le::GetSigned32(b + 24);
    h.yPelsPerMeter = le::GetSigned32(b + 28);
    h.clrUsed = le::Get32(b + 32);
    h.clrImportant = le::Get32(b + 36);
    return h;
}

void SerializeBitmapHeader(const BitmapHeader& h, std::uint8_t* b) {
    le::Put32(b, h.size);
    le::Put32(b + 4, static_cast<std::uint32_t>(h.width));
    le::Put32(b + 8, static_cast<std::uint32_t>(h.height));
    le::Put16(b + 12, h.planes);
    le::Put16(b + 14, h.bitCount);
    le::Put32(b + 16, h.compression);
    le::Put32(b + 20, h.sizeImage);
    le::Put32(b + 24, static_cast<std::uint32_t>(h.xPelsPerMeter));
    le::Put32(b + 28, static_cast<std::uint32_t>(h.yPelsPerMeter));
    le::Put32(b + 32, h.clrUsed);
    le::Put32(b + 36, h.clrImportant);
}

std::uint64_t ExactImageSize(const BitmapHeader& h) {
    if (h.width < 1 || h.height < 1) return 0;
    return static_cast<std::uint64_t>(h.height) * RowStride(h.width, h.bitCount);
}

}  // namespace zentro
