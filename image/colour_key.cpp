#include "image/colour_key.h"

#include <bit>
#include <cstring>

namespace zentro {

namespace {

std::uint32_t Load4(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

}  // namespace

void MarkKeyColour(const std::uint8_t* row, int width, std::uint32_t key, std::uint8_t* out, std::size_t step,
                   std::uint8_t mark) {
    const auto Mark = [mark](bool keyed) -> std::uint8_t { return keyed ? mark : 0; };
    int x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // Four pixels are three words: b0 g0 r0 b1 | g1 r1 b2 g2 | r2 b3 g3 r3. Each word is
        // compared with the key bytes in the same places, and each pixel checks its bytes.
        const std::uint32_t k0 = key | (key << 24), k1 = (key >> 8) | (key << 16), k2 = (key >> 16) | (key << 8);
        for (; x + 4 <= width; x += 4, row += 12, out += 4 * step) {
            const std::uint32_t d0 = Load4(row) ^ k0, d1 = Load4(row + 4) ^ k1, d2 = Load4(row + 8) ^ k2;
            out[0] = Mark((d0 & 0xFFFFFF) == 0);
            out[step] = Mark((d0 >> 24) == 0 && (d1 & 0xFFFF) == 0);
            out[2 * step] = Mark((d1 >> 16) == 0 && (d2 & 0xFF) == 0);
            out[3 * step] = Mark((d2 >> 8) == 0);
        }
    }
    for (; x < width; ++x, row += 3, out += step) *out = Mark(PackedColour(row) == key);
}

bool OneColour(const CDib& picture) {
    if (picture.BitCount() == 24) {
        const std::uint32_t key = PackedColour(picture.Row(0));
        for (int y = 0; y < picture.Height(); ++y) {
            const std::uint8_t* row = picture.Row(y);
            for (int x = 0; x < picture.Width(); ++x, row += 3)
                if (PackedColour(row) != key) return false;
        }
        return true;
    }
    std::uint8_t key[3], other[3];
    picture.GetPixel(0, 0, key);
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            picture.GetPixel(x, y, other);
            if (std::memcmp(key, other, 3) != 0) return false;
        }
    }
    return true;
}

bool CornersShareColour(const CDib& picture) {
    std::uint8_t bottomLeft[3], topLeft[3], bottomRight[3];
    picture.GetPixel(0, 0, bottomLeft);
    picture.GetPixel(0, picture.Height() - 1, topLeft);
    picture.GetPixel(picture.Width() - 1, 0, bottomRight);
    return std::memcmp(bottomLeft, topLeft, 3) == 0 && std::memcmp(bottomLeft, bottomRight, 3) == 0;
}

}  // namespace zentro
