#include <gtest/gtest.h>

#include <filesystem>

#include "icon/icon_writer.h"
#include "image/little_endian.h"
#include "job/image_set_builder.h"
#include "platform/string_table.h"
#include "support/bmp_builder.h"
#include "support/memory_sink.h"
#include "support/message_recorder.h"
#include "support/pictures.h"

using namespace zentro;
using namespace zentro::test;

namespace {

struct DirEntry {
    int width, height, colours, reserved, planes, bits;
    std::uint32_t bytes, offset;
};

DirEntry EntryAt(const std::vector<std::uint8_t>& file, int k) {
    const std::uint8_t* p = file.data() + 6 + 16 * k;
    return {p[0], p[1], p[2], p[3], le::Get16(p + 4), le::Get16(p + 6), le::Get32(p + 8), le::Get32(p + 12)};
}

std::vector<std::uint8_t> Build(ImageStore& store, FormatChoices format, SizeChoices sizes) {
    EXPECT_TRUE(BuildImageSet(store, format, sizes));
    MemorySink sink;
    WriteIcon(sink, store, format, sizes);
    return sink.bytes;
}

}  // namespace

TEST(IconWriter, TwoTrueColourImagesLayOutAsDocumented) {
    ImageStore store;
    DrawDisc(store.source, 40, 40);
    SizeChoices sizes;
    sizes.sizes = {0, 0, 1, 0, 1};
    sizes.onlyOne256 = 0;
    std::vector<std::uint8_t> file = Build(store, FormatChoices{1, 0, 0, 0, 0}, sizes);
    ASSERT_EQ(file.size(), 4150u);
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin(), file.begin() + 6), (std::vector<std::uint8_t>{0, 0, 1, 0, 2, 0}));
    DirEntry e0 = EntryAt(file, 0), e1 = EntryAt(file, 1);
    EXPECT_EQ(e0.width, 32);
    EXPECT_EQ(e0.height, 32);
    EXPECT_EQ(e0.colours, 0);
    EXPECT_EQ(e0.reserved, 0);
    EXPECT_EQ(e0.planes, 1);
    EXPECT_EQ(e0.bits, 24);
    EXPECT_EQ(e0.bytes, 3240u);
    EXPECT_EQ(e0.offset, 38u);
    EXPECT_EQ(e1.width, 16);
    EXPECT_EQ(e1.bytes, 872u);
    EXPECT_EQ(e1.offset, 3278u);

    BitmapHeader h0 = ParseBitmapHeader(file.data() + 38);
    EXPECT_EQ(h0.size, 40u);
    EXPECT_EQ(h0.width, 32);
    EXPECT_EQ(h0.height, 64);
    EXPECT_EQ(h0.bitCount, 24);
    EXPECT_EQ(h0.sizeImage, 0u);
    // Pixels and mask follow the header unchanged.
    const CDib& image32 = store.table24[2].image;
    EXPECT_TRUE(std::equal(image32.Pixels(), image32.Pixels() + 3072, file.begin() + 78));
    const CDib& mask32 = store.table24[2].mask;
    EXPECT_TRUE(std::equal(mask32.Pixels(), mask32.Pixels() + 128, file.begin() + 78 + 3072));
    BitmapHeader h1 = ParseBitmapHeader(file.data() + 3278);
    EXPECT_EQ(h1.width, 16);
    EXPECT_EQ(h1.height, 32);
    const CDib& mask16 = store.table24[4].mask;
    EXPECT_TRUE(std::equal(mask16.Pixels(), mask16.Pixels() + 64, file.end() - 64));
}

TEST(IconWriter, BytesInResourceByKindAndSize) {
    ImageStore store;
    DrawDisc(store.source, 256, 256);
    SizeChoices sizes;
    sizes.sizes = {1, 1, 1, 1, 1};
    sizes.onlyOne256 = 0;
    std::vector<std::uint8_t> file = Build(store, FormatChoices{1, 1, 1, 1, 1}, sizes);
    const std::uint32_t expected[4][5] = {{41064, 1640, 744, 488, 296},
                                          {74792, 3752, 2216, 1736, 1384},
                                          {204840, 7336, 3240, 1864, 872},
                                          {270376, 9640, 4264, 2440, 1128}};
    std::uint32_t offset = 6 + 16 * 20;
    for (int k = 0; k < 20; ++k) {
        DirEntry e = EntryAt(file, k);
        EXPECT_EQ(e.bytes, expected[k / 5][k % 5]) << k;
        EXPECT_EQ(e.offset, offset) << k;
        EXPECT_EQ(e.colours, 0) << k;
        offset += e.bytes;
    }
    EXPECT_EQ(file.size(), offset);
    // A 4-bit record: header, a 64-byte table starting with the fixed black, then pixels and the 24-bit mask.
    const std::uint32_t at4 = EntryAt(file, 1).offset;
    EXPECT_EQ(ParseBitmapHeader(file.data() + at4).bitCount, 4);
    const CDib& mask48 = store.table24[1].mask;
    EXPECT_TRUE(std::equal(mask48.Pixels(), mask48.Pixels() + mask48.GetImageSize(),
                           file.begin() + at4 + 1640 - mask48.GetImageSize()));
}

