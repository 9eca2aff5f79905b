#include "codecs/bmp_decoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <vector>

#include "codecs/bmp_header.h"
#include "codecs/bmp_rle.h"
#include "image/little_endian.h"
#include "platform/string_table.h"

namespace zentro::codecs {

namespace {

constexpr std::size_t kFileHeaderSize = 14;

// One field of a bit-field pixel, scaled to 8 bits as (v × 255 + m / 2) / m with
// m the field's largest value, in integers so that every machine agrees.
class Field {
public:
    explicit Field(std::uint32_t mask)
        : mask_(mask), shift_(mask != 0 ? std::countr_zero(mask) : 0), largest_(mask >> shift_) {
        // A table of the common narrow fields spares a division per pixel.
        if (largest_ > 0 && largest_ <= kLargestTabled) {
            levels_.resize(largest_ + 1);
            for (std::uint32_t v = 0; v <= largest_; ++v) levels_[v] = Scale(v);
        }
    }

    std::uint32_t Raw(std::uint32_t pixel) const { return (pixel & mask_) >> shift_; }
    std::uint8_t operator()(std::uint32_t pixel) const {
        if (!levels_.empty()) return levels_[Raw(pixel)];
        return largest_ == 0 ? 0 : Scale(Raw(pixel));
    }

private:
    static constexpr std::uint32_t kLargestTabled = 0xFFF;

    std::uint8_t Scale(std::uint32_t v) const {
        return static_cast<std::uint8_t>((std::uint64_t{v} * 255 + largest_ / 2) / largest_);
    }

    std::uint32_t mask_;
    int shift_;
    std::uint32_t largest_;
    std::vector<std::uint8_t> levels_;
};

// Stored rows of uncompressed pixels; the bytes a short file lacks read as zero.
class StoredRows {
public:
    StoredRows(const std::uint8_t* data, std::size_t size, const BmpHeader& h)
        : data_(data), size_(size), start_(h.pixelOffset), stride_(RowStride(h.width, h.bitCount)) {}

    const std::uint8_t* Row(int stored) {
        const std::uint64_t offset = start_ + stride_ * static_cast<std::uint64_t>(stored);
        if (offset <= size_ && stride_ <= size_ - offset) return data_ + offset;
        padded_.assign(static_cast<std::size_t>(stride_), 0);
        if (offset < size_) std::memcpy(padded_.data(), data_ + offset, size_ - static_cast<std::size_t>(offset));
        return padded_.data();
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::uint64_t start_;
    std::uint64_t stride_;
    std::vector<std::uint8_t> padded_;
};

int PictureRow(const BmpHeader& h, int stored) { return h.topDown ? h.rows - 1 - stored : stored; }

void DecodeIndexed(const BmpHeader& h, StoredRows& rows, CDib& colour) {
    const int bits = h.bitCount;
    const unsigned indexMask = (1u << bits) - 1;
    for (int stored = 0; stored < h.rows; ++stored) {
        const std::uint8_t* in = rows.Row(stored);
        std::uint8_t* out = colour.Row(PictureRow(h, stored));
        for (int x = 0; x < h.width; ++x, out += 3) {
            // Leftmost pixel in the highest bits of its byte.
            const std::uint64_t bit = static_cast<std::uint64_t>(x) * bits;
            const unsigned index = (in[bit / 8] >> (8 - bits - static_cast<int>(bit % 8))) & indexMask;
            std::memcpy(out, h.palette[index], 3);
        }
    }
}

// True when some pixel has a non-zero alpha field.
bool DecodeBitFields(const BmpHeader& h, StoredRows& rows, CDib& colour, CDib* alpha) {
    // The common 24-bit file stores its rows as the bitmap keeps them.
    if (h.bitCount == 24 && alpha == nullptr && h.masks[0] == 0xFF0000 && h.masks[1] == 0xFF00 && h.masks[2] == 0xFF) {
        for (int stored = 0; stored < h.rows; ++stored)
            std::memcpy(colour.Row(PictureRow(h, stored)), rows.Row(stored), 3 * static_cast<std::size_t>(h.width));
        return false;
    }
    const Field red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]), opacity(h.masks[3]);
    const int bytes = h.bitCount / 8;
    std::uint32_t anyAlpha = 0;
    for (int stored = 0; stored < h.rows; ++stored) {
        const std::uint8_t* in = rows.Row(stored);
        const int y = PictureRow(h, stored);
        std::uint8_t* out = colour.Row(y);
        std::uint8_t* outAlpha = alpha != nullptr ? alpha->Row(y) : nullptr;
        for (int x = 0; x < h.width; ++x, in += bytes, out += 3) {
            std::uint32_t pixel = 0;
            for (int i = 0; i < bytes; ++i) pixel |= std::uint32_t{in[i]} << (8 * i);
            out[0] = blue(pixel);
            out[1] = green(pixel);
            out[2] = red(pixel);
            if (outAlpha != nullptr) {
                anyAlpha |= opacity.Raw(pixel);
                outAlpha[x] = opacity(pixel);
            }
        }
    }
    return anyAlpha != 0;
}

unsigned Decode(const std::uint8_t* data, std::size_t size, std::size_t infoOffset, std::uint32_t offBits,
                Picture& picture) {
    picture.colour.Free();
    picture.alpha.Free();
    BmpHeader h;
    if (const unsigned refused = ReadBmpHeader(data, size, infoOffset, offBits, h)) return refused;

    const bool rle = h.pixels == BmpPixels::Rle8 || h.pixels == BmpPixels::Rle4;
    const bool withAlpha = rle || h.masks[3] != 0;
    try {
        if (!picture.colour.Create(h.width, h.rows, 24) || (withAlpha && !picture.alpha.Create(h.width, h.rows, 8))) {
            picture.colour.Free();
            return IDS_NO_DIB_MEMORY;
        }
        bool keepAlpha = withAlpha;
        if (rle) {
            keepAlpha = !DecodeRle(data, size, h, picture.colour, picture.alpha);
        } else {
            StoredRows stored(data, size, h);
            if (h.pixels == BmpPixels::Indexed) {
                DecodeIndexed(h, stored, picture.colour);
            } else {
                const bool anyAlpha = DecodeBitFields(h, stored, picture.colour, withAlpha ? &picture.alpha : nullptr);
                if (h.alphaUnlessAllZero) keepAlpha = anyAlpha;
            }
        }
        if (!keepAlpha) picture.alpha.Free();
    } catch (const std::bad_alloc&) {
        picture.colour.Free();
        picture.alpha.Free();
        return IDS_NO_DIB_MEMORY;
    }
    return 0;
}

}  // namespace

unsigned DecodeBmp(const std::uint8_t* data, std::size_t size, Picture& picture) {
    if (size < 2 || data[0] != 'B' || data[1] != 'M') {
        picture.colour.Free();
        picture.alpha.Free();
        return IDS_NOT_A_BITMAP;
    }
    std::uint8_t fileHeader[kFileHeaderSize] = {};
    std::memcpy(fileHeader, data, std::min(size, kFileHeaderSize));
    // The file size the header states is often wrong and never needed: the data ends where the file does.
    return Decode(data, size, kFileHeaderSize, le::Get32(fileHeader + 10), picture);
}

}  // namespace zentro::codecs
