// The conversions take shortcuts (whole-number runs added at once, the key masks of
// all sizes made once, 8-bit key masks searched eight values at a time, work shared
// among threads). These tests hold them against the plain definitions on pictures
// large enough that sums pass many binades: the resampler against a term-by-term
// reference kept here, and the builder against the public operations it stands for.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "identity/pictures_for_identity.h"
#include "image/image_set_builder.h"
#include "image/key_values.h"
#include "support/bmp_builder.h"
#include "support/message_recorder.h"

using namespace zentro;
using namespace zentro::test;

namespace {

std::uint32_t Next(std::uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 24;
}

// A picture of smooth gradients and noise, and a key mask where 0 and 255 come in
// patches (so that long whole-number runs occur) with partial values here and there.
void NoisyPicture(CDib& picture, int width, int height, std::uint32_t seed) {
    ASSERT_TRUE(picture.Create(width, height, 24));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Blue is flat on the left half: means of whole numbers show the last bit of a total.
            const std::uint8_t c[3] = {static_cast<std::uint8_t>(255 * x / width + (Next(seed) & 15)),
                                       static_cast<std::uint8_t>(255 * y / height),
                                       static_cast<std::uint8_t>(x < width / 2 ? 77 : Next(seed))};
            picture.SetPixel(x, y, c);
        }
    }
}

// Dim with a bright column now and then, so that one column's run of whole numbers
// carries a total across several binades at once; and one flat channel, whose means
// are whole numbers, so that the last bit of a total shows in the bytes.
void DimPictureWithBrightColumns(CDib& picture, int width, int height, std::uint32_t seed) {
    ASSERT_TRUE(picture.Create(width, height, 24));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t level = x % 11 == 5 ? 250 : static_cast<std::uint8_t>(8 + (y & 1));
            const std::uint8_t c[3] = {level, static_cast<std::uint8_t>(Next(seed)), 200};
            picture.SetPixel(x, y, c);
        }
    }
}

void PatchyKeyMask(CDib& mask, int width, int height, std::uint32_t seed) {
    ASSERT_TRUE(mask.Create(width, height, 24));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool keyedPatch = ((x / 23) + (y / 17)) % 3 == 0;
            const std::uint32_t n = Next(seed);
            const std::uint8_t value = n < 8 ? static_cast<std::uint8_t>(n * 31 + 1) : keyedPatch ? 255 : 0;
            const std::uint8_t key[3] = {value, 0, 0};
            mask.SetPixel(x, y, key);
        }
    }
}

// The resampler as written down: every target pixel, every source pixel under it,
// one term after another.
void ReferenceResample(const CDib& source, int width, int height, int mode, const CDib& keyMask,
                       std::vector<std::uint8_t>& pixels, std::vector<int>& transparent) {
    const auto saturated = [](double v) { return v >= 1.0 ? (v >= 255.0 ? 255 : static_cast<int>(v)) : 0; };
    const double sx = static_cast<double>(source.Width()) / width;
    const double sy = static_cast<double>(source.Height()) / height;
    pixels.assign(static_cast<std::size_t>(width) * height * 4, 0);
    transparent.assign(static_cast<std::size_t>(width) * height, 0);
    for (int i = 0; i < width; ++i) {
        const double x0 = i * sx, x1 = x0 + sx;
        const int xs = static_cast<int>(x0), xe = std::min(static_cast<int>(std::ceil(x1)), source.Width());
        for (int j = 0; j < height; ++j) {
            const double y0 = j * sy, y1 = y0 + sy;
            const int ys = static_cast<int>(y0), ye = std::min(static_cast<int>(std::ceil(y1)), source.Height());
            double sum[3] = {0, 0, 0}, opaque = 0, keyed = 0;
            bool fullyKeyed = true;
            for (int x = xs; x < xe; ++x) {
                for (int y = ys; y < ye; ++y) {
                    double w = 1.0;
                    CDib::EdgeWeight(w, x, xs, x0, xe, x1);
                    CDib::EdgeWeight(w, y, ys, y0, ye, y1);
                    std::uint8_t c[3], k[3];
                    source.GetPixel(x, y, c);
                    keyMask.GetPixel(x, y, k);
                    const double t = (k[0] * w) * (1.0 / 255.0);
                    const double o = w - t;
                    if (k[0] != 255) {
                        opaque += o;
                        fullyKeyed = false;
                    }
                    keyed += t;
                    for (int ch = 0; ch < 3; ++ch) sum[ch] += c[ch] * o;
                }
            }
            bool clear = fullyKeyed;
            int alpha = 0;
            if (mode != 0) {
                const double share = keyed / (keyed + opaque);
                if (mode == 1) clear = share > 0.5;
                if (mode == 2) alpha = saturated((1.0 - share) * 255);
            }
            std::uint8_t* out = &pixels[(static_cast<std::size_t>(j) * width + i) * 4];
            if (!clear) {
                for (int ch = 0; ch < 3; ++ch) out[ch] = static_cast<std::uint8_t>(saturated(sum[ch] / opaque));
                out[3] = static_cast<std::uint8_t>(alpha);
            }
            transparent[static_cast<std::size_t>(j) * width + i] = clear;
        }
    }
}

