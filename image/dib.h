#pragma once
// CDib: the one in-memory picture type. Pixels are kept exactly as a BMP file
// or an icon image stores them: rows bottom-up, each padded to 4 bytes, so the
// icon writer can copy them out unchanged.
//
// Coordinates are (x, y) with x the column from the left and y the stored row,
// stored row 0 being the bottom row of the picture. No pixel operation checks
// its coordinates: callers stay inside the picture.
//
// Colours are exchanged as red, green, blue byte triples (a fourth byte, alpha,
// when writing 32-bit pixels); stored pixels and palette entries keep blue first.
#include <cstdint>
#include <string>
#include <vector>

#include "image/bitmap_header.h"
#include "platform/pixel_memory.h"

namespace zentro {

class ByteSink;

struct PaletteEntry {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
};

// One 16-byte entry of an icon directory.
struct IconDirEntry {
    std::uint8_t width = 0;
    std::uint8_t height = 0;
    std::uint8_t colourCount = 0;
    std::uint8_t reserved = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t bytesInResource = 0;
    std::uint32_t imageOffset = 0;
};

// The largest picture that CDib::Create accepts, in pixels (a 16384 x 16384 picture).
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 28;
constexpr std::uint64_t kMaxPixelsSide = std::uint64_t{1} << 14;

// What message 130 names of a width x height picture refused for its size: the
// size, and the limit as pixels and as the side of a square.
std::vector<std::string> TooLargeFacts(std::uint64_t width, std::uint64_t height);

class CDib {
public:
    CDib() = default;
    virtual ~CDib() = default;
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;
    // Hands the pixels over; the bitmap moved from holds no picture.
    CDib(CDib&&) noexcept = default;
    CDib& operator=(CDib&&) noexcept = default;

    // --- the bitmap itself ---
    // Makes an empty (all zero) picture; keeps the colour table and corner flag.
    // False, holding no picture, when the size is not positive, the pixels are
    // more than kMaxPixels or their bytes would not fit 32 bits, or no memory is left.
    bool Create(int width, int height, std::uint8_t bitCount);
    void Free();
    // Reads a BMP file into a 24-bit picture; shows its own message on failure.
    bool Load(const std::string& path);

    void GetPixel(int x, int y, std::uint8_t* out) const;
    void SetPixel(int x, int y, const std::uint8_t* in, std::uint8_t* out = nullptr);
    // Inline: the resampler and the quantizer ask for every pixel's bit.
    int GetMaskBit(int x, int y) const { return (Row(y)[x / 8] >> (7 - x % 8)) & 1; }
    void SetMaskBit(int x, int y, bool on) {
        const std::uint8_t bit = static_cast<std::uint8_t>(1u << (7 - x % 8));
        std::uint8_t& byte = Row(y)[x / 8];
        byte = static_cast<std::uint8_t>(on ? (byte | bit) : (byte & ~bit));
    }
    static std::uint16_t ColourDistance(const std::uint8_t* a, const std::uint8_t* b);
    // Index of the nearest of the first `count` palette entries, the highest index winning ties.
    int NearestEntry(const std::uint8_t* colour, int count) const;
    // Stores palette index `index` as pixel (x, y) of a 4- or 8-bit picture.
    void SetIndex(int x, int y, int index);

    std::uint8_t GetCornerFlag() const { return cornerFlag_; }
    int GetMinSide() const { return header_.width < header_.height ? header_.width : header_.height; }
    std::uint32_t GetImageSize() const { return static_cast<std::uint32_t>(ExactImageSize(header_)); }
    std::uint32_t GetPaletteSize() const;

    std::uint8_t* PixelPtr24(int x, int y) { return Row(y) + 3 * x; }
    const std::uint8_t* PixelPtr24(int x, int y) const { return Row(y) + 3 * x; }
    std::uint8_t* PixelPtr32(int x, int y) {
        return pixels_.get() + (static_cast<std::size_t>(y) * header_.width + x) * 4;
    }
    const std::uint8_t* PixelPtr32(int x, int y) const {
        return pixels_.get() + (static_cast<std::size_t>(y) * header_.width + x) * 4;
    }
    std::uint8_t* PixelPtr4(int x, int y) { return Row(y) + x / 2; }
    const std::uint8_t* PixelPtr4(int x, int y) const { return Row(y) + x / 2; }

    std::uint8_t* Row(int y) { return pixels_.get() + static_cast<std::size_t>(y) * Stride(); }
    const std::uint8_t* Row(int y) const { return pixels_.get() + static_cast<std::size_t>(y) * Stride(); }
    std::size_t Stride() const { return static_cast<std::size_t>(RowStride(header_.width, header_.bitCount)); }

    bool HasPicture() const { return pixels_ != nullptr; }
    const BitmapHeader& Header() const { return header_; }
    int Width() const { return header_.width; }
    int Height() const { return header_.height; }
    int BitCount() const { return header_.bitCount; }
    std::uint8_t* Pixels() { return pixels_.get(); }
    const std::uint8_t* Pixels() const { return pixels_.get(); }
    PaletteEntry* ColourTable() { return colourTable_; }
    const PaletteEntry* ColourTable() const { return colourTable_; }

    // --- transparency from the colour key ---
    // keyMode 0: nothing keyed; 1: key colour; 2: key colour with smoothed edges.
    bool BuildKeyMask(CDib& keyMask, int keyMode) const;
    // Called on a key mask: pass 0 along the stored rows, pass 1 along the columns.
    void SmoothKeyMask(std::uint8_t pass);
    bool IsKeyState(int position, int line, std::uint8_t pass, bool keyed) const;
    bool IsRampStart(int position, int line, bool up, bool afterKeyed, std::uint8_t pass, bool& corner) const;
    void WriteRamp(int line, int from, int to, bool falling, std::uint8_t pass);

    // --- making icon images ---
    // mode 0: no transparency, 1: threshold, 2: alpha (32-bit target).
    bool Resample(CDib& target, int width, int height, int mode, const CDib& keyMask, CDib& targetMask) const;
    static void EdgeWeight(double& weight, int index, int first, double startEdge, int end, double endEdge);
    void BuildPalette(CDib& target, bool sixteenColours) const;
    bool Quantize(CDib& target, bool sixteenColours, const CDib& mask) const;
    bool ComposePreview(CDib& preview, const CDib& mask) const;

    // --- icon output ---
    void FillDirEntry(IconDirEntry& entry, const CDib& mask) const;
    // Header with doubled height and colour table (not for 1-bit masks), then the pixels.
    void WriteImage(ByteSink& sink) const;

private:
    // Pixel memory for `header` as it stands; false for compressed or oversized pictures.
    bool Allocate();
    // Replaces a 1-, 4- or 8-bit picture by its colours at 24 bits; false when memory is short.
    bool ConvertTo24Bits();

    BitmapHeader header_;
    PixelMemory pixels_;
    PaletteEntry colourTable_[256];
    std::uint8_t cornerFlag_ = 0;
};

}  // namespace zentro
