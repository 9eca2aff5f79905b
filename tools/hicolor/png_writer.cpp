#include "tools/hicolor/png_writer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zentro::tools {

namespace {

using Bytes = std::vector<std::uint8_t>;

// PNG and zlib count in big-endian.
void PutBig32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t count, std::uint32_t crc = 0) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < count; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::uint32_t Adler32(const Bytes& data) {
    constexpr std::uint32_t kModulus = 65521;
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % kModulus;
        b = (b + a) % kModulus;
    }
    return (b << 16) | a;
}

// A zlib stream of stored blocks (at most 65535 bytes each).
Bytes StoredZlib(const Bytes& raw) {
    constexpr std::size_t kMaxBlock = 65535;
    Bytes out = {0x78, 0x01};  // deflate, 32 KiB window; 0x7801 is a multiple of 31
    std::size_t done = 0;
    do {
        const std::size_t length = std::min(kMaxBlock, raw.size() - done);
        const bool last = done + length == raw.size();
        out.push_back(last ? 1 : 0);
        const auto len = static_cast<std::uint16_t>(length);
        const auto nlen = static_cast<std::uint16_t>(~len);
        for (std::uint16_t v : {len, nlen}) {
            out.push_back(static_cast<std::uint8_t>(v));
            out.push_back(static_cast<std::uint8_t>(v >> 8));
        }
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(done),
                   raw.begin() + static_cast<std::ptrdiff_t>(done + length));
        done += length;
    } while (done < raw.size());
    PutBig32(out, Adler32(raw));
    return out;
}

void WriteChunk(ByteSink& sink, std::string_view type, const Bytes& data) {
    Bytes chunk;
    PutBig32(chunk, static_cast<std::uint32_t>(data.size()));
    chunk.insert(chunk.end(), type.begin(), type.end());
    chunk.insert(chunk.end(), data.begin(), data.end());
    // The CRC covers the type and the data, not the length.
    PutBig32(chunk, Crc32(chunk.data() + 4, chunk.size() - 4));
    sink.Write(chunk.data(), chunk.size());
}

}  // namespace

void WritePng(ByteSink& sink, const CDib& picture) {
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    sink.Write(kSignature, sizeof kSignature);

    Bytes header;
    PutBig32(header, static_cast<std::uint32_t>(picture.Width()));
    PutBig32(header, static_cast<std::uint32_t>(picture.Height()));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
    WriteChunk(sink, "IHDR", header);

    Bytes raw;
    raw.reserve((3 * static_cast<std::size_t>(picture.Width()) + 1) * static_cast<std::size_t>(picture.Height()));
    for (int y = picture.Height() - 1; y >= 0; --y) {
        raw.push_back(0);  // filter type None
        for (int x = 0; x < picture.Width(); ++x) {
            std::uint8_t colour[3];
            picture.GetPixel(x, y, colour);
            raw.insert(raw.end(), colour, colour + 3);
        }
    }
    WriteChunk(sink, "IDAT", StoredZlib(raw));
    WriteChunk(sink, "IEND", {});
}

}  // namespace zentro::tools