void ExpectLikeReference(const CDib& source, const CDib& keyMask, int width, int height, int mode) {
    SCOPED_TRACE(::testing::Message() << source.Width() << "x" << source.Height() << " to " << width << "x" << height
                                      << ", mode " << mode);
    CDib image, mask;
    ASSERT_TRUE(source.Resample(image, width, height, mode, keyMask, mask));
    std::vector<std::uint8_t> pixels;
    std::vector<int> transparent;
    ReferenceResample(source, width, height, mode, keyMask, pixels, transparent);
    int wrong = 0;
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i) {
            std::uint8_t c[3];
            image.GetPixel(i, j, c);
            const std::uint8_t* expected = &pixels[(static_cast<std::size_t>(j) * width + i) * 4];
            const bool same = c[0] == expected[0] && c[1] == expected[1] && c[2] == expected[2] &&
                              (mode != 2 || image.PixelPtr32(i, j)[3] == expected[3]) &&
                              mask.GetMaskBit(i, j) == transparent[static_cast<std::size_t>(j) * width + i];
            if (!same && ++wrong <= 3) ADD_FAILURE() << "pixel " << i << "," << j;
        }
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace

TEST(ResampleDefinition, LargeSourcesWithWholeAndPartialKeysInEveryMode) {
    CDib source, keyMask, plain, smooth;
    NoisyPicture(source, 701, 523, 5);
    PatchyKeyMask(keyMask, 701, 523, 6);
    ASSERT_TRUE(source.BuildKeyMask(plain, 1));
    ASSERT_TRUE(source.BuildKeyMask(smooth, 2));
    // Fractional footprints (48, 17 x 13), whole ones (701 / 1 columns), a target wider than the source.
    const int targets[][2] = {{48, 48}, {24, 24}, {33, 33}, {100, 37}, {17, 13}, {701, 1}, {1402, 3}};
    for (const auto& size : targets)
        for (int mode = 0; mode < 3; ++mode) ExpectLikeReference(source, keyMask, size[0], size[1], mode);
    for (const CDib* mask : {&plain, &smooth}) ExpectLikeReference(source, *mask, 24, 24, 2);
}

TEST(ResampleDefinition, TotalsCarriedAcrossSeveralBinadesAtOnce) {
    CDib source, keyMask;
    DimPictureWithBrightColumns(source, 389, 301, 13);
    PatchyKeyMask(keyMask, 389, 301, 14);
    // Footprints of one to two pixels (256) make runs that start from totals below 1.
    const int targets[][2] = {{20, 30}, {17, 29}, {23, 31}, {48, 48}, {256, 256}};
    CDib unkeyed;
    ASSERT_TRUE(source.BuildKeyMask(unkeyed, 0));
    for (const auto& size : targets) {
        for (int mode = 0; mode < 3; ++mode) ExpectLikeReference(source, keyMask, size[0], size[1], mode);
        ExpectLikeReference(source, unkeyed, size[0], size[1], 0);
    }
}

