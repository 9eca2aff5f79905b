#include <gtest/gtest.h>

#include "job/image_set_builder.h"
#include "platform/pixel_memory.h"
#include "platform/string_table.h"
#include "support/bmp_builder.h"
#include "support/message_recorder.h"
#include "support/pictures.h"

using namespace zentro;
using namespace zentro::test;

namespace {

using Codes = std::vector<std::uint8_t>;

FormatChoices Format(int use24, int use4, int use8, int use32, int transparent) {
    return FormatChoices{use24, use4, use8, use32, transparent};
}

SizeChoices Sizes(std::array<int, kSizeCount> flags, int onlyOne256 = 1) {
    SizeChoices s;
    s.sizes = flags;
    s.onlyOne256 = onlyOne256;
    return s;
}

const std::string kSourceTooSmall48 = "主要来源位图 必须至少 48x48 像素 (选择最大的设备的图象大小 ).";

}  // namespace

TEST(ImageSetBuilder, EntryListsOfThePagesDefaults) {
    ImageStore store;
    DrawDisc(store.source, 256, 256);
    MessageRecorder recorder;

    FormatChoices opaque = Format(0, 1, 1, 0, 0);
    SizeChoices sizes = Sizes({1, 1, 1, 0, 1});
    ASSERT_TRUE(BuildImageSet(store, opaque, sizes));
    EXPECT_EQ(store.entries, (Codes{1, 2, 4, 5, 6, 7, 9}));
    EXPECT_EQ(store.sizeCount, 4);
    EXPECT_EQ(store.kindCount, 2);
    EXPECT_EQ(store.kind256, kKind8);

    FormatChoices keyed = Format(0, 1, 1, 1, 1);
    ASSERT_TRUE(BuildImageSet(store, keyed, sizes));
    EXPECT_EQ(store.entries, (Codes{1, 2, 4, 6, 7, 9, 15, 16, 17, 19}));
    EXPECT_EQ(store.kind256, kKind32);

    SizeChoices every256 = Sizes({1, 1, 1, 0, 1}, 0);
    ASSERT_TRUE(BuildImageSet(store, opaque, every256));
    EXPECT_EQ(store.entries, (Codes{0, 1, 2, 4, 5, 6, 7, 9}));
    EXPECT_TRUE(recorder.messages.empty());
}

TEST(ImageSetBuilder, SettlesChoicesThatOnlyWorkTogether) {
    ImageStore store;
    DrawDisc(store.source, 48, 48);
    FormatChoices format = Format(1, 0, 0, 1, 0);  // alpha without transparency
    SizeChoices sizes = Sizes({0, 1, 0, 0, 0});    // only-one-256 without 256
    sizes.use16Bitmap = 1;                         // a 16 x 16 bitmap without 16 x 16
    sizes.bitmap16Path = "/nonexistent.bmp";
    MessageRecorder recorder;
    ASSERT_TRUE(BuildImageSet(store, format, sizes));
    EXPECT_EQ(format.use32, 0);
    EXPECT_EQ(sizes.onlyOne256, 0);
    EXPECT_EQ(sizes.use16Bitmap, 0);
    EXPECT_EQ(store.entries, (Codes{11}));
    EXPECT_FALSE(store.table32[1].image.HasPicture());
    EXPECT_TRUE(recorder.messages.empty());
}

TEST(ImageSetBuilder, AlphaAloneWithoutTransparencyLeavesNothingToMake) {
    ImageStore store;
    DrawDisc(store.source, 64, 64);
    FormatChoices format = Format(0, 0, 0, 1, 0);
    SizeChoices sizes = Sizes({0, 1, 1, 0, 1});
    MessageRecorder recorder;
    ASSERT_TRUE(BuildImageSet(store, format, sizes));
    EXPECT_TRUE(store.entries.empty());
    EXPECT_TRUE(recorder.messages.empty());
}

TEST(ImageSetBuilder, OnlyTwentyFourBitKeepsThe256Image) {
    ImageStore store;
    DrawDisc(store.source, 256, 256);
    FormatChoices format = Format(1, 0, 0, 0, 0);
    SizeChoices sizes = Sizes({1, 1, 0, 0, 1});
    ASSERT_TRUE(BuildImageSet(store, format, sizes));
    EXPECT_EQ(store.entries, (Codes{10, 11, 14}));
}

TEST(ImageSetBuilder, PaletteKindsMakeTheTwentyFourBitImageTheyComeFrom) {
    ImageStore store;
    DrawDisc(store.source, 40, 40);
    FormatChoices format = Format(0, 1, 0, 0, 1);
    SizeChoices sizes = Sizes({0, 0, 1, 0, 0});
    ASSERT_TRUE(BuildImageSet(store, format, sizes));
    EXPECT_EQ(store.entries, (Codes{2}));
    EXPECT_EQ(store.table24[2].image.Width(), 32);
    EXPECT_EQ(store.table24[2].mask.BitCount(), 1);
    EXPECT_EQ(store.paletteTable[2].image4.BitCount(), 4);
    EXPECT_EQ(store.table24[2].mask.GetMaskBit(0, 0), 1);  // the keyed corner
}

