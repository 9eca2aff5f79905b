#pragma once
// Files of the field's formats, written for the tests by the formats' own libraries.
#include <cstdint>
#include <vector>

#include "image/picture.h"

namespace zentro::test {

struct PngLayout {
    int width = 1;
    int height = 1;
    int colourType = 2;  // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    // Rows top first, packed as PNG stores them (big-endian 16-bit samples).
    std::vector<std::uint8_t> samples;
    // Palette entries 0xRRGGBB and their tRNS alpha values.
    std::vector<std::uint32_t> palette;
    std::vector<std::uint8_t> paletteAlpha;
    // tRNS of a grey (first value) or RGB picture; empty for none.
    std::vector<std::uint16_t> transparentColour;
};

std::vector<std::uint8_t> EncodePng(const PngLayout& layout);

// RGBA pixels (red first, rows top first) as read by libpng's own simplified reader.
std::vector<std::uint8_t> DecodePngWithLibpng(const std::vector<std::uint8_t>& file, int& width, int& height);

struct JpegLayout {
    int width = 1;
    int height = 1;
    // 1 grey, 3 RGB, 4 CMYK (stored as given: the Adobe convention of 255 for no ink).
    int components = 3;
    bool ycck = false;
    bool progressive = false;
    int quality = 90;
    // Every component at full resolution, so that flat areas decode nearly exactly.
    bool fullChroma = false;
    // Rows top first, `components` samples a pixel.
    std::vector<std::uint8_t> samples;
    // Payload of an APP1 marker; empty for none.
    std::vector<std::uint8_t> app1;
};

std::vector<std::uint8_t> EncodeJpeg(const JpegLayout& layout);

// An Exif block (an APP1 payload) whose first directory holds only the orientation, in either byte order.
std::vector<std::uint8_t> ExifBlock(int orientation, bool bigEndian);

// RGB pixels (rows top first) as libjpeg-turbo decodes them by default.
std::vector<std::uint8_t> DecodeJpegWithLibjpeg(const std::vector<std::uint8_t>& file, int& width, int& height);

// A still WebP of RGBA or RGB pixels (rows top first): lossless, or lossy at `quality` 1 to 100.
std::vector<std::uint8_t> EncodeWebp(int width, int height, const std::vector<std::uint8_t>& pixels, bool withAlpha,
                                     int quality = 0);
struct WebpFrame {
    int x = 0;  // even, as the format stores half the offset
    int y = 0;
    int width = 1;
    int height = 1;
    std::vector<std::uint8_t> rgba;
};
// An animation of lossless frames on a canvas, assembled chunk by chunk.
std::vector<std::uint8_t> EncodeAnimatedWebp(int width, int height, const std::vector<WebpFrame>& frames);
// RGBA pixels (rows top first) as libwebp's simple decoder gives them.
std::vector<std::uint8_t> DecodeWebpWithLibwebp(const std::vector<std::uint8_t>& file, int& width, int& height);

struct GifFrame {
    int left = 0;
    int top = 0;
    int width = 1;
    int height = 1;
    bool interlaced = false;
    int transparent = -1;
    // Palette indexes, rows top first.
    std::vector<std::uint8_t> indexes;
};
// A GIF89a with one global colour table (0xRRGGBB, padded to a power of two).
std::vector<std::uint8_t> EncodeGif(int width, int height, std::vector<std::uint32_t> palette, int background,
                                    const std::vector<GifFrame>& frames);

// The dispatcher on a whole file held in memory.
unsigned DecodeBytes(const std::vector<std::uint8_t>& file, Picture& picture);

// A decoded picture as RGBA bytes, rows top first; alpha 255 where it has none.
std::vector<std::uint8_t> TopDownRgba(const Picture& picture);

}  // namespace zentro::test