TEST(ResampleDefinition, WholeFootprintsAndTinyPictures) {
    CDib source, keyMask;
    NoisyPicture(source, 640, 480, 7);
    PatchyKeyMask(keyMask, 640, 480, 8);
    for (int mode = 0; mode < 3; ++mode) ExpectLikeReference(source, keyMask, 32, 16, mode);  // 20 x 30 pixels each

    CDib tiny, tinyKeys;
    NoisyPicture(tiny, 5, 3, 9);
    PatchyKeyMask(tinyKeys, 5, 3, 10);
    for (int mode = 0; mode < 3; ++mode) ExpectLikeReference(tiny, tinyKeys, 16, 16, mode);
}

// The builder's own 8-bit key masks hold exactly the values of BuildKeyMask's.
TEST(KeyPlane, HoldsTheValuesOfTheKeyMask) {
    TempDir dir;
    for (int width : {1, 7, 8, 9, 33, 250}) {
        CDib source;
        WriteFile(dir / "scene.bmp", SceneFile24(width, 61, 0xFF00FF, static_cast<std::uint32_t>(width)));
        ASSERT_TRUE(source.Load(dir / "scene.bmp"));
        for (int keyMode = 0; keyMode < 3; ++keyMode) {
            CDib mask, plane;
            ASSERT_TRUE(source.BuildKeyMask(mask, keyMode));
            ASSERT_TRUE(BuildKeyPlane(source, plane, keyMode));
            ASSERT_EQ(plane.BitCount(), 8);
            int differing = 0, partial = 0;
            for (int y = 0; y < source.Height(); ++y) {
                for (int x = 0; x < width; ++x) {
                    const int value = plane.Row(y)[x];
                    differing += value != mask.PixelPtr24(x, y)[2];
                    partial += value != 0 && value != 255;
                }
            }
            EXPECT_EQ(differing, 0) << width << " wide, key mode " << keyMode;
            if (keyMode == 2 && width > 8) {
                EXPECT_GT(partial, 0) << "no ramps to compare at width " << width;
            }
        }
    }
}

namespace {

// The images the builder's steps stand for, made with the public operations.
void ExpectBuiltLikeOperations(const CDib& source, const ImageStore& store, const FormatChoices& format, int t) {
    SCOPED_TRACE(::testing::Message() << "size index " << t);
    const int size = kSizeTable[t];
    const auto same = [](const CDib& a, const CDib& b) {
        return a.BitCount() == b.BitCount() && a.Width() == b.Width() && a.Height() == b.Height() &&
               std::equal(a.Pixels(), a.Pixels() + a.GetImageSize(), b.Pixels()) &&
               std::equal(a.ColourTable(), a.ColourTable() + a.GetPaletteSize() / 4, b.ColourTable(),
                          [](const PaletteEntry& p, const PaletteEntry& q) {
                              return p.red == q.red && p.green == q.green && p.blue == q.blue;
                          });
    };
    if (format.use24 + format.use4 + format.use8 != 0) {
        const int mode = format.transparent != 0 ? 1 : 0;
        CDib keyMask, image, mask, four, eight;
        ASSERT_TRUE(source.BuildKeyMask(keyMask, mode));
        ASSERT_TRUE(source.Resample(image, size, size, mode, keyMask, mask));
        EXPECT_TRUE(same(image, store.table24[t].image));
        EXPECT_TRUE(same(mask, store.table24[t].mask));
        if (format.use4 != 0) {
            ASSERT_TRUE(image.Quantize(four, true, mask));
            EXPECT_TRUE(same(four, store.paletteTable[t].image4));
        }
        if (format.use8 != 0) {
            ASSERT_TRUE(image.Quantize(eight, false, mask));
            EXPECT_TRUE(same(eight, store.paletteTable[t].image8));
        }
    }
    if (format.use32 != 0) {
        CDib keyMask, image, mask;
        ASSERT_TRUE(source.BuildKeyMask(keyMask, 2));
        ASSERT_TRUE(source.Resample(image, size, size, 2, keyMask, mask));
        EXPECT_TRUE(same(image, store.table32[t].image));
        EXPECT_TRUE(same(mask, store.table32[t].mask));
    }
}

}  // namespace

