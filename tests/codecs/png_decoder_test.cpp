// PNG files in every colour type against libpng's own simplified reader.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "codec_encoders.h"
#include "codecs/png_decoder.h"
#include "platform/string_table.h"

using namespace zentro;
using namespace zentro::test;

namespace {

// Samples 0, 1, 2... masked to the bit depth, one byte per row start so rows differ.
std::vector<std::uint8_t> CountingSamples(std::size_t bytes, unsigned seed = 0) {
    std::vector<std::uint8_t> samples(bytes);
    for (std::size_t i = 0; i < bytes; ++i) samples[i] = static_cast<std::uint8_t>(i * 29 + seed * 7 + (i >> 3));
    return samples;
}

}  // namespace

TEST(PngDecoder, EveryEightBitKindMatchesLibpng) {
    const int w = 9, h = 6;
    std::vector<std::uint32_t> palette;
    for (int i = 0; i < 16; ++i) palette.push_back(static_cast<std::uint32_t>(i * 0x0F1F2F) & 0xFFFFFF);
    struct Case {
        const char* name;
        int colourType;
        int depth;
        int channels;
        bool withPalette;
        std::vector<std::uint8_t> paletteAlpha;
        std::vector<std::uint16_t> transparent;
        bool interlaced;
    };
    const Case cases[] = {
        {"palette 4-bit with tRNS", PNG_COLOR_TYPE_PALETTE, 4, 1, true, {0, 128, 255, 7}, {}, false},
        {"palette 2-bit", PNG_COLOR_TYPE_PALETTE, 2, 1, true, {}, {}, false},
        {"palette 1-bit, interlaced", PNG_COLOR_TYPE_PALETTE, 1, 1, true, {40}, {}, true},
        {"palette 8-bit with tRNS, interlaced", PNG_COLOR_TYPE_PALETTE, 8, 1, true, {9, 0, 200}, {}, true},
        {"grey 1-bit", PNG_COLOR_TYPE_GRAY, 1, 1, false, {}, {}, false},
        {"grey 2-bit", PNG_COLOR_TYPE_GRAY, 2, 1, false, {}, {}, false},
        {"grey 4-bit with tRNS", PNG_COLOR_TYPE_GRAY, 4, 1, false, {}, {13}, false},
        {"grey 8-bit", PNG_COLOR_TYPE_GRAY, 8, 1, false, {}, {}, true},
        {"grey + alpha", PNG_COLOR_TYPE_GRAY_ALPHA, 8, 2, false, {}, {}, false},
        {"RGB with tRNS", PNG_COLOR_TYPE_RGB, 8, 3, false, {}, {0, 29, 58}, false},
        {"RGBA", PNG_COLOR_TYPE_RGB_ALPHA, 8, 4, false, {}, {}, false},
        {"RGBA, interlaced", PNG_COLOR_TYPE_RGB_ALPHA, 8, 4, false, {}, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PngLayout layout;
        layout.width = w;
        layout.height = h;
        layout.colourType = c.colourType;
        layout.bitDepth = c.depth;
        layout.interlaced = c.interlaced;
        const std::size_t rowBytes = (static_cast<std::size_t>(w) * c.channels * c.depth + 7) / 8;
        layout.samples = CountingSamples(rowBytes * h);
        if (c.withPalette) {
            // Indexes past the palette must stay out: libpng refuses to write them.
            layout.palette.assign(palette.begin(), palette.begin() + (1 << std::min(c.depth, 4)));
            if (c.depth == 8)
                for (auto& s : layout.samples) s &= 0x0F;
        }
        layout.paletteAlpha = c.paletteAlpha;
        layout.transparentColour = c.transparent;
        const std::vector<std::uint8_t> file = EncodePng(layout);

        Picture picture;
        ASSERT_EQ(DecodeBytes(file, picture), 0u);
        const bool fileHasAlpha =
            c.channels == 2 || c.channels == 4 || !c.paletteAlpha.empty() || !c.transparent.empty();
        EXPECT_EQ(picture.HasAlpha(), fileHasAlpha);
        int refWidth = 0, refHeight = 0;
        const std::vector<std::uint8_t> reference = DecodePngWithLibpng(file, refWidth, refHeight);
        ASSERT_EQ(refWidth, w);
        ASSERT_EQ(refHeight, h);
        EXPECT_EQ(TopDownRgba(picture), reference);
    }
}

TEST(PngDecoder, SixteenBitSamplesRoundToEightBits) {
    // Samples that are an 8-bit value times 257 come out as that value, so a
    // 16-bit file equals its 8-bit twin; the first column holds the rounding edges.
    const int w = 5, h = 3;
    for (int colourType : {PNG_COLOR_TYPE_RGB_ALPHA, PNG_COLOR_TYPE_GRAY_ALPHA}) {
        const int channels = colourType == PNG_COLOR_TYPE_RGB_ALPHA ? 4 : 2;
        PngLayout narrow;
        narrow.width = w;
        narrow.height = h;
        narrow.colourType = colourType;
        narrow.samples = CountingSamples(static_cast<std::size_t>(w) * h * channels, 3);
        PngLayout wide = narrow;
        wide.bitDepth = 16;
        wide.samples.clear();
        for (std::uint8_t s : narrow.samples) wide.samples.insert(wide.samples.end(), {s, s});
        const std::uint16_t edges[] = {128, 129, 32767, 32768};
        for (int y = 0; y < h; ++y)
            for (int c = 0; c < channels; ++c) {
                const std::uint16_t v = edges[(y + c) % 4];
                wide.samples[(static_cast<std::size_t>(y) * w * channels + c) * 2] = v >> 8;
                wide.samples[(static_cast<std::size_t>(y) * w * channels + c) * 2 + 1] = v & 0xFF;
                narrow.samples[static_cast<std::size_t>(y) * w * channels + c] = v == 128     ? 0
                                                                                 : v == 129   ? 1
                                                                                 : v == 32767 ? 127
                                                                                              : 128;
            }
        Picture fromNarrow, fromWide;
        ASSERT_EQ(DecodeBytes(EncodePng(narrow), fromNarrow), 0u);
        ASSERT_EQ(DecodeBytes(EncodePng(wide), fromWide), 0u);
        EXPECT_EQ(TopDownRgba(fromWide), TopDownRgba(fromNarrow));
    }
}

TEST(PngDecoder, RefusesBrokenAndOversizedFiles) {
    PngLayout layout;
    layout.width = 40;
    layout.height = 30;
    layout.samples = CountingSamples(40 * 30 * 3);
    const std::vector<std::uint8_t> file = EncodePng(layout);
    Picture picture;

    std::vector<std::uint8_t> truncated(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(file.size() / 2));
    EXPECT_EQ(DecodeBytes(truncated, picture), 103u);
    EXPECT_FALSE(picture.colour.HasPicture());

    std::vector<std::uint8_t> badCrc = file;
    badCrc[29] ^= 1;  // the IHDR checksum
    EXPECT_EQ(DecodeBytes(badCrc, picture), 103u);

    // A small file that claims 100000 x 100000 pixels is refused before any pixel memory.
    std::vector<std::uint8_t> huge = file;
    for (int at : {16, 20}) {
        huge[at] = 0;
        huge[at + 1] = 0x01;
        huge[at + 2] = 0x86;
        huge[at + 3] = 0xA0;
    }
    const uLong crc = crc32(0, huge.data() + 12, 17);
    for (int i = 0; i < 4; ++i) huge[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    EXPECT_EQ(DecodeBytes(huge, picture), unsigned{IDS_PICTURE_TOO_LARGE});
    EXPECT_FALSE(picture.colour.HasPicture());
}
