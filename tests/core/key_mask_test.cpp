#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "image/dib.h"
#include "image/key_values.h"
#include "platform/pixel_memory.h"
#include "support/failing_new.h"

using namespace zentro;

namespace {

using Values = std::vector<int>;

// A key mask from key values given top row first, the way the tables read.
void MakeKeyMask(CDib& mask, int width, int height, const Values& topFirst) {
    ASSERT_EQ(topFirst.size(), static_cast<std::size_t>(width * height));
    ASSERT_TRUE(mask.Create(width, height, 24));
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t value[3] = {static_cast<std::uint8_t>(topFirst[row * width + x]), 0, 0};
            mask.SetPixel(x, height - 1 - row, value);
        }
    }
}

// Key values top row first; green and blue must stay 0 everywhere.
Values KeyValues(const CDib& mask) {
    Values values;
    for (int y = mask.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < mask.Width(); ++x) {
            const std::uint8_t* p = mask.PixelPtr24(x, y);
            EXPECT_EQ(p[0], 0) << "blue at " << x << "," << y;
            EXPECT_EQ(p[1], 0) << "green at " << x << "," << y;
            values.push_back(p[2]);
        }
    }
    return values;
}

Values Smoothed(int width, int height, const Values& input) {
    CDib mask;
    MakeKeyMask(mask, width, height, input);
    mask.SmoothKeyMask(0);
    mask.SmoothKeyMask(1);
    return KeyValues(mask);
}

// A 24-bit picture from a key table: 255 becomes the key colour, anything else another colour.
void PictureFromKeyTable(CDib& picture, int width, int height, const Values& topFirst) {
    ASSERT_TRUE(picture.Create(width, height, 24));
    const std::uint8_t key[3] = {10, 200, 30};
    const std::uint8_t other[3] = {10, 200, 31};
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            picture.SetPixel(x, height - 1 - row, topFirst[row * width + x] == 255 ? key : other);
        }
    }
}

const Values kStaircase = {0,   0,   0,   0,   0,   0,   0,   0,  //
                           0,   0,   0,   0,   0,   0,   0,   0,  //
                           255, 255, 255, 0,   0,   0,   0,   0,  //
                           255, 255, 255, 255, 255, 255, 255, 0,  //
                           255, 255, 255, 255, 255, 255, 255, 255};
const Values kStaircaseSmoothed = {127, 0,   0,   0,   0,   0,   0,   0,    //
                                   191, 127, 63,  0,   0,   0,   0,   0,    //
                                   255, 255, 255, 204, 153, 102, 51,  0,    //
                                   255, 255, 255, 255, 255, 255, 255, 127,  //
                                   255, 255, 255, 255, 255, 255, 255, 255};

const Values kColumnSteps = {0,   0,   0,   0,   0,    //
                             0,   0,   0,   0,   0,    //
                             0,   0,   0,   255, 255,  //
                             0,   0,   0,   255, 255,  //
                             0,   0,   255, 255, 255,  //
                             0,   255, 255, 255, 255,  //
                             0,   255, 255, 255, 255,  //
                             255, 255, 255, 255, 255};
const Values kColumnStepsAfterRows = {127, 0,   0,   0,   127,  //
                                      0,   0,   0,   85,  170,  //
                                      0,   0,   0,   255, 255,  //
                                      0,   0,   127, 255, 255,  //
                                      0,   127, 255, 255, 255,  //
                                      0,   255, 255, 255, 255,  //
                                      0,   255, 255, 255, 255,  //
                                      255, 255, 255, 255, 255};
const Values kColumnStepsSmoothed = {127, 0,   0,   0,   127,  //
                                     0,   0,   0,   85,  170,  //
                                     0,   0,   85,  255, 255,  //
                                     0,   0,   170, 255, 255,  //
                                     0,   127, 255, 255, 255,  //
                                     85,  255, 255, 255, 255,  //
                                     170, 255, 255, 255, 255,  //
                                     255, 255, 255, 255, 255};

}  // namespace

// --- the key mask ---

