#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <vector>

#include "image/dib.h"
#include "platform/pixel_memory.h"
#include "support/failing_new.h"

using namespace zentro;
using namespace zentro::test;

// Most cases use shades of pure red against the 4-bit palette, where the only candidates are
// black (index 0), dark red 128 (index 1) and red 255 (index 9): a red value below 64 goes to
// black, 64 (a tie, the higher index wins) to 191 to dark red, 192 and above to red. Green and
// blue stay 0 and carry no error.

namespace {

struct Picture {
    CDib image;
    CDib mask;
};

// `rows` lists stored rows from row 0, each from column 0; reds[y][x] is pixel (x, y).
void MakeReds(Picture& picture, const std::vector<std::vector<int>>& rows) {
    const int width = static_cast<int>(rows[0].size());
    const int height = static_cast<int>(rows.size());
    ASSERT_TRUE(picture.image.Create(width, height, 24));
    ASSERT_TRUE(picture.mask.Create(width, height, 1));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t c[3] = {static_cast<std::uint8_t>(rows[y][x]), 0, 0};
            picture.image.SetPixel(x, y, c);
        }
    }
}

// Indices of the 4-bit conversion, by stored row from row 0.
std::vector<std::vector<int>> Indices(const Picture& picture) {
    CDib target;
    EXPECT_TRUE(picture.image.Quantize(target, true, picture.mask));
    std::vector<std::vector<int>> rows(target.Height(), std::vector<int>(target.Width()));
    for (int y = 0; y < target.Height(); ++y) {
        for (int x = 0; x < target.Width(); ++x) {
            const std::uint8_t byte = *target.PixelPtr4(x, y);
            rows[y][x] = x % 2 == 0 ? byte >> 4 : byte & 0x0F;
        }
    }
    return rows;
}

using Rows = std::vector<std::vector<int>>;

}  // namespace

TEST(Quantize, OnePixelWidePassesOnlyTheSameColumnShare) {
    // 32 -> black, error 32 x 0.28125 = 9 exactly: 55 + 9 = 64 -> dark red, error -64 x 0.28125 = -18:
    // 82 - 18 = 64 -> dark red. Any other share reaching the column moves one of the two ties.
    Picture p;
    MakeReds(p, {{32}, {55}, {82}});
    EXPECT_EQ(Indices(p), (Rows{{0}, {1}, {1}}));
}

TEST(Quantize, ClampsBeforeTheSearchAndPassesTheClampedError) {
    // 60 -> black; 250 + 16.875 is searched as 255 (red) and passes 255 - 255 = 0, so 63 stays
    // black (the unclamped 11.875 would bring it to 66, dark red).
    Picture high;
    MakeReds(high, {{60}, {250}, {63}});
    EXPECT_EQ(Indices(high), (Rows{{0}, {9}, {0}}));
    // 192 -> red, error -63 x 0.28125: 10 - 17.72 is searched as 0 and passes 0, so 64 stays dark red.
    Picture low;
    MakeReds(low, {{192}, {10}, {64}});
    EXPECT_EQ(Indices(low), (Rows{{9}, {0}, {1}}));
}

TEST(Quantize, TruncatesTheSearchedValueButPassesOnItsFraction) {
    // 25 -> black, 25 x 0.39375f = 9.84375 ahead: 54 + 9.84375 = 63.84375 is searched as 63
    // (black), its error 63.84375 x 0.39375f = 25.138 brings 39 to 64.138 -> dark red. From the
    // truncated 63 it would be 24.806 and 39 would stay black.
    Picture p;
    MakeReds(p, {{25, 54, 39}});
    EXPECT_EQ(Indices(p), (Rows{{0, 0, 1}}));
}

TEST(Quantize, RowsAlternateDirectionFromLeftToRightAtTheBottom) {
    // Row 0 is black: no error. Row 1 runs right to left: 25 -> black, 54 + 9.84 -> black,
    // 39 + 25.14 -> dark red. It leaves row 2 owed -14.37, 8.59, 17.80 (columns 0, 1, 2):
    //   col 0: 63.84375 x 0.05625 - 63.8615 x 0.28125
    //   col 1: 25 x 0.05625 + 63.84375 x 0.28125 - 63.8615 x 0.16875
    //   col 2: 25 x 0.28125 + 63.84375 x 0.16875
    // Row 2 runs left to right: 0 - 14.37 -> 0, black, error 0; 52 + 8.59 = 60.59 -> black,
    // error 60.59 x 0.39375 = 23.86 ahead; 0 + 17.80 + 23.86 -> black. Run right to left,
    // row 2's middle pixel would get 7 more and turn dark red; row 1 run left to right would
    // give black, dark red, black.
    Picture p;
    MakeReds(p, {{0, 0, 0}, {39, 54, 25}, {0, 52, 0}});
    EXPECT_EQ(Indices(p), (Rows{{0, 0, 0}, {1, 0, 0}, {0, 0, 0}}));
}

