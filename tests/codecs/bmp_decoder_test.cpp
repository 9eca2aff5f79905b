#include <gtest/gtest.h>

#include <cstring>

#include "codecs/bmp_decoder.h"
#include "image/little_endian.h"
#include "platform/pixel_memory.h"
#include "platform/string_table.h"
#include "support/bmp_builder.h"
#include "support/bmp_variant_writer.h"
#include "support/message_recorder.h"

using namespace zentro;
using namespace zentro::test;
using codecs::DecodeBmp;

namespace {

bool SameBitmap(const CDib& a, const CDib& b) {
    if (a.HasPicture() != b.HasPicture()) return false;
    return !a.HasPicture() || (a.Width() == b.Width() && a.Height() == b.Height() &&
                               std::memcmp(a.Pixels(), b.Pixels(), a.GetImageSize()) == 0);
}

// Decodes the bytes in memory, and from a file as the loader streams it: the two
// must agree to the byte, padding included.
unsigned Decode(const std::vector<std::uint8_t>& bytes, Picture& picture) {
    const unsigned id = DecodeBmp(bytes.data(), bytes.size(), picture);
    TempDir dir;
    WriteFile(dir / "in.bmp", bytes);
    codecs::PictureFile file;
    Picture streamed;
    EXPECT_EQ(file.Open(dir / "in.bmp"), 0u);
    EXPECT_EQ(DecodeBmp(file, streamed), id);
    EXPECT_TRUE(SameBitmap(streamed.colour, picture.colour));
    EXPECT_TRUE(SameBitmap(streamed.alpha, picture.alpha));
    return id;
}

// The picture as 0xAARRGGBB, top row first; alpha 255 without an alpha plane.
std::vector<std::uint32_t> Argb(const Picture& p) {
    std::vector<std::uint32_t> out;
    for (int y = p.colour.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < p.colour.Width(); ++x) {
            const std::uint8_t* bgr = p.colour.PixelPtr24(x, y);
            const std::uint32_t alpha = p.HasAlpha() ? p.alpha.Row(y)[x] : 255;
            out.push_back(alpha << 24 | std::uint32_t{bgr[2]} << 16 | std::uint32_t{bgr[1]} << 8 | bgr[0]);
        }
    }
    return out;
}

// What the classic reader makes of a file, or an empty picture with the message it showed.
struct Classic {
    CDib dib;
    unsigned message = 0;
};
void LoadClassic(const std::vector<std::uint8_t>& bytes, Classic& out) {
    TempDir dir;
    WriteFile(dir / "in.bmp", bytes);
    MessageRecorder recorder;
    if (!out.dib.Load(dir / "in.bmp")) out.message = recorder.OnlyId();
}

void ExpectSameColours(const CDib& ours, const CDib& classic) {
    ASSERT_TRUE(ours.HasPicture());
    ASSERT_EQ(ours.Width(), classic.Width());
    ASSERT_EQ(ours.Height(), classic.Height());
    ASSERT_EQ(ours.BitCount(), 24);
    EXPECT_EQ(std::memcmp(ours.Pixels(), classic.Pixels(), ours.GetImageSize()), 0);
}

// Eight colours every bit-field depth keeps exactly, drawn in stripes and blocks
// whose runs have odd and even lengths; only the first `colours` are used.
ArgbPicture Pattern(int width, int height, unsigned colours, bool withAlpha = false) {
    static const std::uint32_t kColours[] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00,
                                             0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF};
    ArgbPicture p{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned pick = (x < width / 3 ? y : (x + y) / 3 + x / 5) % colours;
            // Alpha in steps of 17, exact at 4 bits and up.
            const std::uint32_t alpha = withAlpha ? 17u * ((x * 7 + y * 3) % 16) : 255;
            p.pixels.push_back(alpha << 24 | kColours[pick]);
        }
    }
    return p;
}

ArgbPicture WithAlpha(ArgbPicture p, std::uint32_t alpha) {
    for (std::uint32_t& c : p.pixels) c = alpha << 24 | (c & 0xFFFFFF);
    return p;
}

std::vector<std::uint32_t> ClassicColours(const ArgbPicture& p) {
    std::vector<std::uint32_t> rgb;
    for (std::uint32_t c : p.pixels) rgb.push_back(c & 0xFFFFFF);
    return rgb;
}

struct Case {
    const char* name;
    BmpVariant variant;
    unsigned colours;
};

}  // namespace