TEST(IconWriter, ThirteenImagesWithOnlyOne256) {
    ImageStore store;
    DrawDisc(store.source, 256, 256);
    SizeChoices sizes;  // 256, 48, 32, 16 with only one 256 image
    std::vector<std::uint8_t> file = Build(store, FormatChoices{1, 1, 1, 1, 1}, sizes);
    ASSERT_EQ(le::Get16(file.data() + 4), 13);
    const int widths[13] = {48, 32, 16, 48, 32, 16, 48, 32, 16, 0, 48, 32, 16};
    const int bits[13] = {4, 4, 4, 8, 8, 8, 24, 24, 24, 32, 32, 32, 32};
    for (int k = 0; k < 13; ++k) {
        EXPECT_EQ(EntryAt(file, k).width, widths[k]) << k;
        EXPECT_EQ(EntryAt(file, k).bits, bits[k]) << k;
    }
    EXPECT_EQ(EntryAt(file, 9).bytes, 270376u);

    std::vector<std::uint8_t> without32 = Build(store, FormatChoices{1, 1, 1, 0, 0}, sizes);
    ASSERT_EQ(le::Get16(without32.data() + 4), 10);
    EXPECT_EQ(EntryAt(without32, 6).width, 0);  // the 24-bit kind keeps the 256 image
    EXPECT_EQ(EntryAt(without32, 6).bits, 24);
}

TEST(IconWriter, OnlyThirtyTwoBitUsesItsOwnMasks) {
    ImageStore store;
    DrawDisc(store.source, 48, 48);
    SizeChoices sizes;
    sizes.sizes = {0, 1, 0, 0, 1};
    std::vector<std::uint8_t> file = Build(store, FormatChoices{0, 0, 0, 1, 1}, sizes);
    EXPECT_EQ(store.kindCount, 0);
    ASSERT_EQ(le::Get16(file.data() + 4), 2);
    const CDib& mask = store.table32[4].mask;
    EXPECT_TRUE(std::equal(mask.Pixels(), mask.Pixels() + 64, file.end() - 64));
    EXPECT_EQ(file.size(), 6 + 32 + 9640 + 1128u);
}

TEST(IconWriterFile, WriteFailureKeepsTheOldFileAndLeavesNothingBehind) {
    TempDir dir;
    ImageStore store;
    DrawDisc(store.source, 48, 48);
    FormatChoices format{1, 0, 0, 0, 0};
    SizeChoices sizes;
    sizes.sizes = {0, 1, 0, 0, 1};
    ASSERT_TRUE(BuildImageSet(store, format, sizes));
    const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
    WriteFile(dir / "out.ico", old);
    for (FileOp op : {FileOp::Write, FileOp::Sync, FileOp::Close, FileOp::Rename}) {
        for (unsigned nth : {1u, 3u}) {
            if (nth > 1 && op != FileOp::Write) continue;
            MessageRecorder recorder;
            InjectFileFailure(op, nth);
            EXPECT_FALSE(WriteIconFile(store, dir / "out.ico", format, sizes));
            ClearFileFailures();
            EXPECT_EQ(recorder.OnlyId(), static_cast<unsigned>(IDS_CANNOT_WRITE));
            EXPECT_EQ(ReadFile(dir / "out.ico"), old);
            std::size_t files = 0;
            for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
            EXPECT_EQ(files, 1u);
        }
    }
    MessageRecorder recorder;
    ASSERT_TRUE(WriteIconFile(store, dir / "out.ico", format, sizes));
    EXPECT_EQ(ReadFile(dir / "out.ico").size(), 6 + 32 + 7336 + 872u);
    EXPECT_TRUE(recorder.messages.empty());
}

TEST(IconWriterFile, UnwritableFolderShowsCannotCreate) {
    TempDir dir;
    ImageStore store;
    DrawDisc(store.source, 16, 16);
    FormatChoices format{1, 0, 0, 0, 0};
    SizeChoices sizes;
    sizes.sizes = {0, 0, 0, 0, 1};
    ASSERT_TRUE(BuildImageSet(store, format, sizes));
    MessageRecorder recorder;
    EXPECT_FALSE(WriteIconFile(store, dir / "no/such/folder.ico", format, sizes));
    EXPECT_EQ(recorder.OnlyId(), static_cast<unsigned>(IDS_CANNOT_CREATE));
    EXPECT_FALSE(std::filesystem::exists(dir / "no"));
}
