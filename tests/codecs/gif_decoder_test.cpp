// GIF files: the first frame on its logical screen, the transparent index, refusals.
#include <gtest/gtest.h>

#include "codec_encoders.h"
#include "codecs/gif_decoder.h"
#include "platform/string_table.h"

using namespace zentro;
using namespace zentro::test;

TEST(GifDecoder, TheFirstFrameLiesOnItsScreenWithItsTransparentIndex) {
    const std::vector<std::uint32_t> palette = {0x102030, 0xA0B0C0, 0xFF0000, 0x00FF00};
    const int w = 9, h = 7;
    GifFrame first;
    first.left = 3;
    first.top = 2;
    first.width = 4;
    first.height = 3;
    first.transparent = 1;
    first.indexes = {0, 1, 2, 3, 3, 2, 1, 0, 1, 1, 0, 2};
    GifFrame second;  // never shown: only the first frame counts
    second.width = w;
    second.height = h;
    second.indexes.assign(w * h, 3);
    Picture picture;
    ASSERT_EQ(DecodeBytes(EncodeGif(w, h, palette, 2, {first, second}), picture), 0u);
    ASSERT_TRUE(picture.HasAlpha());
    ASSERT_EQ(picture.colour.Width(), w);
    ASSERT_EQ(picture.colour.Height(), h);
    const std::vector<std::uint8_t> rgba = TopDownRgba(picture);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            const std::uint8_t* got = &rgba[(static_cast<std::size_t>(y) * w + x) * 4];
            const bool inFrame =
                x >= first.left && x < first.left + first.width && y >= first.top && y < first.top + first.height;
            // Outside the frame: transparent, in the screen's background colour (entry 2).
            const int index = inFrame ? first.indexes[(y - first.top) * first.width + x - first.left] : 2;
            const std::uint32_t c = palette[index];
            EXPECT_EQ(got[0], c >> 16);
            EXPECT_EQ(got[1], (c >> 8) & 0xFF);
            EXPECT_EQ(got[2], c & 0xFF);
            EXPECT_EQ(got[3], inFrame && index != first.transparent ? 255 : 0);
        }
}

TEST(GifDecoder, RefusesBrokenOversizedAndColourlessFiles) {
    GifFrame frame;
    frame.width = 30;
    frame.height = 20;
    for (int i = 0; i < 600; ++i) frame.indexes.push_back(static_cast<std::uint8_t>(i * 7 % 16));
    std::vector<std::uint32_t> palette(16);
    for (int i = 0; i < 16; ++i) palette[i] = static_cast<std::uint32_t>(i) * 0x111111;
    const std::vector<std::uint8_t> file = EncodeGif(30, 20, palette, 0, {frame});
    Picture picture;

    EXPECT_EQ(DecodeBytes(std::vector<std::uint8_t>(file.begin(), file.end() - 40), picture), 103u);
    EXPECT_FALSE(picture.colour.HasPicture());

    std::vector<std::uint8_t> huge = file;
    for (int at : {6, 7, 8, 9}) huge[at] = 0xFF;  // a 65535 x 65535 screen
    EXPECT_EQ(DecodeBytes(huge, picture), unsigned{IDS_PICTURE_TOO_LARGE});

    // No global table and the frame has none either.
    GifFrame one;
    one.indexes = {0};
    std::vector<std::uint8_t> colourless = EncodeGif(1, 1, {0, 0xFFFFFF}, 0, {one});
    colourless[10] &= 0x7F;                                              // the global table's flag off
    colourless.erase(colourless.begin() + 13, colourless.begin() + 19);  // and its two entries gone
    EXPECT_EQ(DecodeBytes(colourless, picture), 104u);
}