TEST(BmpDecoder, EveryOpaqueVariantGivesTheClassicReadersColours) {
    const std::uint32_t m565[4] = {0xF800, 0x07E0, 0x001F, 0};
    const std::uint32_t m101010[4] = {0x3FF00000, 0x000FFC00, 0x000003FF, 0};
    const Case cases[] = {
        {"v5 24-bit", {124, 24}, 8},
        {"v5 32-bit bit fields", {124, 32, BmpStorage::BitFields, {0xFF0000, 0xFF00, 0xFF, 0}}, 8},
        {"v4 32-bit, blue-green-red fields", {108, 32, BmpStorage::BitFields, {0xFF, 0xFF00, 0xFF0000, 0}}, 8},
        {"v4 32-bit, a 16-bit red field", {108, 32, BmpStorage::BitFields, {0xFFFF0000, 0xFF00, 0xFF, 0}}, 8},
        {"52-byte 10-10-10", {52, 32, BmpStorage::BitFields, {m101010[0], m101010[1], m101010[2], 0}}, 8},
        {"top-down 24-bit", {40, 24, BmpStorage::Plain, {}, true}, 8},
        {"top-down 1-bit", {40, 1, BmpStorage::Plain, {}, true}, 2},
        {"2-bit", {40, 2}, 4},
        {"RLE8", {40, 8, BmpStorage::Rle}, 8},
        {"RLE4", {40, 4, BmpStorage::Rle}, 8},
        {"16-bit 5-5-5", {40, 16}, 8},
        {"16-bit 5-6-5", {40, 16, BmpStorage::BitFields, {m565[0], m565[1], m565[2], 0}}, 8},
        {"56-byte 5-6-5", {56, 16, BmpStorage::BitFields, {m565[0], m565[1], m565[2], 0}}, 8},
        {"32-bit, fourth bytes zero", {40, 32}, 8},
        {"OS/2 1.x 24-bit", {12, 24}, 8},
        {"OS/2 1.x 8-bit", {12, 8}, 8},
        {"OS/2 2.x 4-bit", {64, 4}, 8},
        {"OS/2 2.x 16-byte 1-bit", {16, 1}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Plain 32 bits stores the alpha it is given: here all zero, so opaque.
        const bool fourthBytes = c.variant.bitCount == 32 && c.variant.storage == BmpStorage::Plain;
        const ArgbPicture picture = WithAlpha(Pattern(37, 9, c.colours), fourthBytes ? 0 : 255);
        Classic classic;
        LoadClassic(Encode24(picture.width, picture.height, ClassicColours(picture)), classic);
        Picture ours;
        ASSERT_EQ(Decode(EncodeBmpVariant(picture, c.variant), ours), 0u);
        EXPECT_FALSE(ours.HasAlpha());
        ExpectSameColours(ours.colour, classic.dib);
    }
}

TEST(BmpDecoder, FilesTheClassicReaderTakesDecodeAlike) {
    // A short palette (indexes past it black), a short file (missing data zero),
    // bytes skipped between the header and the pixels.
    BmpLayout shortPalette;
    shortPalette.width = 5;
    shortPalette.height = 2;
    shortPalette.bitCount = 8;
    shortPalette.palette = {0x112233, 0x445566};
    shortPalette.pixels = {0, 1, 2, 200, 1, 0, 0, 0, 1, 0, 9, 0, 0, 0, 0, 0};
    std::vector<std::uint8_t> truncated = Encode24(7, 5, std::vector<std::uint32_t>(35, 0x80C0F0));
    truncated.resize(truncated.size() - 30);
    le::Put32(&truncated[2], static_cast<std::uint32_t>(truncated.size()));
    BmpLayout gap;
    gap.width = 2;
    gap.height = 2;
    gap.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    gap.offBits = 54 + 10;

    for (const std::vector<std::uint8_t>& bytes : {EncodeBmp(shortPalette), truncated, EncodeBmp(gap)}) {
        Classic classic;
        LoadClassic(bytes, classic);
        ASSERT_EQ(classic.message, 0u);
        Picture ours;
        ASSERT_EQ(Decode(bytes, ours), 0u);
        EXPECT_FALSE(ours.HasAlpha());
        ExpectSameColours(ours.colour, classic.dib);
    }
}

TEST(BmpDecoder, AlphaComesFromTheMaskOrTheFourthBytes) {
    const ArgbPicture picture = Pattern(11, 6, 8, true);
    const Case cases[] = {
        {"32-bit BI_RGB", {40, 32}, 8},
        {"v5 bit fields", {124, 32, BmpStorage::BitFields, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}}, 8},
        {"alpha bit fields", {40, 32, BmpStorage::AlphaBitFields, {0xFF00, 0xFF0000, 0xFF000000, 0xFF}}, 8},
        {"56-byte 4-4-4-4", {56, 16, BmpStorage::BitFields, {0x0F00, 0x00F0, 0x000F, 0xF000}}, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Picture ours;
        ASSERT_EQ(Decode(EncodeBmpVariant(picture, c.variant), ours), 0u);
        ASSERT_TRUE(ours.HasAlpha());
        EXPECT_EQ(Argb(ours), picture.pixels);
    }
    // A header's alpha mask says nothing for BI_RGB: fourth bytes all zero are opaque.
    Picture opaque;
    ASSERT_EQ(Decode(EncodeBmpVariant(WithAlpha(picture, 0), {124, 32}), opaque), 0u);
    EXPECT_FALSE(opaque.HasAlpha());
    EXPECT_EQ(Argb(opaque), WithAlpha(picture, 255).pixels);
}

TEST(BmpDecoder, BitFieldsScaleToTheNearestLevel) {
    // 5-bit 17 is 17 × 255 / 31 = 139.8; a 1-bit alpha of 1 is opaque.
    ArgbPicture one{1, 1, {0}};
    std::vector<std::uint8_t> bytes =
        EncodeBmpVariant(one, {40, 16, BmpStorage::AlphaBitFields, {0x7C00, 0x03E0, 0x001F, 0x8000}});
    le::Put16(&bytes[le::Get32(&bytes[10])], 0x8000 | 17 << 10 | 31 << 5 | 1);
    Picture p;
    ASSERT_EQ(Decode(bytes, p), 0u);
    EXPECT_EQ(Argb(p), (std::vector<std::uint32_t>{0xFF8CFF08}));
}

TEST(BmpDecoder, RunLengthStreamsClipRunsAndLeaveSkippedPixelsClear) {
    // 4 x 3, RLE8, bottom row first: a literal of 3 with its pad byte, a run of 6
    // clipped at the edge after one pixel, end of line; a delta of (1, 1) from
    // (0, 1) to (1, 2), a run of 2, end of bitmap.
    BmpLayout layout;
    layout.width = 4;
    layout.height = 3;
    layout.bitCount = 8;
    layout.compression = 1;
    layout.palette = {0x000000, 0x102030, 0x405060, 0x708090};
    layout.pixels = {0, 3, 2, 3, 1, 0, 6, 1, 0, 0, 0, 2, 1, 1, 2, 2, 0, 1};
    Picture p;
    ASSERT_EQ(Decode(EncodeBmp(layout), p), 0u);
    ASSERT_TRUE(p.HasAlpha());
    EXPECT_EQ(Argb(p), (std::vector<std::uint32_t>{0, 0xFF405060, 0xFF405060, 0,  // top row
                                                   0, 0, 0, 0,                    // skipped
                                                   0xFF405060, 0xFF708090, 0xFF102030, 0xFF102030}));

    // RLE4: a literal of 5 takes three bytes and a pad; a run starts with its high nibble.
    layout.bitCount = 4;
    layout.compression = 2;
    layout.width = 6;
    layout.height = 1;
    layout.pixels = {0, 5, 0x21, 0x32, 0x10, 0, 1, 0x12, 0, 1};
    ASSERT_EQ(Decode(EncodeBmp(layout), p), 0u);
    EXPECT_FALSE(p.HasAlpha());
    EXPECT_EQ(Argb(p),
              (std::vector<std::uint32_t>{0xFF405060, 0xFF102030, 0xFF708090, 0xFF405060, 0xFF102030, 0xFF102030}));
}

TEST(BmpDecoder, RefusesWhatItDoesNotRead) {
    BmpLayout layout;
    layout.width = 2;
    layout.height = 2;
    Picture p;
    std::vector<std::uint8_t> bytes = EncodeBmp(layout);
    bytes[1] = 'A';
    EXPECT_EQ(Decode(bytes, p), unsigned{IDS_NOT_A_BITMAP});

    layout.compression = 4;  // an embedded JPEG
    EXPECT_EQ(Decode(EncodeBmp(layout), p), unsigned{IDS_UNSUPPORTED_BITMAP});
    layout.compression = 5;  // an embedded PNG
    EXPECT_EQ(Decode(EncodeBmp(layout), p), unsigned{IDS_UNSUPPORTED_BITMAP});
    layout.compression = 0;
    layout.bitCount = 64;
    EXPECT_EQ(Decode(EncodeBmp(layout), p), unsigned{IDS_UNSUPPORTED_BITMAP});
    // A broken mask; no colour field at all.
    EXPECT_EQ(Decode(EncodeBmpVariant(Pattern(2, 2, 2), {40, 16, BmpStorage::BitFields, {0x7C00, 0x0360, 0x1F, 0}}), p),
              unsigned{IDS_UNSUPPORTED_BITMAP});
    EXPECT_EQ(Decode(EncodeBmpVariant(Pattern(2, 2, 2), {40, 32, BmpStorage::AlphaBitFields, {0, 0, 0, 0xFF}}), p),
              unsigned{IDS_UNSUPPORTED_BITMAP});

    // 100000 x 100000 claimed by a 1 KB file: refused before any pixel memory is taken.
    layout.bitCount = 24;
    layout.width = 100000;
    layout.height = 100000;
    layout.pixels.assign(1024, 0);
    EXPECT_EQ(Decode(EncodeBmp(layout), p), unsigned{IDS_PICTURE_TOO_LARGE});
    EXPECT_FALSE(p.colour.HasPicture());

    // No memory for the colours, or for the alpha plane once the colours have theirs: nothing half made.
    const std::vector<std::uint8_t> withAlpha = EncodeBmpVariant(Pattern(3, 2, 2, true), {40, 32});
    for (unsigned nth : {1u, 2u}) {
        InjectAllocationFailure(nth);
        EXPECT_EQ(DecodeBmp(withAlpha.data(), withAlpha.size(), p), unsigned{IDS_NO_DIB_MEMORY});
        InjectAllocationFailure(0);
        EXPECT_FALSE(p.colour.HasPicture() || p.alpha.HasPicture());
    }
}
