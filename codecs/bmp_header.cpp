#include "codecs/bmp_header.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "codecs/picture_rows.h"
#include "image/dib.h"
#include "image/little_endian.h"
#include "platform/string_table.h"

namespace zentro::codecs {

namespace {

// Compression values of the Windows headers. OS/2 2.x headers give 3 and 4
// other meanings (Huffman 1D, RLE24), which no one writes any more.
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

// OS/2 1.x: 16-bit width and height, no compression, 3-byte palette entries.
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kLargestHeaderSize = 124;

// Copies `count` bytes from `offset`; what lies past the end of the data reads as zero.
void CopyPadded(const std::uint8_t* data, std::size_t size, std::uint64_t offset, std::uint8_t* out,
                std::size_t count) {
    std::memset(out, 0, count);
    if (offset >= size) return;
    std::memcpy(out, data + offset, static_cast<std::size_t>(std::min<std::uint64_t>(count, size - offset)));
}

bool IsWindowsHeaderSize(std::uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// OS/2 2.x headers may stop after any field from the 16th byte on.
bool IsOs2HeaderSize(std::uint32_t size) { return size >= 16 && size <= 64 && !IsWindowsHeaderSize(size); }

bool IsContiguous(std::uint32_t mask) {
    if (mask == 0) return true;
    const std::uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0;
}

void SetDefaultMasks(BmpHeader& h) {
    if (h.bitCount == 16) {
        // 5-5-5, the top bit unused.
        h.masks[0] = 0x7C00;
        h.masks[1] = 0x03E0;
        h.masks[2] = 0x001F;
    } else {
        h.masks[0] = 0xFF0000;
        h.masks[1] = 0x00FF00;
        h.masks[2] = 0x0000FF;
    }
    if (h.bitCount == 32) {
        h.masks[3] = 0xFF000000;
        h.alphaUnlessAllZero = true;
    }
}

// False for masks that no sound file has: a broken field, a colour field
// outside the pixel, no colour at all. An alpha field outside the pixel
// is dropped, since some writers fill in a default alpha mask whatever the depth.
bool CheckMasks(BmpHeader& h) {
    const std::uint32_t pixelBits = h.bitCount == 32 ? 0xFFFFFFFF : (std::uint32_t{1} << h.bitCount) - 1;
    for (std::uint32_t mask : h.masks)
        if (!IsContiguous(mask)) return false;
    if ((h.masks[3] & ~pixelBits) != 0) h.masks[3] = 0;
    const std::uint32_t colour = h.masks[0] | h.masks[1] | h.masks[2];
    return colour != 0 && (colour & ~pixelBits) == 0;
}

}  // namespace

unsigned ReadBmpHeader(const std::uint8_t* data, std::size_t size, std::size_t infoOffset, std::uint32_t offBits,
                       BmpHeader& h) {
    h = BmpHeader{};
    std::uint8_t info[kLargestHeaderSize] = {};
    CopyPadded(data, size, infoOffset, info, 4);
    const std::uint32_t headerSize = le::Get32(info);
    const bool core = headerSize == kCoreHeaderSize;
    const bool os2 = IsOs2HeaderSize(headerSize);
    if (!core && !os2 && !IsWindowsHeaderSize(headerSize)) return IDS_UNSUPPORTED_BITMAP;
    // Fields past the header's own size read as zero.
    CopyPadded(data, size, infoOffset, info, headerSize);

    std::int64_t width, height;
    std::uint32_t compression = kRgb, colourCount = 0;
    if (core) {
        width = le::Get16(info + 4);
        height = le::Get16(info + 6);
        h.bitCount = le::Get16(info + 10);
    } else {
        width = le::GetSigned32(info + 4);
        height = le::GetSigned32(info + 8);
        h.bitCount = le::Get16(info + 14);
        compression = le::Get32(info + 16);
        colourCount = le::Get32(info + 32);
    }
    const int bits = h.bitCount;
    const bool indexedBits = bits == 1 || bits == 2 || bits == 4 || bits == 8;
    bool supported;
    if (compression == kRgb) {
        supported = indexedBits || bits == 16 || bits == 24 || bits == 32;
        h.pixels = indexedBits ? BmpPixels::Indexed : BmpPixels::BitFields;
    } else if (compression == kRle8 || compression == kRle4) {
        supported = bits == (compression == kRle8 ? 8 : 4);
        h.pixels = compression == kRle8 ? BmpPixels::Rle8 : BmpPixels::Rle4;
    } else {
        supported = !os2 && (compression == kBitFields || compression == kAlphaBitFields) && (bits == 16 || bits == 32);
        h.pixels = BmpPixels::BitFields;
    }
    if (!supported || width < 1 || height == 0) return IDS_UNSUPPORTED_BITMAP;
    h.topDown = height < 0;
    const std::int64_t storedRows = height < 0 ? -height : height;
    if (const unsigned id = RefuseSize(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(storedRows)))
        return id;
    h.width = static_cast<std::int32_t>(width);
    h.rows = static_cast<std::int32_t>(storedRows);

    std::uint64_t tableStart = infoOffset + std::uint64_t{headerSize};
    if (compression == kBitFields || compression == kAlphaBitFields) {
        // The masks sit right after the first 40 bytes, inside the larger headers
        // and after the 40-byte one; the alpha mask only where a header has room
        // for it or the compression asks for it.
        const std::uint32_t count = compression == kAlphaBitFields || headerSize >= 56 ? 4 : 3;
        std::uint8_t masks[16];
        CopyPadded(data, size, infoOffset + kInfoHeaderSize, masks, 4 * count);
        for (std::uint32_t i = 0; i < count; ++i) h.masks[i] = le::Get32(masks + 4 * i);
        tableStart = infoOffset + std::uint64_t{std::max(headerSize, kInfoHeaderSize + 4 * count)};
        if (!CheckMasks(h)) return IDS_UNSUPPORTED_BITMAP;
    } else if (h.pixels == BmpPixels::BitFields) {
        SetDefaultMasks(h);
    }

    // A packed DIB's table holds the colours used even above 8 bits, where
    // nothing looks them up.
    const std::uint32_t entrySize = core ? 3 : 4;
    const std::uint64_t tableEntries = colourCount != 0 ? colourCount : indexedBits ? (1u << bits) : 0;
    std::uint64_t paletteCount = indexedBits ? std::min<std::uint64_t>(tableEntries, 1u << bits) : 0;
    if (offBits >= tableStart) {
        // Writers that leave the colour count 0 with a short table still place the pixels right.
        paletteCount = std::min<std::uint64_t>(paletteCount, (offBits - tableStart) / entrySize);
        h.pixelOffset = offBits;
    } else {
        // A BMP whose offset points into its own header is taken as laid out without gaps.
        h.pixelOffset = tableStart + tableEntries * entrySize;
    }
    for (std::uint64_t i = 0; i < paletteCount; ++i) {
        std::uint8_t entry[3];
        CopyPadded(data, size, tableStart + i * entrySize, entry, 3);
        std::memcpy(h.palette[i], entry, 3);
    }
    return 0;
}

}  // namespace zentro::codecs

namespace zentro::codecs {

bool ClassicReadsAlike(const std::uint8_t* headers, std::uint64_t fileSize) {
    if (le::Get16(headers) != 0x4D42) return false;
    const BitmapHeader h = ParseBitmapHeader(headers + 14);
    const std::uint32_t statedSize = le::Get32(headers + 2);
    const std::uint32_t offBits = le::Get32(headers + 10);
    const int bits = h.bitCount;
    if (h.size != 40 || h.compression != 0 || h.width < 1 || h.height < 1 || offBits < kClassicHeadersSize ||
        offBits > kClassicHeadersSize + 1024 || (offBits - kClassicHeadersSize) % 4 != 0 || statedSize < fileSize ||
        statedSize - offBits > ExactImageSize(h))
        return false;
    if (bits == 24) return true;
    return (bits == 1 || bits == 4 || bits == 8) &&
           (h.clrUsed == 0 || h.clrUsed >= (offBits - kClassicHeadersSize) / 4);
}

}  // namespace zentro::codecs