TEST(Quantize, EachShareGoesToItsOwnNeighbour) {
    // Row 0, left to right: 0 stays black. 68 -> dark red, error -60: -23.625 ahead to (2,0),
    // and to row 1 -16.875 at column 1, -3.375 ahead at column 2, -10.125 behind at column 0.
    // 255 - 23.625 = 231.375 -> red, error -23.625: -6.645 at column 2, -3.987 behind at column 1.
    // Row 1, right to left, owed -10.125, -20.862, -10.020:
    // 203 - 10.020 = 192.98 -> red, error -62.02, -24.42 ahead to (1,1);
    // 236 - 20.862 - 24.42 = 190.72 -> dark red, error 62.72, +24.70 ahead to (0,1);
    // 0 - 10.125 + 24.70 = 14.57 -> black.
    // Leaving out any one share, or giving one share another's weight, turns at least one of
    // these pixels; so does scanning row 1 the other way.
    Picture p;
    MakeReds(p, {{0, 68, 255}, {0, 236, 203}});
    EXPECT_EQ(Indices(p), (Rows{{0, 1, 9}, {0, 1, 9}}));
}

TEST(Quantize, MaskedPixelsTakeTheirNearestColourAndNoError) {
    // 25 -> black sends 9.84 ahead and 7.03 up; the masked 55 and 58 ignore it (they would
    // reach 64.84 and 65.03, dark red) and send nothing on (their errors would lift the last
    // pixels to 76.7 and 74.3, dark red).
    Picture row;
    MakeReds(row, {{25, 55, 55}});
    row.mask.SetMaskBit(1, 0, true);
    EXPECT_EQ(Indices(row), (Rows{{0, 0, 0}}));
    Picture column;
    MakeReds(column, {{25}, {58}, {58}});
    column.mask.SetMaskBit(0, 1, true);
    EXPECT_EQ(Indices(column), (Rows{{0}, {0}, {0}}));
    // Not dithered, but still the nearest entry: 200 is nearer red than dark red.
    Picture far;
    MakeReds(far, {{200}});
    far.mask.SetMaskBit(0, 0, true);
    EXPECT_EQ(Indices(far), (Rows{{9}}));
}

TEST(Quantize, PaletteColoursMapToThemselves) {
    // The 16 fixed colours, in table order, at 4 bits.
    const std::uint8_t fixed[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                       {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                       {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                       {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    Picture p;
    ASSERT_TRUE(p.image.Create(4, 4, 24));
    ASSERT_TRUE(p.mask.Create(4, 4, 1));
    for (int i = 0; i < 16; ++i) p.image.SetPixel(i % 4, i / 4, fixed[i]);
    const Rows indices = Indices(p);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(indices[i / 4][i % 4], i);

    // At 8 bits, colours whose channels are multiples of 4 are octree colours themselves.
    ASSERT_TRUE(p.image.Create(5, 3, 24));
    ASSERT_TRUE(p.mask.Create(5, 3, 1));
    for (int x = 0; x < 5; ++x) {
        for (int y = 0; y < 3; ++y) {
            const std::uint8_t c[3] = {static_cast<std::uint8_t>(40 * x + 4), static_cast<std::uint8_t>(84 * y),
                                       static_cast<std::uint8_t>(252 - 12 * x * y)};
            p.image.SetPixel(x, y, c);
        }
    }
    CDib eight;
    ASSERT_TRUE(p.image.Quantize(eight, false, p.mask));
    for (int x = 0; x < 5; ++x) {
        for (int y = 0; y < 3; ++y) {
            std::uint8_t want[3], got[3];
            p.image.GetPixel(x, y, want);
            eight.GetPixel(x, y, got);
            EXPECT_EQ(std::vector<int>(got, got + 3), std::vector<int>(want, want + 3)) << x << "," << y;
        }
    }
}

TEST(Quantize, EightBitBlackTakesTheHighestOfTheBlackEntries) {
    // Octree colours: black at 8, (100,100,100) at 9; entries 10 to 247 are cleared to black too.
    Picture p;
    ASSERT_TRUE(p.image.Create(2, 1, 24));
    ASSERT_TRUE(p.mask.Create(2, 1, 1));
    const std::uint8_t grey[3] = {100, 100, 100};
    p.image.SetPixel(1, 0, grey);
    CDib target;
    ASSERT_TRUE(p.image.Quantize(target, false, p.mask));
    EXPECT_EQ(target.Row(0)[0], 247);
    EXPECT_EQ(target.Row(0)[1], 9);
}

TEST(Quantize, FailsOnlyWhenTheTargetCannotBeCreated) {
    Picture p;
    MakeReds(p, {{10, 20}});
    CDib target;
    target.ColourTable()[1].red = 7;
    InjectAllocationFailure(1);
    EXPECT_FALSE(p.image.Quantize(target, true, p.mask));
    EXPECT_FALSE(target.HasPicture());
    EXPECT_EQ(target.ColourTable()[1].red, 7);  // no palette written either
}

TEST(Quantize, AllocationFailuresPassOnAndLeakNothing) {
    Picture p;
    MakeReds(p, {{10, 200}, {90, 30}});
    CDib target;
    {
        ScopedFailingNew failing(1);  // at 4 bits there is no tree: the first error row
        EXPECT_THROW(p.image.Quantize(target, true, p.mask), std::bad_alloc);
    }
    {
        ScopedFailingNew failing(3);  // an octree node
        EXPECT_THROW(p.image.Quantize(target, false, p.mask), std::bad_alloc);
    }
}
