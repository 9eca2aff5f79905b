// JPEG files against libjpeg-turbo's own decode, turned upright by their Exif
// orientation, and in Adobe's CMYK.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "codec_encoders.h"
#include "codecs/jpeg_decoder.h"
#include "platform/string_table.h"

using namespace zentro;
using namespace zentro::test;

namespace {

std::vector<std::uint8_t> Gradient(int width, int height, int components) {
    std::vector<std::uint8_t> samples;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < components; ++c) samples.push_back(static_cast<std::uint8_t>(x * 17 + y * 9 + c * 80));
    return samples;
}

std::array<std::uint8_t, 3> PixelFromTop(const Picture& picture, int x, int y) {
    const std::uint8_t* bgr = picture.colour.PixelPtr24(x, picture.colour.Height() - 1 - y);
    return {bgr[2], bgr[1], bgr[0]};
}

}  // namespace

TEST(JpegDecoder, GivesLibjpegTurbosOwnDecode) {
    const int w = 29, h = 19;
    for (int components : {3, 1})
        for (bool progressive : {false, true}) {
            SCOPED_TRACE(components * 10 + progressive);
            JpegLayout layout;
            layout.width = w;
            layout.height = h;
            layout.components = components;
            layout.progressive = progressive;
            layout.samples = Gradient(w, h, components);
            const std::vector<std::uint8_t> file = EncodeJpeg(layout);
            int refWidth = 0, refHeight = 0;
            const std::vector<std::uint8_t> reference = DecodeJpegWithLibjpeg(file, refWidth, refHeight);
            Picture picture;
            ASSERT_EQ(DecodeBytes(file, picture), 0u);
            EXPECT_FALSE(picture.HasAlpha());
            ASSERT_EQ(picture.colour.Width(), refWidth);
            ASSERT_EQ(picture.colour.Height(), refHeight);
            std::vector<std::uint8_t> rgb;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const auto p = PixelFromTop(picture, x, y);
                    rgb.insert(rgb.end(), p.begin(), p.end());
                }
            EXPECT_EQ(rgb, reference);
        }
}

TEST(JpegDecoder, ExifOrientationStandsThePictureUpright) {
    // Six flat 8 x 8 blocks, three across and two down, so every corner differs.
    const int w = 24, h = 16;
    const std::uint32_t blocks[2][3] = {{0xE01010, 0x10E010, 0x1010E0}, {0xE0E010, 0x10E0E0, 0xE010E0}};
    JpegLayout layout;
    layout.width = w;
    layout.height = h;
    layout.quality = 100;
    layout.fullChroma = true;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t c = blocks[y / 8][x / 8];
            layout.samples.insert(layout.samples.end(), {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)});
        }
    Picture stored;
    ASSERT_EQ(DecodeBytes(EncodeJpeg(layout), stored), 0u);
    enum Corner { TL, TR, BL, BR };
    auto storedCorner = [&](Corner c) {
        return PixelFromTop(stored, c == TL || c == BL ? 0 : w - 1, c < BL ? 0 : h - 1);
    };
    // Which stored corner each orientation shows top-left, top-right, bottom-left and bottom-right.
    const Corner shown[9][4] = {{},
                                {TL, TR, BL, BR},
                                {TR, TL, BR, BL},   // mirrored left to right
                                {BR, BL, TR, TL},   // turned half round
                                {BL, BR, TL, TR},   // mirrored top to bottom
                                {TL, BL, TR, BR},   // mirrored along the main diagonal
                                {BL, TL, BR, TR},   // to be turned a quarter clockwise
                                {BR, TR, BL, TL},   // mirrored along the other diagonal
                                {TR, BR, TL, BL}};  // to be turned a quarter anticlockwise
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        layout.app1 = ExifBlock(orientation, orientation % 2 == 0);
        Picture picture;
        ASSERT_EQ(DecodeBytes(EncodeJpeg(layout), picture), 0u);
        const bool turned = orientation >= 5;
        const int W = turned ? h : w, H = turned ? w : h;
        ASSERT_EQ(picture.colour.Width(), W);
        ASSERT_EQ(picture.colour.Height(), H);
        EXPECT_EQ(PixelFromTop(picture, 0, 0), storedCorner(shown[orientation][TL]));
        EXPECT_EQ(PixelFromTop(picture, W - 1, 0), storedCorner(shown[orientation][TR]));
        EXPECT_EQ(PixelFromTop(picture, 0, H - 1), storedCorner(shown[orientation][BL]));
        EXPECT_EQ(PixelFromTop(picture, W - 1, H - 1), storedCorner(shown[orientation][BR]));
    }
}

TEST(JpegDecoder, AdobeCmykAndYcckBecomeRgb) {
    // Adobe stores 255 for no ink: full magenta ink on no black, and half black alone.
    const int w = 16, h = 8;
    JpegLayout layout;
    layout.width = w;
    layout.height = h;
    layout.components = 4;
    layout.quality = 100;
    layout.fullChroma = true;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            layout.samples.insert(layout.samples.end(), x < 8
                                                            ? std::initializer_list<std::uint8_t>{255, 0, 255, 255}
                                                            : std::initializer_list<std::uint8_t>{255, 255, 255, 128});
    for (bool ycck : {false, true}) {
        SCOPED_TRACE(ycck);
        layout.ycck = ycck;
        Picture picture;
        ASSERT_EQ(DecodeBytes(EncodeJpeg(layout), picture), 0u);
        const std::array<int, 3> expected[2] = {{255, 0, 255}, {128, 128, 128}};
        for (int half = 0; half < 2; ++half) {
            const auto p = PixelFromTop(picture, 3 + 8 * half, 4);
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(p[c], expected[half][c], 3) << "half " << half << " channel " << c;
        }
    }
}

TEST(JpegDecoder, RefusesBrokenUnreadableAndOversizedFiles) {
    JpegLayout layout;
    layout.width = 40;
    layout.height = 30;
    layout.samples = Gradient(40, 30, 3);
    const std::vector<std::uint8_t> file = EncodeJpeg(layout);
    std::size_t sof = 2;
    while (!(file[sof] == 0xFF && file[sof + 1] == 0xC0)) ++sof;
    Picture picture;

    EXPECT_EQ(DecodeBytes(std::vector<std::uint8_t>(file.begin(), file.end() - 200), picture), 103u);
    EXPECT_FALSE(picture.colour.HasPicture());

    std::vector<std::uint8_t> lossless = file;
    lossless[sof + 1] = 0xC3;
    EXPECT_EQ(DecodeBytes(lossless, picture), 104u);

    std::vector<std::uint8_t> huge = file;
    for (int at : {5, 7}) {
        huge[sof + at] = 60000 >> 8;
        huge[sof + at + 1] = 60000 & 0xFF;
    }
    EXPECT_EQ(DecodeBytes(huge, picture), unsigned{IDS_PICTURE_TOO_LARGE});
}