TEST(ImageSetDefinition, BuilderGivesWhatTheOperationsGive) {
    TempDir dir;
    WriteFile(dir / "scene.bmp", SceneFile24(611, 467, 0xFF00FF, 11));
    WriteFile(dir / "16.bmp", SceneFile24(40, 37, 0x0000FF, 12));
    const FormatChoices formats[] = {{1, 1, 1, 1, 1}, {1, 1, 1, 0, 1}, {1, 1, 1, 0, 0}, {0, 0, 0, 1, 1}};
    for (const FormatChoices& chosen : formats) {
        ImageStore store;
        MessageRecorder recorder;
        ASSERT_TRUE(store.source.Load(dir / "scene.bmp"));
        FormatChoices format = chosen;
        SizeChoices sizes;
        sizes.sizes = {1, 1, 1, 1, 1};
        sizes.onlyOne256 = 0;
        sizes.use16Bitmap = 1;
        sizes.bitmap16Path = dir / "16.bmp";
        ASSERT_TRUE(BuildImageSet(store, format, sizes));
        CDib bitmap16;
        ASSERT_TRUE(bitmap16.Load(sizes.bitmap16Path));
        for (int t = 0; t < kSizeCount; ++t)
            ExpectBuiltLikeOperations(t == 4 ? bitmap16 : store.source, store, format, t);
        EXPECT_TRUE(recorder.messages.empty());
        EXPECT_FALSE(store.keyMask.HasPicture());  // scratch, given back after the run
    }
}

// The nearest-entry search skips entries; it must pick what a look at every entry
// picks, the highest index among equally near ones included.
TEST(NearestEntryDefinition, PicksWhatALookAtEveryEntryPicks) {
    std::uint32_t seed = 21;
    for (int round = 0; round < 40; ++round) {
        CDib dib;
        ASSERT_TRUE(dib.Create(1, 1, 8));
        // Few distinct levels, so that many entries lie equally near.
        const int levels = round % 2 == 0 ? 4 : 256;
        for (int i = 0; i < 256; ++i) {
            PaletteEntry& e = dib.ColourTable()[i];
            e.red = static_cast<std::uint8_t>(Next(seed) % levels * (255 / (levels - 1)));
            e.green = static_cast<std::uint8_t>(Next(seed) % levels * (255 / (levels - 1)));
            e.blue = static_cast<std::uint8_t>(Next(seed) % levels * (255 / (levels - 1)));
        }
        for (int n = 0; n < 200; ++n) {
            const std::uint8_t colour[3] = {static_cast<std::uint8_t>(Next(seed)),
                                            static_cast<std::uint8_t>(Next(seed)),
                                            static_cast<std::uint8_t>(Next(seed))};
            for (int count : {16, 256}) {
                int expected = 0, best = 1000;
                for (int i = 0; i < count; ++i) {
                    const PaletteEntry& e = dib.ColourTable()[i];
                    const int d =
                        std::abs(e.red - colour[0]) + std::abs(e.green - colour[1]) + std::abs(e.blue - colour[2]);
                    if (d <= best) {
                        best = d;
                        expected = i;
                    }
                }
                ASSERT_EQ(dib.NearestEntry(colour, count), expected)
                    << "round " << round << ", " << count << " entries";
            }
        }
    }
}