TEST(BuildKeyMask, KeysExactlyTheBottomLeftColour) {
    // Top-left (0, 0, 0) is the background; the key is the bottom-left colour (50, 60, 70).
    // Its neighbours in the table differ from it by 1 in a single channel each.
    CDib picture;
    ASSERT_TRUE(picture.Create(4, 3, 24));
    const std::uint8_t key[3] = {50, 60, 70};
    const std::uint8_t nearKeys[3][3] = {{51, 60, 70}, {50, 59, 70}, {50, 60, 71}};
    picture.SetPixel(0, 0, key);
    picture.SetPixel(3, 2, key);
    for (int i = 0; i < 3; ++i) picture.SetPixel(1 + i, 0, nearKeys[i]);

    CDib mask;
    ASSERT_TRUE(picture.BuildKeyMask(mask, 1));
    EXPECT_EQ(KeyValues(mask), (Values{0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 0}));
}

TEST(BuildKeyMask, ModeZeroKeysNothingAndClearsTheRowPadding) {
    CDib picture;
    ASSERT_TRUE(picture.Create(3, 2, 24));  // a single colour: with the key on, all of it would be keyed
    CDib mask;
    ASSERT_TRUE(mask.Create(5, 5, 24));
    for (std::uint32_t i = 0; i < mask.GetImageSize(); ++i) mask.Pixels()[i] = 0xEE;

    ASSERT_TRUE(picture.BuildKeyMask(mask, 0));
    ASSERT_EQ(mask.Width(), 3);
    ASSERT_EQ(mask.Height(), 2);
    ASSERT_EQ(mask.BitCount(), 24);
    ASSERT_EQ(mask.GetImageSize(), 24u);  // rows of 9 bytes padded to 12
    for (std::uint32_t i = 0; i < mask.GetImageSize(); ++i) EXPECT_EQ(mask.Pixels()[i], 0) << "byte " << i;
}

TEST(BuildKeyMask, SingleColourIsKeyedEverywhereWithPaddingLeftZero) {
    CDib picture;
    ASSERT_TRUE(picture.Create(3, 2, 24));
    const std::uint8_t colour[3] = {9, 8, 7};
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 2; ++y) picture.SetPixel(x, y, colour);
    for (int mode : {1, 2}) {
        CDib mask;
        ASSERT_TRUE(picture.BuildKeyMask(mask, mode));
        EXPECT_EQ(KeyValues(mask), Values(6, 255)) << "mode " << mode;
        for (int y = 0; y < 2; ++y)
            for (int i = 9; i < 12; ++i) EXPECT_EQ(mask.Row(y)[i], 0) << "padding of row " << y;
    }
}

TEST(BuildKeyMask, PlainModesLeaveOnlyOnAndOffWhereSmoothingRamps) {
    CDib picture;
    PictureFromKeyTable(picture, 8, 5, kStaircase);
    CDib mask;
    for (int mode : {1, 3, -1}) {  // any non-zero mode but 2 is the plain mask
        ASSERT_TRUE(picture.BuildKeyMask(mask, mode));
        EXPECT_EQ(KeyValues(mask), kStaircase) << "mode " << mode;
    }
    ASSERT_TRUE(picture.BuildKeyMask(mask, 2));
    EXPECT_EQ(KeyValues(mask), kStaircaseSmoothed);
}

TEST(BuildKeyMask, SmoothingModeRampsAlongRowsAndColumns) {
    // Both passes write here: either one alone leaves some of these values out.
    CDib picture;
    PictureFromKeyTable(picture, 5, 8, kColumnSteps);
    CDib mask;
    ASSERT_TRUE(picture.BuildKeyMask(mask, 2));
    EXPECT_EQ(KeyValues(mask), kColumnStepsSmoothed);
}

TEST(BuildKeyMask, FailsOnlyWhenTheMaskCannotBeMade) {
    CDib picture;
    ASSERT_TRUE(picture.Create(2, 2, 24));
    CDib mask;
    InjectAllocationFailure(1);
    EXPECT_FALSE(picture.BuildKeyMask(mask, 2));
    EXPECT_FALSE(mask.HasPicture());
    CDib empty;
    EXPECT_FALSE(empty.BuildKeyMask(mask, 1));
    EXPECT_FALSE(mask.HasPicture());
}

