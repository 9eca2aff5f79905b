#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "image/area_average.h"
#include "image/dib.h"
#include "platform/pixel_memory.h"
#include "support/failing_new.h"

using namespace zentro;

namespace {

using Rgb = std::array<int, 3>;

void Paint(CDib& dib, int width, int height, const std::function<Rgb(int, int)>& colourAt) {
    ASSERT_TRUE(dib.Create(width, height, 24));
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) {
            Rgb c = colourAt(x, y);
            const std::uint8_t bytes[3] = {std::uint8_t(c[0]), std::uint8_t(c[1]), std::uint8_t(c[2])};
            dib.SetPixel(x, y, bytes);
        }
}

// A key mask holds its key value in the red channel.
void PaintKeys(CDib& mask, int width, int height, const std::function<int(int, int)>& keyAt) {
    Paint(mask, width, height, [&](int x, int y) { return Rgb{keyAt(x, y), 0, 0}; });
}

Rgb ColourAt(const CDib& dib, int x, int y) {
    std::uint8_t c[3];
    dib.GetPixel(x, y, c);
    return {c[0], c[1], c[2]};
}

int AlphaAt(const CDib& dib, int x, int y) { return dib.PixelPtr32(x, y)[3]; }

// An uneven pattern so that a mixed-up column or row shows.
Rgb Pattern(int x, int y) { return {(x * 37 + y * 11) % 256, (x * 5 + y * 53 + 17) % 256, (x * y * 7 + 101) % 256}; }

}  // namespace

TEST(ResampleFootprint, ThreeColumnsToTwo) {
    // Column 0 of the target covers [0, 1.5), column 1 covers [1.5, 3).
    double w = 1.0;
    CDib::EdgeWeight(w, 0, 0, 0.0, 2, 1.5);
    EXPECT_EQ(w, 1.0);
    w = 1.0;
    CDib::EdgeWeight(w, 1, 0, 0.0, 2, 1.5);
    EXPECT_EQ(w, 0.5);
    w = 1.0;
    CDib::EdgeWeight(w, 1, 1, 1.5, 3, 3.0);
    EXPECT_EQ(w, 0.5);
    w = 1.0;
    CDib::EdgeWeight(w, 2, 1, 1.5, 3, 3.0);
    EXPECT_EQ(w, 1.0);

    CDib source, keys, target, mask;
    const Rgb columns[3] = {{30, 0, 240}, {90, 60, 0}, {210, 3, 6}};
    Paint(source, 3, 1, [&](int x, int) { return columns[x]; });
    PaintKeys(keys, 3, 1, [](int, int) { return 0; });
    ASSERT_TRUE(source.Resample(target, 2, 1, 0, keys, mask));
    EXPECT_EQ(ColourAt(target, 0, 0), (Rgb{50, 20, 160}));  // (c0 + c1 / 2) / 1.5
    EXPECT_EQ(ColourAt(target, 1, 0), (Rgb{170, 22, 4}));   // (c1 / 2 + c2) / 1.5
}

TEST(ResampleFootprint, SumsRunColumnByColumn) {
    // Floating-point sums depend on their order; adding row by row instead
    // would give blue 114 here, and icons must match byte for byte.
    CDib source, keys, target, mask;
    Paint(source, 7, 9, Pattern);
    PaintKeys(keys, 7, 9, [](int, int) { return 0; });
    ASSERT_TRUE(source.Resample(target, 3, 4, 0, keys, mask));
    EXPECT_EQ(ColourAt(target, 1, 0), (Rgb{118, 67, 115}));
}

