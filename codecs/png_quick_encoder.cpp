#include <libdeflate.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "codecs/png_encoder.h"
#include "image/big_endian.h"
#include "image/byte_lanes.h"

namespace zentro::codecs {

namespace {

// libdeflate's own default. On the 256 x 256 images tried (a logo, a photograph, keyed
// drawings) it gave files 6 to 14 per cent smaller than zlib's level 4 in half to all of
// its time; its own level 4 saves up to a third of that for files up to 6 per cent larger.
constexpr int kLevel = 6;
constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kSubFilter = 1;
constexpr std::size_t kChunkFrame = 12;  // length, type, CRC
constexpr std::size_t kHeaderData = 13;

// Frames the `length` data bytes already at chunk + 8: length, type, CRC of type and data.
void FrameChunk(std::uint8_t* chunk, const char (&type)[5], std::size_t length) {
    be::Put32(chunk, static_cast<std::uint32_t>(length));
    for (int i = 0; i < 4; ++i) chunk[4 + i] = static_cast<std::uint8_t>(type[i]);
    be::Put32(chunk + 8 + length, libdeflate_crc32(0, chunk + 4, length + 4));
}

// Each row as the sub filter leaves it: its filter byte, then each byte less the
// same channel of the pixel before it (modulo 256), sixteen bytes at a time.
void FilterRows(const RgbaImage& image, std::uint8_t* out) {
    const std::size_t stride = static_cast<std::size_t>(image.width) * 4;
    const std::uint8_t* row = image.pixels.data();
    for (int y = 0; y < image.height; ++y, row += stride, out += stride + 1) {
        out[0] = kSubFilter;
        std::memcpy(out + 1, row, 4);
        std::size_t i = 4;
        for (; i + 16 <= stride; i += 16) Store16(out + 1 + i, Load16(row + i) - Load16(row + i - 4));
        for (; i < stride; ++i) out[1 + i] = static_cast<std::uint8_t>(row[i] - row[i - 4]);
    }
}

struct CompressorDeleter {
    void operator()(libdeflate_compressor* compressor) const noexcept { libdeflate_free_compressor(compressor); }
};

}  // namespace

bool EncodePngQuickly(const RgbaImage& image, std::vector<std::uint8_t>& png) {
    png.clear();
    if (!image.HoldsItsPixels()) return false;
    // A PNG chunk holds at most 2^31 - 1 bytes, and all the rows go into one.
    constexpr auto kLargestChunk = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    const std::size_t stride = static_cast<std::size_t>(image.width) * 4;
    if (static_cast<std::size_t>(image.height) > kLargestChunk / (stride + 1)) return false;
    const std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(libdeflate_alloc_compressor(kLevel));
    if (!compressor) return false;
    const std::size_t filteredSize = (stride + 1) * image.height;
    const std::size_t bound = libdeflate_zlib_compress_bound(compressor.get(), filteredSize);
    // The file is made in memory left uninitialised: of the compressor's bound, only the
    // pages the file reaches are touched, and each new page costs a fault.
    std::vector<std::uint8_t> filtered;
    std::unique_ptr<std::uint8_t[]> file;
    const std::size_t largest = sizeof kSignature + 3 * kChunkFrame + kHeaderData + bound;
    try {
        filtered.resize(filteredSize);
        file.reset(new std::uint8_t[largest]);
    } catch (const std::bad_alloc&) {
        return false;
    }
    FilterRows(image, filtered.data());

    std::uint8_t* out = file.get();
    for (std::uint8_t byte : kSignature) *out++ = byte;
    be::Put32(out + 8, static_cast<std::uint32_t>(image.width));
    be::Put32(out + 12, static_cast<std::uint32_t>(image.height));
    const std::uint8_t rest[] = {8, 6, 0, 0, 0};  // 8 bits a channel, RGBA, deflate, adaptive filters, no interlace
    for (std::size_t i = 0; i < sizeof rest; ++i) out[16 + i] = rest[i];
    FrameChunk(out, "IHDR", kHeaderData);
    out += kChunkFrame + kHeaderData;
    const std::size_t compressed =
        libdeflate_zlib_compress(compressor.get(), filtered.data(), filteredSize, out + 8, bound);
    if (compressed == 0 || compressed > kLargestChunk) return false;
    FrameChunk(out, "IDAT", compressed);
    out += kChunkFrame + compressed;
    FrameChunk(out, "IEND", 0);
    out += kChunkFrame;
    try {
        png.assign(file.get(), out);
    } catch (const std::bad_alloc&) {
        png.clear();
        return false;
    }
    return true;
}

}  // namespace zentro::codecs