TEST(BuildKeyMask, WorkingMemoryThatCannotBeHadIsAFailureNotAnException) {
    // A disc on a keyed background, tall enough that its rows are shared among threads.
    CDib picture, expected;
    ASSERT_TRUE(picture.Create(90, 300, 24));
    const std::uint8_t key[3] = {255, 0, 255}, ink[3] = {20, 120, 40};
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 90; ++x)
            picture.SetPixel(x, y, (x - 45) * (x - 45) + (y - 150) * (y - 150) < 40 * 40 ? ink : key);
    ASSERT_TRUE(picture.BuildKeyMask(expected, 2));

    bool succeeded = false;
    for (unsigned nth = 1; nth < 200 && !succeeded; ++nth) {
        CDib mask;
        bool made = false;
        {
            zentro::test::ScopedFailingNew failing(nth);
            EXPECT_NO_THROW(made = picture.BuildKeyMask(mask, 2)) << "allocation " << nth;
        }
        if (!made) continue;
        succeeded = true;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 90; ++x)
                ASSERT_EQ(mask.PixelPtr24(x, y)[0], expected.PixelPtr24(x, y)[0]) << x << "," << y;
    }
    EXPECT_TRUE(succeeded);
}

// --- edge smoothing ---

TEST(SmoothKeyMask, StaircaseAlongRowsIsRampedByTheRowPassAlone) {
    CDib mask;
    MakeKeyMask(mask, 8, 5, kStaircase);
    mask.SmoothKeyMask(0);
    EXPECT_EQ(KeyValues(mask), kStaircaseSmoothed);
    mask.SmoothKeyMask(1);
    EXPECT_EQ(KeyValues(mask), kStaircaseSmoothed);
}

TEST(SmoothKeyMask, RoundedShapeGetsVShapesOnItsTopAndBottomLines) {
    const Values input = {255, 255, 255, 255, 255, 255, 255, 255, 255, 255,  //
                          255, 255, 255, 0,   0,   0,   0,   255, 255, 255,  //
                          255, 255, 0,   0,   0,   0,   0,   0,   255, 255,  //
                          255, 0,   0,   0,   0,   0,   0,   0,   0,   255,  //
                          255, 0,   0,   0,   0,   0,   0,   0,   0,   255,  //
                          255, 255, 0,   0,   0,   0,   0,   0,   255, 255,  //
                          255, 255, 255, 0,   0,   0,   0,   255, 255, 255,  //
                          255, 255, 255, 255, 255, 255, 255, 255, 255, 255};
    const Values expected = {255, 255, 255, 255, 255, 255, 255, 255, 255, 255,  //
                             255, 255, 255, 170, 85,  85,  170, 255, 255, 255,  //
                             255, 255, 127, 0,   0,   0,   0,   127, 255, 255,  //
                             255, 127, 0,   0,   0,   0,   0,   0,   127, 255,  //
                             255, 127, 0,   0,   0,   0,   0,   0,   127, 255,  //
                             255, 255, 127, 0,   0,   0,   0,   127, 255, 255,  //
                             255, 255, 255, 170, 85,  85,  170, 255, 255, 255,  //
                             255, 255, 255, 255, 255, 255, 255, 255, 255, 255};
    EXPECT_EQ(Smoothed(10, 8, input), expected);
}

TEST(SmoothKeyMask, ColumnPassRaisesWhatTheRowPassWrote) {
    CDib mask;
    MakeKeyMask(mask, 5, 8, kColumnSteps);
    mask.SmoothKeyMask(0);
    EXPECT_EQ(KeyValues(mask), kColumnStepsAfterRows);
    mask.SmoothKeyMask(1);
    EXPECT_EQ(KeyValues(mask), kColumnStepsSmoothed);
}