TEST(ResampleEqualSizes, CopiesTheSourceInEveryMode) {
    CDib source, keys, target, mask;
    Paint(source, 7, 5, Pattern);
    auto keyed = [](int x, int y) { return (x + 2 * y) % 3 == 0; };
    PaintKeys(keys, 7, 5, [&](int x, int y) { return keyed(x, y) ? 255 : 0; });
    CDib noKeys;
    PaintKeys(noKeys, 7, 5, [](int, int) { return 0; });

    ASSERT_TRUE(source.Resample(target, 7, 5, 0, noKeys, mask));
    EXPECT_EQ(target.BitCount(), 24);
    for (int x = 0; x < 7; ++x)
        for (int y = 0; y < 5; ++y) {
            EXPECT_EQ(ColourAt(target, x, y), Pattern(x, y)) << x << "," << y;
            EXPECT_EQ(mask.GetMaskBit(x, y), 0);
        }

    ASSERT_TRUE(source.Resample(target, 7, 5, 1, keys, mask));
    for (int x = 0; x < 7; ++x)
        for (int y = 0; y < 5; ++y) {
            EXPECT_EQ(ColourAt(target, x, y), (keyed(x, y) ? Rgb{0, 0, 0} : Pattern(x, y))) << x << "," << y;
            EXPECT_EQ(mask.GetMaskBit(x, y), keyed(x, y) ? 1 : 0);
        }

    ASSERT_TRUE(source.Resample(target, 7, 5, 2, noKeys, mask));
    EXPECT_EQ(target.BitCount(), 32);
    for (int x = 0; x < 7; ++x)
        for (int y = 0; y < 5; ++y) {
            EXPECT_EQ(ColourAt(target, x, y), Pattern(x, y));
            EXPECT_EQ(AlphaAt(target, x, y), 255);  // nothing keyed: fully opaque
        }
}

TEST(ResampleHalving, EachPixelIsTheTruncatedMeanOfItsBlock) {
    for (int size : {8, 512}) {
        CDib source, keys, target, mask;
        Paint(source, size, size, Pattern);
        PaintKeys(keys, size, size, [](int, int) { return 0; });
        ASSERT_TRUE(source.Resample(target, size / 2, size / 2, 1, keys, mask));
        for (int i = 0; i < size / 2; ++i)
            for (int j = 0; j < size / 2; ++j) {
                Rgb expected;
                for (int c = 0; c < 3; ++c)
                    expected[c] = (Pattern(2 * i, 2 * j)[c] + Pattern(2 * i + 1, 2 * j)[c] +
                                   Pattern(2 * i, 2 * j + 1)[c] + Pattern(2 * i + 1, 2 * j + 1)[c]) /
                                  4;
                ASSERT_EQ(ColourAt(target, i, j), expected) << size << ": " << i << "," << j;
                ASSERT_EQ(mask.GetMaskBit(i, j), 0);
            }
    }
}

TEST(ResampleModeOne, HalfKeyedStaysOpaqueAndMoreThanHalfIsTransparent) {
    CDib source, keys, target, mask;
    const Rgb columns[4] = {{100, 50, 25}, {7, 8, 9}, {200, 201, 202}, {1, 2, 3}};
    Paint(source, 4, 1, [&](int x, int) { return columns[x]; });

    PaintKeys(keys, 4, 1, [](int x, int) { return x % 2 == 1 ? 255 : 0; });
    ASSERT_TRUE(source.Resample(target, 1, 1, 1, keys, mask));
    EXPECT_EQ(mask.GetMaskBit(0, 0), 0);
    EXPECT_EQ(ColourAt(target, 0, 0), (Rgb{150, 125, 113}));  // columns 0 and 2 only

    // Three of four keyed: transparent in mode 1, though not fully keyed.
    PaintKeys(keys, 4, 1, [](int x, int) { return x == 2 ? 0 : 255; });
    ASSERT_TRUE(source.Resample(target, 1, 1, 1, keys, mask));
    EXPECT_EQ(mask.GetMaskBit(0, 0), 1);
    EXPECT_EQ(ColourAt(target, 0, 0), (Rgb{0, 0, 0}));
    ASSERT_TRUE(source.Resample(target, 1, 1, 0, keys, mask));
    EXPECT_EQ(mask.GetMaskBit(0, 0), 0);
    EXPECT_EQ(ColourAt(target, 0, 0), (Rgb{200, 201, 202}));
}

TEST(ResampleModeTwo, AlphaFollowsTheKeyedShare) {
    CDib source, keys, target, mask;
    Paint(source, 2, 2, [](int x, int y) { return x == 1 && y == 1 ? Rgb{90, 180, 30} : Rgb{10, 20, 30}; });

    // One key value just below 255: still opaque in the mask, even at alpha 0.
    PaintKeys(keys, 2, 2, [](int x, int y) { return x == 1 && y == 1 ? 254 : 255; });
    ASSERT_TRUE(source.Resample(target, 1, 1, 2, keys, mask));
    EXPECT_EQ(AlphaAt(target, 0, 0), 0);
    EXPECT_EQ(mask.GetMaskBit(0, 0), 0);
    EXPECT_EQ(ColourAt(target, 0, 0), (Rgb{90, 180, 30}));

    // Half keyed: 127.5 truncates to 127.
    PaintKeys(keys, 2, 2, [](int x, int) { return x == 0 ? 255 : 0; });
    ASSERT_TRUE(source.Resample(target, 1, 1, 2, keys, mask));
    EXPECT_EQ(AlphaAt(target, 0, 0), 127);
    EXPECT_EQ(mask.GetMaskBit(0, 0), 0);
    EXPECT_EQ(ColourAt(target, 0, 0), (Rgb{50, 100, 30}));
}

