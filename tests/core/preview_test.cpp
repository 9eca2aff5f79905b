#include <gtest/gtest.h>

#include <vector>

#include "image/dib.h"
#include "platform/pixel_memory.h"

using namespace zentro;

namespace {

using Colour = std::vector<int>;

Colour ColourAt(const CDib& dib, int x, int y) {
    std::uint8_t c[3];
    dib.GetPixel(x, y, c);
    return {c[0], c[1], c[2]};
}

const Colour kWhite = {255, 255, 255};

}  // namespace

TEST(ComposePreview, BlendsThirtyTwoBitPixelsOntoWhiteByAlpha) {
    struct Case {
        std::uint8_t pixel[4];
        Colour shown;
    } cases[] = {
        {{0, 255, 100, 128}, {127, 255, 177}},
        {{0, 0, 0, 0}, kWhite},
        {{12, 34, 56, 0}, kWhite},
        {{12, 34, 56, 255}, {12, 34, 56}},
        {{200, 1, 0, 1}, {254, 254, 254}},
    };
    constexpr int count = static_cast<int>(std::size(cases));
    CDib image;
    ASSERT_TRUE(image.Create(count, 1, 32));
    CDib mask;
    ASSERT_TRUE(mask.Create(count, 1, 1));
    for (int i = 0; i < count; ++i) image.SetPixel(i, 0, cases[i].pixel);

    CDib preview;
    ASSERT_TRUE(image.ComposePreview(preview, mask));
    ASSERT_EQ(preview.BitCount(), 24);
    for (int i = 0; i < count; ++i) EXPECT_EQ(ColourAt(preview, i, 0), cases[i].shown) << "case " << i;
}

TEST(ComposePreview, MaskedPixelsAreWhiteAtEveryDepth) {
    const std::uint8_t colour[4] = {10, 20, 30, 255};
    for (std::uint8_t bits : {24, 32}) {
        CDib image;
        ASSERT_TRUE(image.Create(2, 3, bits));
        CDib mask;
        ASSERT_TRUE(mask.Create(2, 3, 1));
        for (int x = 0; x < 2; ++x)
            for (int y = 0; y < 3; ++y) image.SetPixel(x, y, colour);
        mask.SetMaskBit(1, 2, true);

        CDib preview;
        ASSERT_TRUE(image.ComposePreview(preview, mask));
        ASSERT_EQ(preview.Width(), 2);
        ASSERT_EQ(preview.Height(), 3);
        for (int x = 0; x < 2; ++x) {
            for (int y = 0; y < 3; ++y) {
                Colour expected = (x == 1 && y == 2) ? kWhite : Colour{10, 20, 30};
                EXPECT_EQ(ColourAt(preview, x, y), expected) << int(bits) << "-bit at " << x << "," << y;
            }
        }
    }
}

TEST(ComposePreview, IndexedImagesShowTheirPaletteColours) {
    for (std::uint8_t bits : {4, 8}) {
        CDib image;
        ASSERT_TRUE(image.Create(3, 1, bits));
        image.ColourTable()[0] = {1, 2, 3, 0};  // blue, green, red
        image.ColourTable()[5] = {40, 50, 60, 0};
        image.ColourTable()[9] = {70, 80, 90, 0};
        if (bits == 8) {
            image.Row(0)[0] = 5;
            image.Row(0)[1] = 9;
            image.Row(0)[2] = 9;
        } else {
            image.Row(0)[0] = 0x59;
            image.Row(0)[1] = 0x90;
        }
        CDib mask;
        ASSERT_TRUE(mask.Create(3, 1, 1));
        mask.SetMaskBit(2, 0, true);

        CDib preview;
        ASSERT_TRUE(image.ComposePreview(preview, mask));
        EXPECT_EQ(ColourAt(preview, 0, 0), (Colour{60, 50, 40})) << int(bits) << "-bit";
        EXPECT_EQ(ColourAt(preview, 1, 0), (Colour{90, 80, 70})) << int(bits) << "-bit";
        EXPECT_EQ(ColourAt(preview, 2, 0), kWhite) << int(bits) << "-bit";
    }
}

TEST(ComposePreview, ReplacesWhateverThePreviewHeldAndFailsWithoutMemory) {
    CDib image;
    ASSERT_TRUE(image.Create(2, 2, 24));
    CDib mask;
    ASSERT_TRUE(mask.Create(2, 2, 1));
    CDib preview;
    ASSERT_TRUE(preview.Create(7, 5, 8));
    ASSERT_TRUE(image.ComposePreview(preview, mask));
    EXPECT_EQ(preview.Width(), 2);
    EXPECT_EQ(preview.Height(), 2);
    EXPECT_EQ(preview.BitCount(), 24);
    EXPECT_EQ(ColourAt(preview, 1, 1), (Colour{0, 0, 0}));

    InjectAllocationFailure(1);
    EXPECT_FALSE(image.ComposePreview(preview, mask));
    EXPECT_FALSE(preview.HasPicture());
}
