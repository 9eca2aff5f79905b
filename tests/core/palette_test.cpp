#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <new>
#include <set>
#include <tuple>
#include <vector>

#include "image/dib.h"
#include "support/failing_new.h"

using namespace zentro;
using namespace zentro::test;

namespace {

struct Rgb {
    int r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
    friend bool operator<(const Rgb& p, const Rgb& q) { return std::tie(p.r, p.g, p.b) < std::tie(q.r, q.g, q.b); }
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << "," << c.g << "," << c.b << ")";
}

const Rgb kFixed[16] = {{0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
                        {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
                        {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};

// A one-row picture: pixels reach the tree in the order given.
void MakeRow(CDib& source, const std::vector<Rgb>& colours) {
    ASSERT_TRUE(source.Create(static_cast<int>(colours.size()), 1, 24));
    for (std::size_t x = 0; x < colours.size(); ++x) {
        const std::uint8_t c[3] = {static_cast<std::uint8_t>(colours[x].r), static_cast<std::uint8_t>(colours[x].g),
                                   static_cast<std::uint8_t>(colours[x].b)};
        source.SetPixel(static_cast<int>(x), 0, c);
    }
}

Rgb Entry(const CDib& dib, int i) {
    const PaletteEntry& e = dib.ColourTable()[i];
    return {e.red, e.green, e.blue};
}

// Position of a colour in a depth-first walk of the tree: its six 3-bit child indices
// (bits 7 to 2; red lowest) read as one base-8 number.
std::uint32_t WalkOrder(const Rgb& c) {
    std::uint32_t key = 0;
    for (int bit = 7; bit >= 2; --bit)
        key = key * 8 + ((c.r >> bit) & 1) + ((c.g >> bit) & 1) * 2 + ((c.b >> bit) & 1) * 4;
    return key;
}

void ExpectOctreeEntries(const CDib& target, std::vector<Rgb> expected) {
    std::stable_sort(expected.begin(), expected.end(),
                     [](const Rgb& p, const Rgb& q) { return WalkOrder(p) < WalkOrder(q); });
    for (std::size_t i = 0; i < 240; ++i) {
        const Rgb want = i < expected.size() ? expected[i] : Rgb{0, 0, 0};
        ASSERT_EQ(Entry(target, static_cast<int>(8 + i)), want) << "entry " << 8 + i;
    }
    EXPECT_EQ(Entry(target, 248), kFixed[8]);  // no leaf spilled over the fixed colours
}

// 241 colours, no two under one node of depth 5 (bits 7..3 differ), all with bit 2 of blue set.
std::vector<Rgb> DistinctDepth5Colours(int n) {
    std::vector<Rgb> colours;
    for (int i = 0; i < n; ++i) colours.push_back({(i % 32) << 3, ((i / 32) % 32) << 3, 4});
    return colours;
}

}  // namespace

TEST(BuildPalette, FixedColoursSitAtTheEndsOfEveryPalette) {
    CDib source;
    MakeRow(source, {{10, 200, 30}, {255, 255, 255}});
    CDib four;
    ASSERT_TRUE(four.Create(2, 1, 4));
    four.ColourTable()[16].red = 99;
    source.BuildPalette(four, true);
    for (int f = 0; f < 16; ++f) EXPECT_EQ(Entry(four, f), kFixed[f]) << f;
    EXPECT_EQ(four.ColourTable()[16].red, 99);  // a 4-bit target gets no tree colours

    CDib eight;
    ASSERT_TRUE(eight.Create(2, 1, 8));
    source.BuildPalette(eight, false);
    for (int f = 0; f < 8; ++f) EXPECT_EQ(Entry(eight, f), kFixed[f]) << f;
    for (int f = 8; f < 16; ++f) EXPECT_EQ(Entry(eight, f + 240), kFixed[f]) << f;
}

TEST(BuildPalette, OneColourUpToItsLowBitsGivesOneEntryAndClearsTheRest) {
    CDib target;
    ASSERT_TRUE(target.Create(240, 1, 8));
    CDib many;
    MakeRow(many, DistinctDepth5Colours(240));
    many.BuildPalette(target, false);
    ASSERT_NE(Entry(target, 247), (Rgb{0, 0, 0}));  // all 240 entries taken

    // The same colour but for the two low bits of each channel, converted into the same target.
    CDib one;
    MakeRow(one, {{255, 130, 7}, {254, 129, 4}, {252, 131, 5}, {253, 128, 6}});
    one.BuildPalette(target, false);
    ExpectOctreeEntries(target, {{252, 128, 4}});
}

TEST(BuildPalette, UpTo240ColoursAreListedInWalkOrderUnfolded) {
    std::vector<Rgb> pixels;
    std::set<Rgb> distinct;
    std::uint32_t seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16 & 0xFF; };
    while (distinct.size() < 240) {
        Rgb c{static_cast<int>(next()), static_cast<int>(next()), static_cast<int>(next())};
        pixels.push_back(c);
        distinct.insert({c.r & 252, c.g & 252, c.b & 252});
    }
    // Low-bit variants of colours already seen must not make new entries.
    for (int i = 0; i < 60; ++i) pixels.push_back({pixels[i].r ^ 3, pixels[i].g ^ 1, pixels[i].b ^ 2});
    CDib source;
    MakeRow(source, pixels);
    CDib target;
    ASSERT_TRUE(target.Create(source.Width(), 1, 8));
    source.BuildPalette(target, false);
    ExpectOctreeEntries(target, std::vector<Rgb>(distinct.begin(), distinct.end()));
}

TEST(BuildPalette, The241stLeafFoldsTheFirstDepth5NodeWithTwoChildrenInWalkOrder) {
    std::vector<Rgb> colours = DistinctDepth5Colours(239);
    const Rgb early = colours[5];  // (40, 0, 4): before `late` in the walk
    const Rgb late = colours[70];  // (48, 16, 4)
    ASSERT_LT(WalkOrder(early), WalkOrder(late));
    // Second leaves under both nodes; the one under `late` comes last and is the 241st.
    colours.push_back({early.r | 4, early.g | 4, early.b});
    colours.push_back({late.r | 4, late.g, late.b});
    CDib source;
    MakeRow(source, colours);
    CDib target;
    ASSERT_TRUE(target.Create(source.Width(), 1, 8));
    source.BuildPalette(target, false);

    // `early`'s node takes the mean of its children's shares (0 and 4 in red and green, 4 and 4 in blue).
    std::vector<Rgb> expected = colours;
    expected.erase(expected.begin() + 239);
    expected[5] = {early.r | 2, early.g | 2, early.b};
    ExpectOctreeEntries(target, expected);
}

TEST(BuildPalette, WithoutADepth5NodeToFoldOneLevelUpIsFolded) {
    // 241 leaves, each alone under its depth-5 node. The first depth-4 node in the walk with
    // two or more children holds (0,0,4), (8,0,4) and (0,8,4): its children's shares are 0, 8, 0
    // in red, 0, 0, 8 in green and 0 in blue, so it becomes (8/3, 8/3, 0) = (2,2,0) - the blue
    // bit 2 below them is lost - and three leaves become one.
    std::vector<Rgb> colours = DistinctDepth5Colours(242);
    colours.erase(colours.begin() + 33);  // (8,8,4)
    CDib source;
    MakeRow(source, colours);
    CDib target;
    ASSERT_TRUE(target.Create(source.Width(), 1, 8));
    source.BuildPalette(target, false);

    std::vector<Rgb> expected{{2, 2, 0}};
    for (const Rgb& c : colours) {
        if (c.r >= 16 || c.g >= 16) expected.push_back(c);
    }
    ASSERT_EQ(expected.size(), 239u);
    ExpectOctreeEntries(target, expected);
}

TEST(BuildPalette, PixelsGoInColumnByColumn) {
    // Row 0 holds 240 colours and then `second`, row 1 the same but `first` in column 239.
    // Column by column, `first` is the 241st leaf and is folded with its sibling `base`;
    // `second` then ends at the folded node. Row by row it would be the other way round.
    std::vector<Rgb> row = DistinctDepth5Colours(240);
    const Rgb base = row[5];  // (40, 0, 4)
    const Rgb first{base.r | 4, base.g, base.b};
    const Rgb second{base.r, base.g | 4, base.b};
    row.push_back(second);
    CDib source;
    ASSERT_TRUE(source.Create(static_cast<int>(row.size()), 2, 24));
    for (int x = 0; x < source.Width(); ++x) {
        for (int y = 0; y < 2; ++y) {
            const Rgb c = y == 1 && x == 239 ? first : row[x];
            const std::uint8_t bytes[3] = {static_cast<std::uint8_t>(c.r), static_cast<std::uint8_t>(c.g),
                                           static_cast<std::uint8_t>(c.b)};
            source.SetPixel(x, y, bytes);
        }
    }
    CDib target;
    ASSERT_TRUE(target.Create(source.Width(), 2, 8));
    source.BuildPalette(target, false);

    std::vector<Rgb> expected = DistinctDepth5Colours(240);
    expected[5] = {base.r | 2, base.g, base.b};
    ExpectOctreeEntries(target, expected);
}

TEST(BuildPalette, AFailedNodeAllocationPassesOnAndLeavesOnlyTheFixedColours) {
    CDib source;
    MakeRow(source, {{200, 100, 50}});
    CDib target;
    ASSERT_TRUE(target.Create(1, 1, 8));
    target.ColourTable()[8].red = 77;
    {
        ScopedFailingNew failing(4);  // three nodes of the path exist by then
        EXPECT_THROW(source.BuildPalette(target, false), std::bad_alloc);
    }
    EXPECT_EQ(Entry(target, 7), kFixed[7]);
    EXPECT_EQ(Entry(target, 255), kFixed[15]);
    EXPECT_EQ(target.ColourTable()[8].red, 77);
}