TEST(ResampleFullyKeyed, IsBlackAndTransparentInEveryMode) {
    CDib source, keys, target, mask;
    Paint(source, 5, 5, Pattern);
    PaintKeys(keys, 5, 5, [](int, int) { return 255; });
    for (int mode : {0, 1, 2}) {
        ASSERT_TRUE(source.Resample(target, 3, 3, mode, keys, mask));
        for (int x = 0; x < 3; ++x)
            for (int y = 0; y < 3; ++y) {
                EXPECT_EQ(ColourAt(target, x, y), (Rgb{0, 0, 0})) << mode;
                EXPECT_EQ(mask.GetMaskBit(x, y), 1) << mode;
                if (mode == 2) {
                    EXPECT_EQ(AlphaAt(target, x, y), 0);
                }
            }
    }
}

TEST(ResampleUneven, LastFootprintStopsAtTheSourceEdge) {
    // 100 / 48 ends the last footprint exactly at 100, 100 / 24 a hair above it.
    // Column 100 of a row would be column 0 of the next. Only column 0 is
    // unkeyed, so even a sliver of it would make the last column opaque.
    CDib source, keys, target, mask;
    Paint(source, 100, 100, [](int x, int) { return x == 0 ? Rgb{255, 255, 255} : Rgb{9, 9, 9}; });
    PaintKeys(keys, 100, 100, [](int x, int) { return x == 0 ? 0 : 255; });
    for (int size : {48, 24}) {
        for (int mode : {0, 2}) {
            ASSERT_TRUE(source.Resample(target, size, size, mode, keys, mask));
            for (int y = 0; y < size; ++y) {
                EXPECT_EQ(mask.GetMaskBit(size - 1, y), 1) << size << ": " << y;
                EXPECT_EQ(ColourAt(target, size - 1, y), (Rgb{0, 0, 0}));
                EXPECT_EQ(mask.GetMaskBit(0, y), 0);
            }
        }
    }
}