TEST(ImageSetBuilder, RefusesSourcesSmallerThanTheLargestSize) {
    ImageStore store;
    DrawDisc(store.source, 200, 300);
    FormatChoices format = Format(0, 1, 1, 0, 0);
    SizeChoices with256 = Sizes({1, 1, 0, 0, 0});
    {
        MessageRecorder recorder;
        EXPECT_FALSE(BuildImageSet(store, format, with256));
        ASSERT_EQ(recorder.OnlyId(), static_cast<unsigned>(IDS_TOO_SMALL));
        EXPECT_EQ(recorder.messages[0].text, "主要来源位图 必须至少 256x256 像素 (选择最大的设备的图象大小 ).");
        EXPECT_EQ(recorder.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_TRUE(store.entries.empty());  // nothing changed
    }
    SizeChoices from48 = Sizes({0, 1, 0, 0, 1});
    ASSERT_TRUE(BuildImageSet(store, format, from48));
    EXPECT_EQ(store.table24[1].image.Width(), 48);
    EXPECT_EQ(store.table24[1].image.Height(), 48);

    DrawDisc(store.source, 47, 100);
    MessageRecorder recorder;
    EXPECT_FALSE(BuildImageSet(store, format, from48));
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, kSourceTooSmall48);
}

TEST(ImageSetBuilder, SourceIsCheckedEvenWhenTheSixteenBitmapSuppliesEverything) {
    TempDir dir;
    WriteFile(dir / "16.bmp", Encode24(16, 16, std::vector<std::uint32_t>(256, 0x123456)));
    ImageStore store;
    DrawDisc(store.source, 12, 12);
    FormatChoices format = Format(0, 1, 1, 0, 0);
    SizeChoices sizes = Sizes({0, 0, 0, 0, 1});
    sizes.use16Bitmap = 1;
    sizes.bitmap16Path = dir / "16.bmp";
    MessageRecorder recorder;
    EXPECT_FALSE(BuildImageSet(store, format, sizes));
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "主要来源位图 必须至少 16x16 像素 (选择最大的设备的图象大小 ).");
}

TEST(ImageSetBuilder, SixteenBitmapIsCheckedAndUsedForSixteenOnly) {
    TempDir dir;
    ImageStore store;
    DrawDisc(store.source, 48, 48);
    FormatChoices format = Format(1, 0, 0, 0, 0);
    SizeChoices sizes = Sizes({0, 1, 0, 0, 1});
    sizes.use16Bitmap = 1;
    {
        MessageRecorder recorder;
        EXPECT_FALSE(BuildImageSet(store, format, sizes));
        EXPECT_EQ(recorder.OnlyId(), static_cast<unsigned>(IDS_NO_FILE_NAME));
        EXPECT_EQ(recorder.messages[0].icon, MessageIcon::Exclamation);
    }
    sizes.bitmap16Path = dir / "missing.bmp";
    {
        MessageRecorder recorder;
        EXPECT_FALSE(BuildImageSet(store, format, sizes));
        EXPECT_EQ(recorder.OnlyId(), static_cast<unsigned>(IDS_FILE_NOT_FOUND));
    }
    WriteFile(dir / "thin.bmp", Encode24(15, 40, std::vector<std::uint32_t>(600, 0x00FF00)));
    sizes.bitmap16Path = dir / "thin.bmp";
    {
        MessageRecorder recorder;
        EXPECT_FALSE(BuildImageSet(store, format, sizes));
        ASSERT_EQ(recorder.messages.size(), 1u);
        EXPECT_EQ(recorder.messages[0].text, "16x16设备图象的位图 必须至少 16x16 像素.");
    }
    WriteFile(dir / "big.bmp", Encode24(64, 64, std::vector<std::uint32_t>(64 * 64, 0x00FF00)));
    sizes.bitmap16Path = dir / "big.bmp";
    MessageRecorder recorder;
    ASSERT_TRUE(BuildImageSet(store, format, sizes));
    std::uint8_t colour[3];
    store.table24[4].image.GetPixel(8, 8, colour);
    EXPECT_EQ(colour[1], 255);  // green, from the separate bitmap
    store.table24[1].image.GetPixel(0, 0, colour);
    EXPECT_EQ(colour[1], 0);  // magenta key of the main source
}

TEST(ImageSetBuilder, NoMemoryStopsWithOneMessage) {
    ImageStore store;
    DrawDisc(store.source, 48, 48);
    FormatChoices format = Format(1, 1, 1, 1, 1);
    SizeChoices sizes = Sizes({0, 1, 1, 1, 1});
    for (unsigned nth = 1; nth <= 12; ++nth) {
        MessageRecorder recorder;
        InjectAllocationFailure(nth);
        EXPECT_FALSE(BuildImageSet(store, format, sizes)) << nth;
        InjectAllocationFailure(0);
        EXPECT_EQ(recorder.OnlyId(), static_cast<unsigned>(IDS_NO_DIB_MEMORY)) << nth;
        EXPECT_EQ(recorder.messages[0].icon, MessageIcon::Error);
    }
    MessageRecorder recorder;
    EXPECT_TRUE(BuildImageSet(store, format, sizes));
}

TEST(ImageSetBuilder, IsKindChosenKnowsOnlyFourKinds) {
    FormatChoices format = Format(1, 0, 1, 0, 0);
    EXPECT_EQ(IsKindChosen(kKind24, format), 1);
    EXPECT_EQ(IsKindChosen(kKind8, format), 1);
    EXPECT_EQ(IsKindChosen(kKind4, format), 0);
    EXPECT_EQ(IsKindChosen(4, format), 0);
    EXPECT_EQ(IsKindChosen(-1, format), 0);
}
