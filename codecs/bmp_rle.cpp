#include "codecs/bmp_rle.h"

#include <cstring>

namespace zentro::codecs {

namespace {

// Escapes that follow a zero count.
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kDelta = 2;

// Writes pixels where the stream stands, dropping those past the right edge or the last row.
class PixelPen {
public:
    PixelPen(const BmpHeader& header, CDib& colour, CDib& alpha) : h_(header), colour_(colour), alpha_(alpha) {}

    void Put(std::int64_t x, std::int64_t line, unsigned index) {
        if (x >= h_.width || line >= h_.rows) return;
        const int y = static_cast<int>(h_.topDown ? h_.rows - 1 - line : line);
        std::memcpy(colour_.PixelPtr24(static_cast<int>(x), y), h_.palette[index], 3);
        alpha_.Row(y)[x] = 255;
        ++set_;
    }
    // Each pixel is set at most once, since every step of a stream moves on along the rows.
    bool SetAll() const { return set_ == static_cast<std::uint64_t>(h_.width) * static_cast<std::uint64_t>(h_.rows); }

private:
    const BmpHeader& h_;
    CDib& colour_;
    CDib& alpha_;
    std::uint64_t set_ = 0;
};

}  // namespace

bool DecodeRle(const std::uint8_t* data, std::size_t size, const BmpHeader& h, CDib& colour, CDib& alpha) {
    const bool nibbles = h.pixels == BmpPixels::Rle4;
    PixelPen pen(h, colour, alpha);
    std::int64_t x = 0, line = 0;
    std::uint64_t at = h.pixelOffset;
    auto next = [&](std::uint8_t& byte) {
        if (at >= size) return false;
        byte = data[at++];
        return true;
    };
    // Index `i` of a run or literal whose bytes are `packed`: two to a byte in RLE4, high nibble first.
    auto index = [nibbles](std::uint8_t packed, unsigned i) -> unsigned {
        return nibbles ? (i % 2 == 0 ? packed >> 4 : packed & 0x0F) : packed;
    };

    bool ended = false;
    while (!ended && line < h.rows) {
        std::uint8_t count, code;
        if (!next(count) || !next(code)) break;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i) pen.Put(x + i, line, index(code, i));
            x += count;
        } else if (code == kEndOfLine) {
            x = 0;
            ++line;
        } else if (code == kEndOfBitmap) {
            ended = true;
        } else if (code == kDelta) {
            std::uint8_t dx, dy;
            if (!next(dx) || !next(dy)) break;
            x += dx;
            line += dy;
        } else {
            // A literal of `code` pixels, its bytes padded to a whole 16-bit word.
            const unsigned bytes = nibbles ? (code + 1u) / 2 : code;
            for (unsigned i = 0; i < code && !ended; ++i) {
                const std::uint64_t byteAt = at + (nibbles ? i / 2 : i);
                if (byteAt >= size) {
                    ended = true;
                } else {
                    pen.Put(x + i, line, index(data[byteAt], i));
                }
            }
            x += code;
            at += bytes + (bytes & 1);
        }
    }
    return pen.SetAll();
}

}  // namespace zentro::codecs
