#include <gtest/gtest.h>

#include "image/dib.h"
#include "platform/pixel_memory.h"

using namespace zentro;

TEST(DibStride, MatchesPaddingRulesAtEveryDepth) {
    struct Case {
        int width, bits;
        std::size_t stride;
    } cases[] = {{1, 1, 4},   {1, 4, 4},     {1, 8, 4},    {1, 24, 4}, {1, 32, 4},  {32, 1, 4}, {33, 1, 8},
                 {24, 4, 12}, {48, 24, 144}, {16, 24, 48}, {5, 8, 8},  {3, 24, 12}, {9, 4, 8}};
    for (const auto& c : cases) {
        CDib dib;
        ASSERT_TRUE(dib.Create(c.width, 2, static_cast<std::uint8_t>(c.bits)));
        EXPECT_EQ(dib.Stride(), c.stride) << c.width << "@" << c.bits;
    }
}

TEST(DibImageSize, OfA256SquareAtEveryDepth) {
    struct Case {
        int bits;
        std::uint32_t bytes;
    } cases[] = {{32, 262144}, {24, 196608}, {8, 65536}, {4, 32768}, {1, 8192}};
    for (const auto& c : cases) {
        CDib dib;
        ASSERT_TRUE(dib.Create(256, 256, static_cast<std::uint8_t>(c.bits)));
        EXPECT_EQ(dib.GetImageSize(), c.bytes);
    }
}

TEST(DibCreate, StartsZeroedWithPlainHeader) {
    CDib dib;
    ASSERT_TRUE(dib.Create(7, 3, 24));
    const BitmapHeader& h = dib.Header();
    EXPECT_EQ(h.size, 40u);
    EXPECT_EQ(h.planes, 1);
    EXPECT_EQ(h.compression, 0u);
    EXPECT_EQ(h.sizeImage, 0u);
    for (std::uint32_t i = 0; i < dib.GetImageSize(); ++i) ASSERT_EQ(dib.Pixels()[i], 0);
}

TEST(DibCreate, RefusesWhatCannotBeHeld) {
    CDib dib;
    EXPECT_FALSE(dib.Create(0, 5, 24));
    EXPECT_FALSE(dib.Create(5, -1, 24));
    EXPECT_FALSE(dib.Create(16385, 16384, 8));   // one column more than the largest picture
    EXPECT_FALSE(dib.Create(65536, 65536, 32));  // 16 GiB of pixels would wrap a 32-bit size
    EXPECT_FALSE(dib.HasPicture());
    EXPECT_EQ(dib.Width(), 65536);  // a failed create keeps the requested header
}

TEST(DibCreate, FailsWhenMemoryRunsOut) {
    CDib dib;
    InjectAllocationFailure(1);
    EXPECT_FALSE(dib.Create(4, 4, 24));
    EXPECT_FALSE(dib.HasPicture());
    EXPECT_TRUE(dib.Create(4, 4, 24));
}

TEST(DibCreate, RecreatingKeepsPaletteAndReplacesPixels) {
    CDib dib;
    ASSERT_TRUE(dib.Create(4, 4, 8));
    dib.ColourTable()[3].red = 77;
    dib.Row(0)[0] = 9;
    ASSERT_TRUE(dib.Create(4, 4, 8));
    EXPECT_EQ(dib.ColourTable()[3].red, 77);
    EXPECT_EQ(dib.Row(0)[0], 0);
}

TEST(DibPixels, FourBitWritesOnlyItsNibble) {
    CDib dib;
    ASSERT_TRUE(dib.Create(8, 1, 4));
    dib.ColourTable()[6] = {0, 0, 200, 0};
    dib.Row(0)[2] = 0xAB;
    const std::uint8_t red[3] = {200, 0, 0};
    dib.SetPixel(5, 0, red);
    EXPECT_EQ(dib.Row(0)[2], 0xA6);
    dib.SetPixel(4, 0, red);
    EXPECT_EQ(dib.Row(0)[2], 0x66);
    std::uint8_t out[3];
    dib.GetPixel(4, 0, out);
    EXPECT_EQ(out[0], 200);
}

TEST(DibPixels, NearestEntryTieGoesToHigherIndexAndReportsItsColour) {
    CDib dib;
    ASSERT_TRUE(dib.Create(1, 1, 8));
    // Entries 10 and 20 are both at distance 10 from (100, 100, 100); every other entry is black.
    dib.ColourTable()[10] = {100, 100, 110, 0};
    dib.ColourTable()[20] = {90, 100, 100, 0};
    const std::uint8_t grey[3] = {100, 100, 100};
    std::uint8_t chosen[3] = {};
    dib.SetPixel(0, 0, grey, chosen);
    EXPECT_EQ(dib.Row(0)[0], 20);
    EXPECT_EQ(chosen[0], 100);
    EXPECT_EQ(chosen[2], 90);
}

TEST(DibPixels, OneBitIgnoresSetPixelButKeepsMaskBits) {
    CDib dib;
    ASSERT_TRUE(dib.Create(10, 2, 1));
    const std::uint8_t white[3] = {255, 255, 255};
    dib.SetPixel(3, 1, white);
    EXPECT_EQ(dib.Row(1)[0], 0);
    dib.SetMaskBit(0, 1, true);
    dib.SetMaskBit(9, 1, true);
    EXPECT_EQ(dib.Row(1)[0], 0x80);
    EXPECT_EQ(dib.Row(1)[1], 0x40);
    EXPECT_EQ(dib.GetMaskBit(9, 1), 1);
    EXPECT_EQ(dib.GetMaskBit(8, 1), 0);
    dib.SetMaskBit(0, 1, false);
    EXPECT_EQ(dib.Row(1)[0], 0);
    EXPECT_EQ(dib.GetMaskBit(9, 1), 1);
}

TEST(DibPixels, ThirtyTwoBitKeepsAlphaOutOfColour) {
    CDib dib;
    ASSERT_TRUE(dib.Create(3, 2, 32));
    const std::uint8_t in[4] = {10, 20, 30, 40};
    dib.SetPixel(2, 1, in);
    const std::uint8_t* p = dib.PixelPtr32(2, 1);
    EXPECT_EQ(p - dib.Pixels(), (1 * 3 + 2) * 4);
    EXPECT_EQ(p[0], 30);
    EXPECT_EQ(p[3], 40);
    std::uint8_t out[4] = {0, 0, 0, 99};
    dib.GetPixel(2, 1, out);
    EXPECT_EQ(out[0], 10);
    EXPECT_EQ(out[2], 30);
    EXPECT_EQ(out[3], 99);
}

TEST(DibPixels, ColourDistanceSpansBlackToWhite) {
    const std::uint8_t black[3] = {0, 0, 0}, white[3] = {255, 255, 255}, mixed[3] = {10, 250, 3};
    EXPECT_EQ(CDib::ColourDistance(black, white), 765);
    EXPECT_EQ(CDib::ColourDistance(white, mixed), 245 + 5 + 252);
}

TEST(DibSizes, PaletteSizeAndMinSide) {
    CDib dib;
    ASSERT_TRUE(dib.Create(5, 9, 4));
    EXPECT_EQ(dib.GetPaletteSize(), 64u);
    EXPECT_EQ(dib.GetMinSide(), 5);
    ASSERT_TRUE(dib.Create(9, 5, 8));
    EXPECT_EQ(dib.GetPaletteSize(), 1024u);
    EXPECT_EQ(dib.GetMinSide(), 5);
    ASSERT_TRUE(dib.Create(9, 5, 1));
    EXPECT_EQ(dib.GetPaletteSize(), 0u);
}
