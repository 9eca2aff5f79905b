#include "image/dib.h"

#include "image/nearest_colour.h"

namespace zentro {

static_assert(kMaxPixelsSide * kMaxPixelsSide == kMaxPixels);

std::vector<std::string> TooLargeFacts(std::uint64_t width, std::uint64_t height) {
    return {std::to_string(width), std::to_string(height), std::to_string(kMaxPixels), std::to_string(kMaxPixelsSide)};
}

bool CDib::Allocate() {
    std::uint64_t bytes = ExactImageSize(header_);
    std::uint64_t pixels = static_cast<std::uint64_t>(header_.width) * static_cast<std::uint64_t>(header_.height);
    bool supported = header_.bitCount == 1 || header_.bitCount == 4 || header_.bitCount == 8 ||
                     header_.bitCount == 24 || header_.bitCount == 32;
    if (header_.compression != 0 || !supported || bytes == 0 || bytes > UINT32_MAX || pixels > kMaxPixels) return false;
    pixels_ = AllocatePixelMemory(static_cast<std::size_t>(bytes));
    return pixels_ != nullptr;
}

bool CDib::Create(int width, int height, std::uint8_t bitCount) {
    Free();
    header_ = BitmapHeader{};
    header_.size = kBitmapHeaderSize;
    header_.width = width;
    header_.height = height;
    header_.planes = 1;
    header_.bitCount = bitCount;
    return Allocate();
}

void CDib::Free() { pixels_.reset(); }

std::uint32_t CDib::GetPaletteSize() const {
    if (header_.bitCount == 8) return 1024;
    if (header_.bitCount == 4) return 64;
    return 0;
}

void CDib::GetPixel(int x, int y, std::uint8_t* out) const {
    int index;
    switch (header_.bitCount) {
        case 1: index = GetMaskBit(x, y); break;
        case 4: {
            std::uint8_t byte = *PixelPtr4(x, y);
            index = (x % 2 == 0) ? byte >> 4 : byte & 0x0F;
            break;
        }
        case 8: index = Row(y)[x]; break;
        case 24: {
            const std::uint8_t* p = PixelPtr24(x, y);
            out[0] = p[2];
            out[1] = p[1];
            out[2] = p[0];
            return;
        }
        case 32: {
            const std::uint8_t* p = PixelPtr32(x, y);
            out[0] = p[2];
            out[1] = p[1];
            out[2] = p[0];
            return;
        }
        default: return;
    }
    const PaletteEntry& entry = colourTable_[index];
    out[0] = entry.red;
    out[1] = entry.green;
    out[2] = entry.blue;
}

int CDib::NearestEntry(const std::uint8_t* colour, int count) const {
    return NearestColour(colourTable_, count).Find(colour);
}

void CDib::SetIndex(int x, int y, int index) {
    if (header_.bitCount == 8) {
        Row(y)[x] = static_cast<std::uint8_t>(index);
    } else {
        std::uint8_t* p = PixelPtr4(x, y);
        *p = (x % 2 == 0) ? static_cast<std::uint8_t>((*p & 0x0F) | (index << 4))
                          : static_cast<std::uint8_t>((*p & 0xF0) | index);
    }
}

void CDib::SetPixel(int x, int y, const std::uint8_t* in, std::uint8_t* out) {
    switch (header_.bitCount) {
        case 24: {
            std::uint8_t* p = PixelPtr24(x, y);
            p[0] = in[2];
            p[1] = in[1];
            p[2] = in[0];
            return;
        }
        case 32: {
            std::uint8_t* p = PixelPtr32(x, y);
            p[0] = in[2];
            p[1] = in[1];
            p[2] = in[0];
            p[3] = in[3];
            return;
        }
        case 4:
        case 8: break;
        default: return;
    }
    const int chosen = NearestEntry(in, header_.bitCount == 4 ? 16 : 256);
    SetIndex(x, y, chosen);
    if (out != nullptr) {
        out[0] = colourTable_[chosen].red;
        out[1] = colourTable_[chosen].green;
        out[2] = colourTable_[chosen].blue;
    }
}

std::uint16_t CDib::ColourDistance(const std::uint8_t* a, const std::uint8_t* b) {
    auto diff = [](int p, int q) { return p > q ? p - q : q - p; };
    return static_cast<std::uint16_t>(diff(a[0], b[0]) + diff(a[1], b[1]) + diff(a[2], b[2]));
}

}  // namespace zentro
