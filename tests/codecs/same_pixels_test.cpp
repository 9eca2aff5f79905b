// The same pixels stored losslessly in each format decode to the very bytes
// that the classic reader makes of a 24-bit bitmap.
#include <gtest/gtest.h>

#include <cstring>

#include "codec_encoders.h"
#include "codecs/picture_decoder.h"
#include "support/bmp_builder.h"

using namespace zentro;
using namespace zentro::test;

TEST(SamePixels, EveryLosslessFormatGivesTheClassicBitmapsBytes) {
    // An odd width, so that bitmap rows are padded; few enough colours for one GIF palette.
    const int w = 13, h = 20;
    std::vector<std::uint32_t> palette, colours;
    std::vector<std::uint8_t> indexes, rgb;
    for (int i = 0; i < 40; ++i) palette.push_back(static_cast<std::uint32_t>(i * 0x061B2D + 0x10) & 0xFFFFFF);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            indexes.push_back(static_cast<std::uint8_t>((x * 3 + y * 7) % palette.size()));
            const std::uint32_t c = palette[indexes.back()];
            colours.push_back(c);
            rgb.insert(rgb.end(), {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)});
        }
    TempDir dir;
    const std::vector<std::uint8_t> bmp = Encode24(w, h, colours);
    WriteFile(dir / "classic.bmp", bmp);
    CDib classic;
    ASSERT_TRUE(classic.Load(dir / "classic.bmp"));

    PngLayout png;
    png.width = w;
    png.height = h;
    png.samples = rgb;
    PngLayout interlacedPng = png;
    interlacedPng.interlaced = true;
    GifFrame frame;
    frame.width = w;
    frame.height = h;
    frame.indexes = indexes;
    GifFrame interlacedFrame = frame;
    interlacedFrame.interlaced = true;
    const struct {
        const char* name;
        std::vector<std::uint8_t> file;
    } files[] = {
        {"BMP", bmp},
        {"PNG", EncodePng(png)},
        {"interlaced PNG", EncodePng(interlacedPng)},
        {"lossless WebP", EncodeWebp(w, h, rgb, false)},
        {"GIF", EncodeGif(w, h, palette, 0, {frame})},
        {"interlaced GIF", EncodeGif(w, h, palette, 0, {interlacedFrame})},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        Picture picture;
        ASSERT_EQ(codecs::DecodePicture(f.file.data(), f.file.size(), picture), 0u);
        EXPECT_FALSE(picture.HasAlpha());
        ASSERT_EQ(picture.colour.Width(), w);
        ASSERT_EQ(picture.colour.Height(), h);
        ASSERT_EQ(picture.colour.Stride(), classic.Stride());
        EXPECT_EQ(0, std::memcmp(picture.colour.Pixels(), classic.Pixels(), classic.GetImageSize()));
    }
}
