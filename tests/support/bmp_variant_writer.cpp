#include "support/bmp_variant_writer.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

#include "image/little_endian.h"
#include "support/bmp_builder.h"

namespace zentro::test {

namespace {

std::uint32_t Channel(std::uint32_t argb, int i) { return (argb >> (16 - 8 * i)) & 0xFF; }  // 0 red .. 2 blue
std::uint32_t AlphaOf(std::uint32_t argb) { return argb >> 24; }

std::uint32_t PackField(std::uint32_t value, std::uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const std::uint64_t largest = mask >> shift;
    return static_cast<std::uint32_t>((value * largest + 127) / 255) << shift;
}

void Append(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::vector<std::uint8_t> RleRow(const std::vector<unsigned>& indexes, bool nibbles) {
    std::vector<std::uint8_t> out;
    for (std::size_t x = 0; x < indexes.size();) {
        std::size_t run = 1;
        while (x + run < indexes.size() && run < 255 && indexes[x + run] == indexes[x]) ++run;
        out.push_back(static_cast<std::uint8_t>(run));
        out.push_back(static_cast<std::uint8_t>(nibbles ? indexes[x] * 0x11 : indexes[x]));
        x += run;
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> EncodeBmpVariant(const ArgbPicture& picture, const BmpVariant& v) {
    const int bits = v.bitCount;
    const bool core = v.headerSize == 12;
    const bool bitFields = v.storage == BmpStorage::BitFields || v.storage == BmpStorage::AlphaBitFields;

    std::vector<std::uint32_t> palette;
    std::vector<unsigned> indexes;
    if (bits <= 8) {
        for (std::uint32_t argb : picture.pixels) {
            const std::uint32_t rgb = argb & 0xFFFFFF;
            auto at = std::find(palette.begin(), palette.end(), rgb);
            if (at == palette.end()) at = palette.insert(at, rgb);
            indexes.push_back(static_cast<unsigned>(at - palette.begin()));
        }
        if (palette.size() > (1u << bits)) throw std::invalid_argument("too many colours for the bit count");
    }

    std::uint32_t masks[4] = {v.masks[0], v.masks[1], v.masks[2], v.masks[3]};
    if (!bitFields && bits == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else if (!bitFields && bits > 16) {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF, masks[3] = bits == 32 ? 0xFF000000 : 0;
    }

    // Stored rows: bottom-up unless top-down.
    std::vector<std::uint8_t> pixels;
    const std::size_t stride = Stride(picture.width, bits);
    for (int stored = 0; stored < picture.height; ++stored) {
        const int row = v.topDown ? stored : picture.height - 1 - stored;
        const std::size_t first = static_cast<std::size_t>(row) * picture.width;
        if (v.storage == BmpStorage::Rle) {
            const std::vector<unsigned> line(indexes.begin() + first, indexes.begin() + first + picture.width);
            const std::vector<std::uint8_t> encoded = RleRow(line, bits == 4);
            pixels.insert(pixels.end(), encoded.begin(), encoded.end());
            pixels.push_back(0);
            pixels.push_back(stored + 1 < picture.height ? 0 : 1);  // end of line, or of bitmap
            continue;
        }
        std::vector<std::uint8_t> out(stride, 0);
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t argb = picture.pixels[first + x];
            if (bits <= 8) {
                const std::size_t bit = static_cast<std::size_t>(x) * bits;
                out[bit / 8] |= static_cast<std::uint8_t>(indexes[first + x] << (8 - bits - bit % 8));
                continue;
            }
            std::uint32_t value = 0;
            for (int c = 0; c < 3; ++c) value |= PackField(Channel(argb, c), masks[c]);
            value |= PackField(AlphaOf(argb), masks[3]);
            std::uint8_t* pixel = &out[static_cast<std::size_t>(x) * (bits / 8)];
            for (int i = 0; i < bits / 8; ++i) pixel[i] = (value >> (8 * i)) & 0xFF;
        }
        pixels.insert(pixels.end(), out.begin(), out.end());
    }

    const std::uint32_t compression = v.storage == BmpStorage::Rle              ? (bits == 8 ? 1 : 2)
                                      : v.storage == BmpStorage::BitFields      ? 3
                                      : v.storage == BmpStorage::AlphaBitFields ? 6
                                                                                : 0;
    std::vector<std::uint8_t> info(v.headerSize, 0);
    le::Put32(info.data(), v.headerSize);
    if (core) {
        le::Put16(&info[4], static_cast<std::uint16_t>(picture.width));
        le::Put16(&info[6], static_cast<std::uint16_t>(picture.height));
        le::Put16(&info[8], 1);
        le::Put16(&info[10], static_cast<std::uint16_t>(bits));
    } else {
        le::Put32(&info[4], static_cast<std::uint32_t>(picture.width));
        le::Put32(&info[8], static_cast<std::uint32_t>(v.topDown ? -picture.height : picture.height));
        le::Put16(&info[12], 1);
        le::Put16(&info[14], static_cast<std::uint16_t>(bits));
        if (v.headerSize >= 20) le::Put32(&info[16], compression);
        if (v.headerSize >= 24) le::Put32(&info[20], static_cast<std::uint32_t>(pixels.size()));
        if (v.headerSize >= 36) le::Put32(&info[32], static_cast<std::uint32_t>(palette.size()));
    }
    // Masks sit after the first 40 bytes: inside the larger headers, after the 40-byte one.
    std::vector<std::uint8_t> afterHeader;
    if (bitFields) {
        const std::uint32_t count = v.storage == BmpStorage::AlphaBitFields || v.headerSize >= 56 ? 4 : 3;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t at = 40 + 4 * i;
            if (at + 4 <= v.headerSize) {
                le::Put32(&info[at], masks[i]);
            } else {
                Append(afterHeader, masks[i], 4);
            }
        }
    }
    for (std::uint32_t rgb : palette) {
        Append(afterHeader, rgb, 3);
        if (!core) afterHeader.push_back(0);
    }

    std::vector<std::uint8_t> file(14, 0);
    file[0] = 'B';
    file[1] = 'M';
    const std::uint32_t offBits = static_cast<std::uint32_t>(14 + info.size() + afterHeader.size());
    le::Put32(&file[2], offBits + static_cast<std::uint32_t>(pixels.size()));
    le::Put32(&file[10], offBits);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), afterHeader.begin(), afterHeader.end());
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

}  // namespace zentro::test