TEST(SmoothKeyMask, BorderCountsAsKeyedAndAsUnkeyed) {
    const Values input = {0,   0, 0, 0,  //
                          0,   0, 0, 0,  //
                          0,   0, 0, 0,  //
                          255, 0, 0, 0};
    const Values expected = {127, 0,   0, 0,  //
                             0,   0,   0, 0,  //
                             127, 0,   0, 0,  //
                             255, 127, 0, 127};
    EXPECT_EQ(Smoothed(4, 4, input), expected);
}

TEST(SmoothKeyMask, StraightEdgesAreLeftAlone) {
    const Values allKeyed(5 * 4, 255);
    EXPECT_EQ(Smoothed(5, 4, allKeyed), allKeyed);

    // A keyed frame two wide around a 4 x 3 opaque block.
    Values frame(8 * 7, 255);
    for (int row = 2; row < 5; ++row)
        for (int x = 2; x < 6; ++x) frame[row * 8 + x] = 0;
    EXPECT_EQ(Smoothed(8, 7, frame), frame);
}

TEST(IsKeyState, OutsideIsBothAndOnly255IsKeyed) {
    CDib mask;
    MakeKeyMask(mask, 3, 2, {0, 0, 0, 0, 255, 254});
    for (std::uint8_t pass : {0, 1}) {
        for (bool keyed : {true, false}) {
            EXPECT_TRUE(mask.IsKeyState(-1, 0, pass, keyed));
            EXPECT_TRUE(mask.IsKeyState(0, -1, pass, keyed));
            EXPECT_TRUE(mask.IsKeyState(pass == 0 ? 3 : 2, 0, pass, keyed));  // past the end of the line
            EXPECT_TRUE(mask.IsKeyState(0, pass == 0 ? 2 : 3, pass, keyed));  // past the last line
        }
    }
    // Pass 0 names (x = position, y = line), pass 1 (x = line, y = position).
    EXPECT_TRUE(mask.IsKeyState(1, 0, 0, true));
    EXPECT_TRUE(mask.IsKeyState(0, 1, 1, true));
    EXPECT_FALSE(mask.IsKeyState(1, 0, 1, true));
    EXPECT_FALSE(mask.IsKeyState(1, 0, 0, false));
    // A ramp value, even the highest, is unkeyed.
    EXPECT_FALSE(mask.IsKeyState(2, 0, 0, true));
    EXPECT_TRUE(mask.IsKeyState(2, 0, 0, false));
}

TEST(IsRampStart, SetsTheCornerFlagWhateverItReturns) {
    CDib mask;
    MakeKeyMask(mask, 3, 3, Values(9, 255));
    bool corner = false;
    EXPECT_FALSE(mask.IsRampStart(1, 1, true, true, 0, corner));
    EXPECT_TRUE(corner);
    EXPECT_FALSE(mask.IsRampStart(1, 1, true, false, 0, corner));
    EXPECT_FALSE(corner);
}

TEST(WriteRamp, ValuesOfTheShortestRunsInBothPasses) {
    const Values rising[4] = {{127}, {85, 170}, {63, 127, 191}, {51, 102, 153, 204}};
    for (int n = 1; n <= 4; ++n) {
        for (bool falling : {false, true}) {
            Values ramp = rising[n - 1];
            if (falling) std::reverse(ramp.begin(), ramp.end());
            Values expected(6, 0);
            std::copy(ramp.begin(), ramp.end(), expected.begin() + 1);

            CDib row;
            MakeKeyMask(row, 6, 2, Values(12, 0));
            row.WriteRamp(1, 1, 1 + n, falling, 0);  // the top row, from column 1
            Values top = KeyValues(row);
            top.resize(6);
            EXPECT_EQ(top, expected) << "row, n = " << n << (falling ? " falling" : " rising");

            CDib column;
            MakeKeyMask(column, 1, 6, Values(6, 0));
            column.WriteRamp(0, 1, 1 + n, falling, 1);  // from stored row 1
            Values bottomUp = KeyValues(column);
            std::reverse(bottomUp.begin(), bottomUp.end());
            EXPECT_EQ(bottomUp, expected) << "column, n = " << n << (falling ? " falling" : " rising");
        }
    }
}

