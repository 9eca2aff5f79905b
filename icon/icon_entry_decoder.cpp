// Turns a BMP icon entry into a Picture through CDib, which already knows every
// depth an icon stores; only the layout of the entry is read here.
#include <cstring>

#include "icon/icon_reader.h"
#include "image/bitmap_header.h"

namespace zentro {

namespace {

// Copies `rows` stored rows of `dib`'s layout from `from`; the caller has checked that they are there.
void CopyRows(CDib& dib, const std::uint8_t* from) {
    std::memcpy(dib.Pixels(), from, static_cast<std::size_t>(dib.Stride()) * dib.Height());
}

}  // namespace

bool DecodeBmpIconEntry(const std::uint8_t* data, std::size_t size, const IconEntryInfo& entry, Picture& picture) {
    const IconDirEntry& d = entry.dir;
    if (!entry.readable || entry.format != IconImageFormat::Bmp ||
        std::uint64_t{d.imageOffset} + d.bytesInResource > size)
        return false;
    const std::uint8_t* image = data + d.imageOffset;
    if (d.bytesInResource < kBitmapHeaderSize) return false;
    const BitmapHeader h = ParseBitmapHeader(image);
    const int width = h.width;
    const int height = h.height / 2;
    const std::uint32_t colours = h.clrUsed != 0 ? h.clrUsed : h.bitCount <= 8 ? (1u << h.bitCount) : 0;

    // The reader has measured all this; the entry must still be of this file.
    CDib colour;
    if (colours > 256 || h.bitCount > 32 || h.size < kBitmapHeaderSize || h.size > d.bytesInResource ||
        h.compression != 0 || !colour.Create(width, height, static_cast<std::uint8_t>(h.bitCount)) ||
        h.size + 4 * std::uint64_t{colours} + colour.GetImageSize() > d.bytesInResource)
        return false;
    const std::uint8_t* table = image + h.size;
    if (h.bitCount <= 8) {
        for (std::uint32_t i = 0; i < colours; ++i)
            colour.ColourTable()[i] = {table[4 * i], table[4 * i + 1], table[4 * i + 2], 0};
    }
    const std::uint8_t* pixels = table + 4 * std::size_t{colours};
    CopyRows(colour, pixels);
    const std::uint8_t* maskBits = pixels + colour.GetImageSize();
    // The reader lets a 32-bit image without its mask through: its alpha is whole.
    const bool hasMask = maskBits + RowStride(width, 1) * height <= image + d.bytesInResource;
    CDib mask;
    if (h.bitCount != 32) {
        if (!hasMask || !mask.Create(width, height, 1)) return false;
        CopyRows(mask, maskBits);
    }

    if (!picture.colour.Create(width, height, 24) || !picture.alpha.Create(width, height, 8)) {
        picture.colour.Free();
        picture.alpha.Free();
        return false;
    }
    std::uint8_t rgb[3];
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            colour.GetPixel(x, y, rgb);
            picture.colour.SetPixel(x, y, rgb);
            picture.alpha.Row(y)[x] = h.bitCount == 32 ? colour.PixelPtr32(x, y)[3] : mask.GetMaskBit(x, y) ? 0 : 255;
        }
    }
    return true;
}

}  // namespace zentro