TEST(ResampleUpscale, FootprintsInsideAndAcrossSourcePixels) {
    CDib source, keys, target, mask;
    Paint(source, 3, 1, [](int x, int) { return x == 0 ? Rgb{30, 0, 255} : Rgb{240, 120, 0}; });
    PaintKeys(keys, 3, 1, [](int, int) { return 0; });
    ASSERT_TRUE(source.Resample(target, 4, 1, 0, keys, mask));
    EXPECT_EQ(ColourAt(target, 0, 0), (Rgb{30, 0, 255}));   // inside column 0
    EXPECT_EQ(ColourAt(target, 1, 0), (Rgb{170, 80, 85}));  // a quarter of column 0, half of column 1
    EXPECT_EQ(ColourAt(target, 3, 0), (Rgb{240, 120, 0}));

    // The quotient is truncated, not rounded: where (255 w) / w falls a hair
    // below 255, white comes out as 254.
    Paint(source, 1, 1, [](int, int) { return Rgb{255, 255, 255}; });
    PaintKeys(keys, 1, 1, [](int, int) { return 0; });
    ASSERT_TRUE(source.Resample(target, 48, 48, 0, keys, mask));
    EXPECT_EQ(ColourAt(target, 0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(ColourAt(target, 0, 17), (Rgb{254, 254, 254}));
}

TEST(ResampleFailure, ImageOrMaskThatCannotBeCreated) {
    CDib source, keys, target, mask;
    Paint(source, 4, 4, Pattern);
    PaintKeys(keys, 4, 4, [](int, int) { return 0; });
    ASSERT_TRUE(mask.Create(9, 9, 1));
    mask.SetMaskBit(3, 3, true);

    InjectAllocationFailure(1);
    EXPECT_FALSE(source.Resample(target, 2, 2, 2, keys, mask));
    EXPECT_FALSE(target.HasPicture());
    ASSERT_TRUE(mask.HasPicture());  // the mask is left alone when the image fails
    EXPECT_EQ(mask.Width(), 9);
    EXPECT_EQ(mask.GetMaskBit(3, 3), 1);

    InjectAllocationFailure(2);
    EXPECT_FALSE(source.Resample(target, 2, 2, 2, keys, mask));
    EXPECT_TRUE(target.HasPicture());
    EXPECT_FALSE(mask.HasPicture());
    InjectAllocationFailure(0);
}

TEST(ResampleFailure, WorkingMemoryThatCannotBeHadIsAFailureNotAnException) {
    // Tall enough that the rows are shared among threads, each with rows of its own.
    CDib source, keys, expected, expectedMask;
    Paint(source, 40, 700, Pattern);
    PaintKeys(keys, 40, 700, [](int x, int y) { return (x * 7 + y) % 5 == 0 ? 255 : (x + y) % 3 == 0 ? 100 : 0; });
    ASSERT_TRUE(source.Resample(expected, 16, 48, 2, keys, expectedMask));

    bool succeeded = false;
    for (unsigned nth = 1; nth < 200 && !succeeded; ++nth) {
        CDib target, mask;
        bool made = false;
        {
            zentro::test::ScopedFailingNew failing(nth);
            EXPECT_NO_THROW(made = source.Resample(target, 16, 48, 2, keys, mask)) << "allocation " << nth;
        }
        if (!made) continue;
        succeeded = true;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 16; ++x) {
                ASSERT_EQ(AlphaAt(target, x, y), AlphaAt(expected, x, y)) << x << "," << y;
                ASSERT_EQ(mask.GetMaskBit(x, y), expectedMask.GetMaskBit(x, y)) << x << "," << y;
            }
    }
    EXPECT_TRUE(succeeded);
}

TEST(ResampleSaturation, SliverOfWeightDoesNotWrapABrightPixelToBlack) {
    // 80 rows to 48: target row 14 reaches 25.000000000000004, so stored row 25
    // enters with a weight of about 4e-15. The means at (5, 14) are
    // (259.775, 157.4, 256.75); they must saturate, not wrap to (3, 157, 0).
    CDib source, keys, target, mask;
    auto special = [](int x, int y) { return x == 7 && y == 25; };
    Paint(source, 61, 80, [&](int x, int y) { return special(x, y) ? Rgb{255, 154, 255} : Rgb{191, 136, 70}; });
    // The key mask with smoothing of this picture: the key colour is everywhere
    // but the one odd pixel, and a lone opaque pixel has no stepped edge to
    // smooth, so both passes leave the plain mask as it is.
    PaintKeys(keys, 61, 80, [&](int x, int y) { return special(x, y) ? 0 : 255; });

    ASSERT_TRUE(source.Resample(target, 48, 48, 2, keys, mask));
    EXPECT_EQ(ColourAt(target, 5, 14), (Rgb{255, 157, 255}));
    EXPECT_EQ(AlphaAt(target, 5, 14), 0);
    EXPECT_EQ(mask.GetMaskBit(5, 14), 0);
}

// Rounded means, halves up: a 2 x 2 block with two keyed pixels is half opaque
// (alpha 127.5 gives 128) in the mean of the other two; truncated, 127 and that mean's floor.
TEST(ResampleRounding, ThirtyTwoBitMeansRoundToTheNearestByte) {
    for (bool round : {false, true}) {
        CDib source, keys, target, mask;
        Paint(source, 16, 16, Pattern);
        PaintKeys(keys, 16, 16, [](int x, int) { return x % 2 ? 255 : 0; });
        ASSERT_TRUE(target.Create(8, 8, 32));
        ASSERT_TRUE(mask.Create(8, 8, 1));
        ResampleJob job;
        job.targets[job.count++] = {&target, &mask, 2, {KeySource::Kind::Mask, &keys}, round};
        AreaAverage(source, {job});
        for (int i = 0; i < 8; ++i)
            for (int j = 0; j < 8; ++j) {
                Rgb expected;
                for (int c = 0; c < 3; ++c)
                    expected[c] = (Pattern(2 * i, 2 * j)[c] + Pattern(2 * i, 2 * j + 1)[c] + (round ? 1 : 0)) / 2;
                ASSERT_EQ(ColourAt(target, i, j), expected) << round << ": " << i << "," << j;
                ASSERT_EQ(AlphaAt(target, i, j), round ? 128 : 127);
            }
    }
}
