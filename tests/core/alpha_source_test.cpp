// A picture's own alpha as transparency, against the key-colour road it generalises.
#include <gtest/gtest.h>

#include <cstring>

#include "image/key_values.h"
#include "job/image_set_builder.h"
#include "support/message_recorder.h"
#include "support/pictures.h"

using namespace zentro;
using namespace zentro::test;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes PixelBytes(const CDib& dib) { return Bytes(dib.Pixels(), dib.Pixels() + dib.GetImageSize()); }

// Every image and mask the entry list names, in its order.
std::vector<Bytes> EntryBytes(const ImageStore& store) {
    std::vector<Bytes> all;
    for (std::uint8_t code : store.entries) {
        all.push_back(PixelBytes(store.EntryImage(code)));
        all.push_back(PixelBytes(store.EntryMask(code)));
    }
    return all;
}

void CopyPicture(const CDib& from, CDib& to) {
    ASSERT_TRUE(to.Create(from.Width(), from.Height(), static_cast<std::uint8_t>(from.BitCount())));
    std::memcpy(to.Pixels(), from.Pixels(), from.GetImageSize());
}

// 255 minus the smoothed key plane the key-colour road makes for `colour`.
void AlphaOfKeyPlane(const CDib& colour, CDib& alpha) {
    CDib plane;
    ASSERT_TRUE(BuildKeyPlane(colour, plane, 2));
    ASSERT_TRUE(alpha.Create(colour.Width(), colour.Height(), 8));
    for (int y = 0; y < colour.Height(); ++y)
        for (int x = 0; x < colour.Width(); ++x) alpha.Row(y)[x] = static_cast<std::uint8_t>(255 - plane.Row(y)[x]);
}

void Build(ImageStore& store, FormatChoices format, SizeChoices sizes, const PictureReader& read16 = {}) {
    MessageRecorder recorder;
    ASSERT_TRUE(BuildImageSet(store, format, sizes, {}, read16)) << recorder.messages.at(0).text;
    EXPECT_TRUE(recorder.messages.empty());
}

const FormatChoices kEveryKindTransparent{1, 1, 1, 1, 1};
SizeChoices EverySize() {
    SizeChoices sizes;
    sizes.sizes = {1, 1, 1, 1, 1};
    sizes.onlyOne256 = 0;
    return sizes;
}

}  // namespace

TEST(AlphaSource, AlphaOfTheSmoothedKeyPlaneGivesTheKeyedThirtyTwoBitImages) {
    // 300 does not divide by the sizes, so footprints carry partial weights.
    ImageStore keyed, withAlpha;
    DrawDisc(keyed.source, 300, 300);
    CopyPicture(keyed.source, withAlpha.source);
    AlphaOfKeyPlane(keyed.source, withAlpha.sourceAlpha);
    Build(keyed, kEveryKindTransparent, EverySize());
    Build(withAlpha, kEveryKindTransparent, EverySize());
    for (int t = 0; t < kSizeCount; ++t) {
        EXPECT_EQ(PixelBytes(withAlpha.table32[t].image), PixelBytes(keyed.table32[t].image)) << t;
        EXPECT_EQ(PixelBytes(withAlpha.table32[t].mask), PixelBytes(keyed.table32[t].mask)) << t;
    }
}

TEST(AlphaSource, AlphaOpaqueEverywhereGoesTheKeyColourRoad) {
    for (const FormatChoices& format : {kEveryKindTransparent, FormatChoices{1, 1, 1, 0, 0}}) {
        ImageStore plain, withAlpha;
        DrawDisc(plain.source, 100, 100);
        CopyPicture(plain.source, withAlpha.source);
        ASSERT_TRUE(withAlpha.sourceAlpha.Create(100, 100, 8));
        for (int y = 0; y < 100; ++y) std::memset(withAlpha.sourceAlpha.Row(y), 255, 100);
        SizeChoices sizes = EverySize();
        sizes.sizes[0] = 0;
        Build(plain, format, sizes);
        Build(withAlpha, format, sizes);
        EXPECT_EQ(EntryBytes(withAlpha), EntryBytes(plain)) << format.transparent;
    }
}

