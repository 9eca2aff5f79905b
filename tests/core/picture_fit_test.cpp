#include <gtest/gtest.h>

#include "job/picture_fit.h"

using namespace zentro;

// Padded, the shorter side is S x shorter / longer to the nearest pixel (at least
// one), from row or column (S - that) / 2 rounded down; stretched, the whole square.
TEST(PictureFit, PaddedContentAndItsPlace) {
    EXPECT_EQ(PlaceInSquare(720, 477, 256, Fit::Pad), (SquarePlace{0, 43, 256, 170}));
    EXPECT_EQ(PlaceInSquare(477, 720, 256, Fit::Pad), (SquarePlace{43, 0, 170, 256}));
    EXPECT_EQ(PlaceInSquare(3, 2, 5, Fit::Pad), (SquarePlace{0, 1, 5, 3}));  // 3.33 rounds to 3
    EXPECT_EQ(PlaceInSquare(4, 2, 5, Fit::Pad), (SquarePlace{0, 1, 5, 3}));  // 2.5 rounds up
    EXPECT_EQ(PlaceInSquare(1000, 1, 16, Fit::Pad), (SquarePlace{0, 7, 16, 1}));
    EXPECT_EQ(PlaceInSquare(50, 50, 16, Fit::Pad), (SquarePlace{0, 0, 16, 16}));
    EXPECT_EQ(PlaceInSquare(720, 477, 256, Fit::Stretch), (SquarePlace{0, 0, 256, 256}));
}

TEST(PictureFit, ContentGoesInWithClearMargins) {
    CDib content, contentMask, image, mask;
    ASSERT_TRUE(content.Create(4, 2, 32));
    ASSERT_TRUE(contentMask.Create(4, 2, 1));
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 2; ++y) {
            const std::uint8_t pixel[4] = {1, 2, 3, 255};
            content.SetPixel(x, y, pixel);
        }
    contentMask.SetMaskBit(3, 1, true);  // the content's own clear pixel stays clear
    ASSERT_TRUE(PutInSquare(content, contentMask, PlaceInSquare(4, 2, 4, Fit::Pad), 4, image, mask));
    // Rows from the top: 0 margin, 1 and 2 content, 3 margin; stored bottom-up.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool inside = y == 1 || y == 2;
            EXPECT_EQ(image.PixelPtr32(x, y)[3], inside ? 255 : 0) << x << "," << y;
            EXPECT_EQ(mask.GetMaskBit(x, y), !inside || (x == 3 && y == 2)) << x << "," << y;
        }
}
