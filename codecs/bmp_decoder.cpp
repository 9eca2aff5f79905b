#include "codecs/bmp_decoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <vector>

#include "codecs/bmp_header.h"
#include "codecs/bmp_rle.h"
#include "image/little_endian.h"
#include "platform/file.h"
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

// Stored rows of uncompressed pixels, in memory or read from the file as they are
// asked for, in stored order; the bytes a short file lacks read as zero.
class StoredRows {
public:
    StoredRows(const std::uint8_t* data, std::size_t size, const BmpHeader& h)
        : data_(data), size_(size), start_(h.pixelOffset), stride_(RowStride(h.width, h.bitCount)) {}
    StoredRows(File& file, std::uint64_t size, const BmpHeader& h)
        : file_(&file), size_(size), start_(h.pixelOffset), stride_(RowStride(h.width, h.bitCount)) {}

    const std::uint8_t* Row(int stored) {
        const std::uint64_t offset = start_ + stride_ * static_cast<std::uint64_t>(stored);
        if (file_ == nullptr && offset <= size_ && stride_ <= size_ - offset) return data_ + offset;
        row_.resize(static_cast<std::size_t>(stride_));
        Copy(stored, 1, row_.data());
        return row_.data();
    }

    // Copies `count` whole stored rows from `first` on to `out`.
    void Copy(int first, int count, std::uint8_t* out) {
        const std::uint64_t offset = start_ + stride_ * static_cast<std::uint64_t>(first);
        const auto bytes = static_cast<std::size_t>(stride_ * static_cast<std::uint64_t>(count));
        const auto there =
            offset < size_ ? static_cast<std::size_t>(std::min<std::uint64_t>(bytes, size_ - offset)) : 0;
        std::size_t got = 0;
        if (there != 0 && file_ != nullptr) {
            if (offset != position_) file_->Seek(offset);
            got = file_->Read(out, there);
            position_ = offset + got;
        } else if (there != 0) {
            std::memcpy(out, data_ + offset, there);
            got = there;
        }
        std::memset(out + got, 0, bytes - got);
    }

private:
    File* file_ = nullptr;
    const std::uint8_t* data_ = nullptr;
    std::uint64_t size_;
    std::uint64_t start_;
    std::uint64_t stride_;
    // Where the file stands, unknown at first: rows read one after another need no seek.
    std::uint64_t position_ = ~std::uint64_t{0};
    std::vector<std::uint8_t> row_;
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
    // Its rows are padded alike, so a bottom-up file's pixels are read in one go, as the classic reader does.
    if (h.bitCount == 24 && alpha == nullptr && h.masks[0] == 0xFF0000 && h.masks[1] == 0xFF00 && h.masks[2] == 0xFF) {
        if (h.topDown) {
            for (int stored = 0; stored < h.rows; ++stored) rows.Copy(stored, 1, colour.Row(PictureRow(h, stored)));
        } else {
            rows.Copy(0, h.rows, colour.Pixels());
        }
        // The padding stays zero, whatever the file holds there.
        const std::size_t used = 3 * static_cast<std::size_t>(h.width);
        if (colour.Stride() > used)
            for (int y = 0; y < h.rows; ++y) std::memset(colour.Row(y) + used, 0, colour.Stride() - used);
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

bool IsRle(const BmpHeader& h) { return h.pixels == BmpPixels::Rle8 || h.pixels == BmpPixels::Rle4; }

// Makes the picture `h` describes and decodes its pixels: an RLE stream from `data`
// (the whole file), other pixels from `stored`.
unsigned DecodePixels(const BmpHeader& h, const std::uint8_t* data, std::size_t size, StoredRows& stored,
                      Picture& picture) {
    const bool rle = IsRle(h);
    const bool withAlpha = rle || h.masks[3] != 0;
    try {
        if (!picture.colour.Create(h.width, h.rows, 24) || (withAlpha && !picture.alpha.Create(h.width, h.rows, 8))) {
            picture.colour.Free();
            return IDS_NO_DIB_MEMORY;
        }
        bool keepAlpha = withAlpha;
        if (rle) {
            keepAlpha = !DecodeRle(data, size, h, picture.colour, picture.alpha);
        } else if (h.pixels == BmpPixels::Indexed) {
            DecodeIndexed(h, stored, picture.colour);
        } else {
            const bool anyAlpha = DecodeBitFields(h, stored, picture.colour, withAlpha ? &picture.alpha : nullptr);
            if (h.alphaUnlessAllZero) keepAlpha = anyAlpha;
        }
        if (!keepAlpha) picture.alpha.Free();
    } catch (const std::bad_alloc&) {
        picture.colour.Free();
        picture.alpha.Free();
        return IDS_NO_DIB_MEMORY;
    }
    return 0;
}

// 0 when `data` starts a BMP whose header we read into `h`, else the message id.
unsigned ReadHeader(const std::uint8_t* data, std::size_t size, BmpHeader& h) {
    if (size < 2 || data[0] != 'B' || data[1] != 'M') return IDS_NOT_A_BITMAP;
    std::uint8_t fileHeader[kFileHeaderSize] = {};
    std::memcpy(fileHeader, data, std::min(size, kFileHeaderSize));
    // The file size the header states is often wrong and never needed: the data ends where the file does.
    return ReadBmpHeader(data, size, kFileHeaderSize, le::Get32(fileHeader + 10), h);
}

}  // namespace

unsigned DecodeBmp(const std::uint8_t* data, std::size_t size, Picture& picture) {
    picture.colour.Free();
    picture.alpha.Free();
    BmpHeader h;
    if (const unsigned refused = ReadHeader(data, size, h)) return refused;
    StoredRows stored(data, size, h);
    return DecodePixels(h, data, size, stored, picture);
}

unsigned DecodeBmp(PictureFile& file, Picture& picture) {
    picture.colour.Free();
    picture.alpha.Free();
    std::uint8_t head[kFileHeaderSize + kBmpHeaderBytes];
    file.Stream().Seek(0);
    const std::size_t got =
        file.Stream().Read(head, static_cast<std::size_t>(std::min<std::uint64_t>(file.Size(), sizeof head)));
    BmpHeader h;
    if (const unsigned refused = ReadHeader(head, got, h)) return refused;
    if (IsRle(h)) {
        // The stream is played with jumps back and forth; it is far smaller than the pixels it makes.
        std::vector<std::uint8_t> bytes;
        if (const unsigned id = file.ReadAll(bytes)) return id;
        return DecodeBmp(bytes.data(), bytes.size(), picture);
    }
    StoredRows stored(file.Stream(), file.Size(), h);
    return DecodePixels(h, nullptr, 0, stored, picture);
}

}  // namespace zentro::codecs