TEST(AlphaSource, ThresholdAndMasksFollowTheAlphaAtOneToOne) {
    // Columns of alpha 0, 1, 127, 128 and 255 over one colour; 16 x 16 is made 1:1.
    ImageStore store;
    FillPicture(store.source, 16, 16, 0x336699);
    ASSERT_TRUE(store.sourceAlpha.Create(16, 16, 8));
    const std::uint8_t alphas[5] = {0, 1, 127, 128, 255};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) store.sourceAlpha.Row(y)[x] = alphas[x % 5];
    SizeChoices sizes;
    sizes.sizes = {0, 0, 0, 0, 1};
    Build(store, FormatChoices{1, 0, 0, 1, 1}, sizes);
    // The 24-bit mask keeps what is more than half opaque; the 32-bit mask only what is fully clear.
    const int mask24[5] = {1, 1, 1, 0, 0};
    const int mask32[5] = {1, 0, 0, 0, 0};
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(store.table24[4].mask.GetMaskBit(x, 7), mask24[x]) << x;
        EXPECT_EQ(store.table32[4].mask.GetMaskBit(x, 7), mask32[x]) << x;
    }
    EXPECT_EQ(store.table32[4].image.PixelPtr32(4, 7)[3], 255);
}

TEST(AlphaSource, WithoutTransparencyTheAlphaIsLaidOnWhite) {
    ImageStore store;
    FillPicture(store.source, 16, 16, 0x0064FF);  // red 0, green 100, blue 255
    ASSERT_TRUE(store.sourceAlpha.Create(16, 16, 8));
    const std::uint8_t alphas[4] = {0, 51, 128, 255};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) store.sourceAlpha.Row(y)[x] = alphas[x % 4];
    SizeChoices sizes;
    sizes.sizes = {0, 0, 0, 0, 1};
    Build(store, FormatChoices{1, 0, 0, 0, 0}, sizes);
    // (c x a + 255 x (255 - a) + 127) / 255: 0 at 128 gives 127 (127.498), 100 at 51 gives 224, 255 stays 255.
    const std::uint8_t expected[4][3] = {{255, 255, 255}, {204, 224, 255}, {127, 177, 255}, {0, 100, 255}};
    for (int x = 0; x < 4; ++x) {
        std::uint8_t colour[3];
        store.table24[4].image.GetPixel(x, 3, colour);
        EXPECT_EQ(Bytes(colour, colour + 3), Bytes(expected[x], expected[x] + 3)) << x;
        EXPECT_EQ(store.table24[4].mask.GetMaskBit(x, 3), 0);
    }
}

TEST(AlphaSource, SeparateSixteenPictureComesThroughTheReaderWithItsAlpha) {
    ImageStore fromReader, alone;
    FillPicture(fromReader.source, 48, 48, 0x808080);
    DrawDisc(alone.source, 40, 40);
    AlphaOfKeyPlane(alone.source, alone.sourceAlpha);
    std::string asked;
    const PictureReader read16 = [&](const std::string& path, Picture& picture) {
        asked = path;
        CopyPicture(alone.source, picture.colour);
        CopyPicture(alone.sourceAlpha, picture.alpha);
        return true;
    };
    SizeChoices sizes = EverySize();
    sizes.sizes = {0, 1, 0, 0, 1};
    sizes.use16Bitmap = 1;
    sizes.bitmap16Path = "sixteen.png";
    Build(fromReader, kEveryKindTransparent, sizes, read16);
    EXPECT_EQ(asked, "sixteen.png");
    SizeChoices only16 = EverySize();
    only16.sizes = {0, 0, 0, 0, 1};
    Build(alone, kEveryKindTransparent, only16);
    for (std::uint8_t code : {4, 9, 14, 19})
        EXPECT_EQ(PixelBytes(fromReader.EntryImage(code)), PixelBytes(alone.EntryImage(code))) << int{code};
    EXPECT_EQ(PixelBytes(fromReader.table24[4].mask), PixelBytes(alone.table24[4].mask));
}