TEST(WriteRamp, OnlyRaisesValuesAndSkipsEmptyRuns) {
    CDib mask;
    MakeKeyMask(mask, 4, 1, {200, 0, 100, 9});
    mask.WriteRamp(0, 0, 3, false, 0);  // 63, 127, 191
    EXPECT_EQ(KeyValues(mask), (Values{200, 127, 191, 9}));
    mask.WriteRamp(0, 3, 3, false, 0);
    mask.WriteRamp(0, 3, 2, true, 0);
    EXPECT_EQ(KeyValues(mask), (Values{200, 127, 191, 9}));
}

// From the border, the key reaches only through 4-neighbours of its colour: the
// enclosed white pixels, and the one that touches a reached pixel diagonally,
// stay opaque; everything else is as the key that reaches everywhere has it.
TEST(BorderKey, ReachesOnlyThroughNeighboursOfTheKeyColour) {
    const std::vector<std::string> rows = {"wwwwwww", "wrrrrrw", "wrwrwrw", "wrrrrww", "wrrrwrw", "wrrrrrw", "wwwwwww"};
    CDib picture;
    ASSERT_TRUE(picture.Create(7, 7, 24));
    for (int row = 0; row < 7; ++row)
        for (int x = 0; x < 7; ++x) {
            const std::uint8_t white[3] = {255, 255, 255}, red[3] = {255, 0, 0};
            picture.SetPixel(x, 6 - row, rows[row][x] == 'w' ? white : red);
        }
    CDib everywhere, border;
    ASSERT_TRUE(BuildKeyPlane(picture, everywhere, 1));
    ASSERT_TRUE(BuildKeyPlane(picture, border, 1, true));
    int enclosed = 0;
    for (int row = 0; row < 7; ++row)
        for (int x = 0; x < 7; ++x) {
            const bool inside = (row == 2 && (x == 2 || x == 4)) || (row == 4 && x == 4);
            enclosed += inside;
            EXPECT_EQ(border.Row(6 - row)[x], inside ? 0 : everywhere.Row(6 - row)[x]) << x << "," << row;
        }
    EXPECT_EQ(enclosed, 3);
}

// Against a plain search from every border pixel, on noise where about half the pixels
// have the key colour: winding paths, enclosed pockets, rows wider than sixteen bytes.
TEST(BorderKey, MatchesASearchFromTheBorderOnNoise) {
    const int width = 61, height = 37;
    CDib picture;
    ASSERT_TRUE(picture.Create(width, height, 24));
    std::uint32_t state = 12345;
    const std::uint8_t key[3] = {9, 9, 9}, other[3] = {200, 9, 9};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const bool corner = (x == 0 || x == width - 1) && (y == 0 || y == height - 1);
            picture.SetPixel(x, y, corner || (state >> 24) < 140 ? key : other);
        }
    CDib border;
    ASSERT_TRUE(BuildKeyPlane(picture, border, 1, true));
    std::vector<std::uint8_t> reached(static_cast<std::size_t>(width) * height, 0);
    std::vector<std::pair<int, int>> todo;
    const auto visit = [&](int x, int y) {
        std::uint8_t colour[3];
        if (x < 0 || y < 0 || x >= width || y >= height || reached[y * width + x]) return;
        picture.GetPixel(x, y, colour);
        if (colour[0] != key[0] || colour[1] != key[1] || colour[2] != key[2]) return;
        reached[y * width + x] = 255;
        todo.emplace_back(x, y);
    };
    for (int x = 0; x < width; ++x) visit(x, 0), visit(x, height - 1);
    for (int y = 0; y < height; ++y) visit(0, y), visit(width - 1, y);
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        visit(x - 1, y), visit(x + 1, y), visit(x, y - 1), visit(x, y + 1);
    }
    int keyed = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            keyed += reached[y * width + x] != 0;
            ASSERT_EQ(border.Row(y)[x], reached[y * width + x]) << x << "," << y;
        }
    EXPECT_GT(keyed, width * 2);
    EXPECT_LT(keyed, width * height / 2);
}
