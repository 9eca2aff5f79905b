// Writes the pictures the Windows suite gives both builds, each format written
// by its own library as the Linux tests write them: every PNG colour type and
// depth, JPEGs, WebPs, a GIF with a transparent index and BMPs of every variant.
//
//   write_pictures DIR
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "codec_encoders.h"
#include "support/bmp_variant_writer.h"

using namespace zentro::test;

namespace {

using Bytes = std::vector<std::uint8_t>;
const int kWidth = 53, kHeight = 41;

// Noise over a gradient, so that every filter, DCT block and palette entry sees use.
std::uint8_t Sample(int x, int y, int channel) {
    const unsigned noise = (static_cast<unsigned>(x) * 73856093u ^ static_cast<unsigned>(y) * 19349663u ^
                            static_cast<unsigned>(channel) * 83492791u) *
                           2654435761u;
    return static_cast<std::uint8_t>((x * 4 + y * 3 + channel * 70) + (noise >> 28));
}

bool Write(const std::string& dir, const std::string& name, const Bytes& data) {
    std::FILE* file = std::fopen((dir + "/" + name).c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(data.data(), 1, data.size(), file) == data.size();
    return std::fclose(file) == 0 && written;
}

Bytes Png(int colourType, int depth, bool interlaced = false, int width = kWidth, int height = kHeight) {
    PngLayout layout;
    layout.width = width;
    layout.height = height;
    layout.colourType = colourType;
    layout.bitDepth = depth;
    layout.interlaced = interlaced;
    const int channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
    const int rowBytes = (width * channels * depth + 7) / 8;
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < rowBytes; ++i) layout.samples.push_back(Sample(i, y, colourType));
    if (colourType == 3) {
        for (int i = 0; i < 1 << depth; ++i) {
            layout.palette.push_back(static_cast<std::uint32_t>(Sample(i, 1, 0) << 16 | Sample(i, 2, 1) << 8 | i));
            layout.paletteAlpha.push_back(static_cast<std::uint8_t>(i % 3 == 0 ? 0 : 255 - i));
        }
    }
    return EncodePng(layout);
}

Bytes Pixels(int channels) {
    Bytes samples;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            for (int c = 0; c < channels; ++c) samples.push_back(c == 3 && x < 8 ? 0 : Sample(x, y, c));
    return samples;
}

Bytes Jpeg(int components, bool progressive, const Bytes& app1 = {}) {
    JpegLayout layout;
    layout.width = kWidth;
    layout.height = kHeight;
    layout.components = components;
    layout.progressive = progressive;
    layout.samples = Pixels(components);
    layout.app1 = app1;
    return EncodeJpeg(layout);
}

Bytes Gif() {
    std::vector<std::uint32_t> palette;
    for (int i = 0; i < 64; ++i) palette.push_back(static_cast<std::uint32_t>(Sample(i, 0, 0) << 16 | i << 10 | i));
    GifFrame frame;
    frame.width = kWidth;
    frame.height = kHeight;
    frame.transparent = 5;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) frame.indexes.push_back(static_cast<std::uint8_t>(Sample(x, y, 0) % 64));
    return EncodeGif(kWidth, kHeight, palette, 0, {frame});
}

Bytes Bmp(const BmpVariant& variant) {
    ArgbPicture picture{kWidth, kHeight, {}};
    const Bytes rgba = Pixels(4);
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        // At most 2 (1 bit) or 16 opaque colours, so that the palettes hold them all.
        std::uint32_t argb =
            static_cast<std::uint32_t>(rgba[i + 3] << 24 | rgba[i] << 16 | rgba[i + 1] << 8 | rgba[i + 2]);
        if (variant.bitCount == 1)
            argb = rgba[i] & 0x80 ? 0xFFFFFFFF : 0xFF000000;
        else if (variant.bitCount <= 8)
            argb = 0xFF000000 | (argb & 0xC08080);
        picture.pixels.push_back(argb);
    }
    return EncodeBmpVariant(picture, variant);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_pictures DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = true;
    const struct {
        int type;
        std::vector<int> depths;
    } pngs[] = {{0, {1, 2, 4, 8, 16}}, {2, {8, 16}}, {3, {1, 2, 4, 8}}, {4, {8, 16}}, {6, {8, 16}}};
    for (const auto& png : pngs)
        for (int depth : png.depths)
            ok &= Write(dir, "png-" + std::to_string(png.type) + "-" + std::to_string(depth) + ".png",
                        Png(png.type, depth));
    ok &= Write(dir, "png-interlaced.png", Png(6, 8, true));
    ok &= Write(dir, "large.png", Png(6, 8, false, 257, 259));
    ok &= Write(dir, "jpeg-baseline.jpg", Jpeg(3, false));
    ok &= Write(dir, "jpeg-progressive.jpg", Jpeg(3, true));
    ok &= Write(dir, "jpeg-cmyk.jpg", Jpeg(4, false));
    ok &= Write(dir, "jpeg-exif-6.jpg", Jpeg(3, false, ExifBlock(6, true)));
    ok &= Write(dir, "webp-lossy.webp", EncodeWebp(kWidth, kHeight, Pixels(3), false, 75));
    ok &= Write(dir, "webp-lossless.webp", EncodeWebp(kWidth, kHeight, Pixels(4), true));
    ok &= Write(dir, "webp-lossy-alpha.webp", EncodeWebp(kWidth, kHeight, Pixels(4), true, 60));
    ok &= Write(dir, "gif-transparent.gif", Gif());
    const BmpVariant bmps[] = {
        {12, 24, BmpStorage::Plain, {}, false},
        {64, 8, BmpStorage::Plain, {}, false},
        {40, 1, BmpStorage::Plain, {}, false},
        {40, 4, BmpStorage::Rle, {}, false},
        {40, 8, BmpStorage::Rle, {}, false},
        {40, 16, BmpStorage::Plain, {}, true},
        {40, 16, BmpStorage::BitFields, {0xF800, 0x07E0, 0x001F, 0}, false},
        {40, 32, BmpStorage::Plain, {}, false},
        {56, 32, BmpStorage::AlphaBitFields, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, false},
        {108, 24, BmpStorage::Plain, {}, true},
        {124, 32, BmpStorage::BitFields, {0xFF000000, 0xFF0000, 0xFF00, 0}, false},
    };
    for (const BmpVariant& variant : bmps)
        ok &= Write(dir,
                    "bmp-" + std::to_string(variant.headerSize) + "-" + std::to_string(variant.bitCount) + "-" +
                        std::to_string(static_cast<int>(variant.storage)) + (variant.topDown ? "-top" : "") + ".bmp",
                    Bmp(variant));
    if (!ok) std::fprintf(stderr, "write_pictures: cannot write into %s\n", argv[1]);
    return ok ? 0 : 1;
}
