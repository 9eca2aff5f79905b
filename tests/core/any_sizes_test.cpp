#include <gtest/gtest.h>

#include "icon/icon_writer.h"
#include "job/image_set_builder.h"
#include "platform/string_table.h"
#include "support/memory_sink.h"
#include "support/message_recorder.h"
#include "support/pictures.h"

using namespace zentro;
using namespace zentro::test;

namespace {

std::vector<std::uint8_t> IconOf(SizeChoices sizes, int onlyOne256) {
    ImageStore store;
    DrawDisc(store.source, 256, 256);
    FormatChoices format{1, 1, 1, 1, 1};
    sizes.onlyOne256 = onlyOne256;
    EXPECT_TRUE(BuildImageSet(store, format, sizes));
    MemorySink sink;
    WriteIcon(sink, store, format, sizes);
    return sink.bytes;
}

}  // namespace

// The classic five named as a list of any sizes take the list's own path
// through the store, and must still give the flags' bytes.
TEST(AnySizes, ClassicSizesAsAListGiveTheFlagsBytes) {
    SizeChoices flags;
    flags.sizes = {1, 1, 1, 1, 1};
    SizeChoices list;
    list.anySizes = {16, 24, 32, 48, 256, 32};
    for (int one256 : {0, 1}) EXPECT_EQ(IconOf(flags, one256), IconOf(list, one256)) << one256;
}

// Odd and tiny sizes, in kind-then-largest-first order, the one-256 rule kept.
TEST(AnySizes, EverySizeFromOneUpIsMadeAndOrdered) {
    ImageStore store;
    DrawDisc(store.source, 256, 256);
    FormatChoices format{1, 1, 1, 1, 1};
    SizeChoices sizes;
    sizes.anySizes = {1, 3, 20, 256, 97, 999, 0};  // 999 and 0 are left out
    ASSERT_TRUE(BuildImageSet(store, format, sizes));
    EXPECT_EQ(store.sizeTable, (std::vector<short>{256, 97, 20, 3, 1}));
    ASSERT_EQ(store.entries.size(), 4u * 4 + 1);
    int previousKind = -1, previousSize = 0;
    for (std::uint8_t code : store.entries) {
        const CDib& image = store.EntryImage(code);
        const CDib& mask = store.EntryMask(code);
        const int kind = code / 5, size = store.sizeTable[code % 5];
        EXPECT_EQ(image.Width(), size);
        EXPECT_EQ(image.Height(), size);
        EXPECT_EQ(mask.Width(), size);
        EXPECT_EQ(image.BitCount(), kind == kKind4 ? 4 : kind == kKind8 ? 8 : kind == kKind24 ? 24 : 32);
        EXPECT_TRUE(kind > previousKind || size < previousSize) << int(code);
        EXPECT_TRUE(size != 256 || kind == kKind32);
        previousKind = kind;
        previousSize = size;
    }
}

TEST(AnySizes, TooSmallSourceNamesTheLargestChosenSize) {
    ImageStore store;
    DrawDisc(store.source, 100, 100);
    FormatChoices format{0, 1, 1, 0, 0};
    SizeChoices sizes;
    sizes.anySizes = {20, 120, 64};
    MessageRecorder recorder;
    EXPECT_FALSE(BuildImageSet(store, format, sizes));
    EXPECT_EQ(recorder.OnlyId(), static_cast<unsigned>(IDS_TOO_SMALL));
    EXPECT_NE(recorder.messages[0].text.find("120x120"), std::string::npos) << recorder.messages[0].text;
    sizes.anySizes = {20, 100, 64};
    EXPECT_TRUE(BuildImageSet(store, format, sizes));
}
