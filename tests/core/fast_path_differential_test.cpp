// Short cuts must give what the plain way gives: the palette builder's and the
// nearest-colour search's what a walk over every node or entry gives, and resampling
// at the source's own size what the general resampler gives for the same footprints.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>

#include "image/dib.h"
#include "image/nearest_colour.h"
#include "image/octree_node.h"

using namespace zentro;

namespace {

// The palette by the plain algorithm: every fold found by walking the tree from the root.
void PlainPalette(const CDib& source, PaletteEntry* table) {
    COctreeNode root;
    std::uint16_t count = 0;
    for (int x = 0; x < source.Width(); ++x) {
        for (int y = 0; y < source.Height(); ++y) {
            std::uint8_t c[3];
            source.GetPixel(x, y, c);
            COctreeNode* node = &root;
            bool created = false;
            for (int depth = 0; depth < 6 && !node->leaf; ++depth) {
                const int bit = 7 - depth;
                const int i = ((c[0] >> bit) & 1) | (((c[1] >> bit) & 1) << 1) | (((c[2] >> bit) & 1) << 2);
                created = node->children[i] == nullptr;
                if (created) {
                    node->children[i] = std::make_unique<COctreeNode>();
                    for (int k = 0; k < 3; ++k) node->children[i]->colour[k] = c[k] & (1 << bit);
                    if (depth == 5) node->children[i]->leaf = true;
                }
                node = node->children[i].get();
            }
            count += created && node->leaf ? 1 : 0;
            for (int level = 6; count > kMaxOctreeColours && !root.Reduce(level, count, 0);) --level;
        }
    }
    int next = 8;
    root.CollectColours(next, table, nullptr);
}

// Pictures that fold at every depth: wide noise, narrow noise, and smooth ramps.
void DrawTestPicture(CDib& dib, int kind, std::mt19937& random) {
    ASSERT_TRUE(dib.Create(61, 47, 24));
    for (int y = 0; y < dib.Height(); ++y) {
        for (int x = 0; x < dib.Width(); ++x) {
            std::uint8_t c[3];
            for (int k = 0; k < 3; ++k) {
                const unsigned noise = random();
                c[k] = static_cast<std::uint8_t>(kind == 0   ? noise
                                                 : kind == 1 ? 96 + noise % 40
                                                             : (x * (k + 3) + y * (5 - k) + noise % 9) % 256);
            }
            dib.SetPixel(x, y, c);
        }
    }
}

}  // namespace

TEST(FastPathDifferential, PaletteIsThePlainWalksPalette) {
    std::mt19937 random(7);
    for (int round = 0; round < 12; ++round) {
        CDib source, target;
        DrawTestPicture(source, round % 3, random);
        ASSERT_TRUE(target.Create(source.Width(), source.Height(), 8));
        source.BuildPalette(target, false);
        PaletteEntry plain[256] = {};
        PlainPalette(source, plain);
        for (int i = 8; i < 248; ++i) {
            const PaletteEntry& e = target.ColourTable()[i];
            ASSERT_TRUE(e.red == plain[i].red && e.green == plain[i].green && e.blue == plain[i].blue)
                << "round " << round << ", entry " << i;
        }
    }
}

TEST(FastPathDifferential, NearestColourIsTheLinearSearchsChoice) {
    std::mt19937 random(11);
    for (int round = 0; round < 20; ++round) {
        // Few distinct colours, many repeated: as in the table of a small keyed picture.
        PaletteEntry table[256] = {};
        const int distinct = 1 + round * 12;
        for (int i = 0; i < 256; ++i) {
            if (random() % 3 == 0) continue;  // stays black
            std::mt19937 pick(static_cast<unsigned>(random() % distinct));
            table[i] = {static_cast<std::uint8_t>(pick()), static_cast<std::uint8_t>(pick()),
                        static_cast<std::uint8_t>(pick()), 0};
        }
        const int count = round % 2 == 0 ? 256 : 16;
        const NearestColour nearest(table, count);
        for (int n = 0; n < 2000; ++n) {
            const std::uint8_t c[3] = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                                       static_cast<std::uint8_t>(random())};
            int best = 1 << 30, chosen = -1;
            for (int i = 0; i < count; ++i) {
                const int d =
                    std::abs(table[i].red - c[0]) + std::abs(table[i].green - c[1]) + std::abs(table[i].blue - c[2]);
                if (d <= best) best = d, chosen = i;
            }
            ASSERT_EQ(nearest.Find(c), chosen) << "round " << round;
        }
    }
}

// Doubling a picture puts every even target pixel over one whole source pixel of weight
// 1, as at its own size, but through the general resampler.
TEST(FastPathDifferential, OwnSizeIsWhatEveryOtherPixelOfTheDoubleSizeIs) {
    std::mt19937 random(5);
    CDib source;
    ASSERT_TRUE(source.Create(37, 29, 24));
    const std::uint8_t key[3] = {255, 0, 255};
    for (int y = 0; y < source.Height(); ++y) {
        for (int x = 0; x < source.Width(); ++x) {
            const std::uint8_t noise[3] = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                                           static_cast<std::uint8_t>(random())};
            source.SetPixel(x, y, (x * x + 3 * y) % 7 < 3 || y < 2 ? key : noise);
        }
    }
    for (int keyMode = 0; keyMode < 3; ++keyMode) {
        CDib keyMask;
        ASSERT_TRUE(source.BuildKeyMask(keyMask, keyMode));
        for (int mode = 0; mode < 3; ++mode) {
            SCOPED_TRACE(::testing::Message() << "key mode " << keyMode << ", mode " << mode);
            CDib own, ownMask, twice, twiceMask;
            ASSERT_TRUE(source.Resample(own, 37, 29, mode, keyMask, ownMask));
            ASSERT_TRUE(source.Resample(twice, 74, 58, mode, keyMask, twiceMask));
            int partial = 0;
            for (int y = 0; y < 29; ++y) {
                for (int x = 0; x < 37; ++x) {
                    std::uint8_t a[3], b[3];
                    own.GetPixel(x, y, a);
                    twice.GetPixel(2 * x, 2 * y, b);
                    ASSERT_TRUE(a[0] == b[0] && a[1] == b[1] && a[2] == b[2]) << x << ", " << y;
                    ASSERT_EQ(ownMask.GetMaskBit(x, y), twiceMask.GetMaskBit(2 * x, 2 * y)) << x << ", " << y;
                    if (mode == 2) {
                        const std::uint8_t alpha = own.Pixels()[y * own.Stride() + 4 * x + 3];
                        ASSERT_EQ(alpha, twice.Pixels()[2 * y * twice.Stride() + 8 * x + 3]) << x << ", " << y;
                        partial += alpha != 0 && alpha != 255;
                    }
                }
            }
            if (keyMode == 2 && mode == 2) {
                EXPECT_GT(partial, 0) << "no partial keys compared";
            }
        }
    }
}
