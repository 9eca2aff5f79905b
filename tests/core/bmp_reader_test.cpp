#include <gtest/gtest.h>
#include <sys/stat.h>

#include "image/dib.h"
#include "platform/file.h"
#include "platform/string_table.h"
#include "support/bmp_builder.h"
#include "support/message_recorder.h"

using namespace zentro;
using namespace zentro::test;

namespace {

struct Loaded {
    bool ok;
    unsigned message;  // the only message shown, 0 for none
    std::size_t messageCount;
    MessageIcon icon;
};

Loaded LoadBytes(CDib& dib, const std::vector<std::uint8_t>& bytes) {
    TempDir dir;
    WriteFile(dir / "in.bmp", bytes);
    MessageRecorder recorder;
    bool ok = dib.Load(dir / "in.bmp");
    MessageIcon icon = recorder.messages.empty() ? MessageIcon::Exclamation : recorder.messages[0].icon;
    return {ok, recorder.OnlyId(), recorder.messages.size(), icon};
}

std::vector<std::uint8_t> Colour(const CDib& dib, int x, int y) {
    std::uint8_t c[3];
    dib.GetPixel(x, y, c);
    return {c[0], c[1], c[2]};
}

}  // namespace

TEST(BmpReader, Reads24BitFileAsStoredWithItsHeader) {
    // 3 x 2, top row red green blue, bottom row white black grey; width 3 pads each row to 12 bytes.
    std::vector<std::uint8_t> bytes = Encode24(3, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080});
    bytes[38] = 0x13;  // horizontal resolution, kept as the file says
    CDib dib;
    Loaded r = LoadBytes(dib, bytes);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.messageCount, 0u);
    EXPECT_EQ(dib.BitCount(), 24);
    EXPECT_EQ(dib.Header().xPelsPerMeter, 0x13);
    EXPECT_EQ(Colour(dib, 0, 1), (std::vector<std::uint8_t>{255, 0, 0}));
    EXPECT_EQ(Colour(dib, 2, 1), (std::vector<std::uint8_t>{0, 0, 255}));
    EXPECT_EQ(Colour(dib, 2, 0), (std::vector<std::uint8_t>{128, 128, 128}));
    EXPECT_EQ(dib.GetCornerFlag(), 0);
}

TEST(BmpReader, SkipsBytesBetweenHeaderAndPixelsOf24BitFile) {
    BmpLayout layout;
    layout.width = 1;
    layout.height = 1;
    layout.pixels = {1, 2, 3, 0};
    layout.offBits = 54 + 8;
    CDib dib;
    ASSERT_TRUE(LoadBytes(dib, EncodeBmp(layout)).ok);
    EXPECT_EQ(Colour(dib, 0, 0), (std::vector<std::uint8_t>{3, 2, 1}));
    EXPECT_EQ(dib.GetCornerFlag(), 1);
}

TEST(BmpReader, ConvertsOneBitThroughItsPalette) {
    // 9 x 2: odd width crosses a byte; palette white, black.
    BmpLayout layout;
    layout.width = 9;
    layout.height = 2;
    layout.bitCount = 1;
    layout.palette = {0xFFFFFF, 0x000000};
    layout.pixels = {0x80, 0x80, 0, 0, 0x00, 0x00, 0, 0};  // row 0: pixels 0 and 8 are bit 1
    CDib dib;
    ASSERT_TRUE(LoadBytes(dib, EncodeBmp(layout)).ok);
    EXPECT_EQ(dib.BitCount(), 24);
    EXPECT_EQ(dib.Header().size, 40u);
    EXPECT_EQ(Colour(dib, 0, 0), (std::vector<std::uint8_t>{0, 0, 0}));
    EXPECT_EQ(Colour(dib, 1, 0), (std::vector<std::uint8_t>{255, 255, 255}));
    EXPECT_EQ(Colour(dib, 8, 0), (std::vector<std::uint8_t>{0, 0, 0}));
    EXPECT_EQ(Colour(dib, 8, 1), (std::vector<std::uint8_t>{255, 255, 255}));
}

TEST(BmpReader, ConvertsFourAndEightBitWithShortPalettes) {
    BmpLayout four;
    four.width = 3;
    four.height = 1;
    four.bitCount = 4;
    four.palette = {0x000000, 0x112233, 0x445566};  // shorter than 16 entries
    four.pixels = {0x12, 0x00, 0, 0};
    CDib dib;
    ASSERT_TRUE(LoadBytes(dib, EncodeBmp(four)).ok);
    EXPECT_EQ(Colour(dib, 0, 0), (std::vector<std::uint8_t>{0x11, 0x22, 0x33}));
    EXPECT_EQ(Colour(dib, 1, 0), (std::vector<std::uint8_t>{0x44, 0x55, 0x66}));
    EXPECT_EQ(Colour(dib, 2, 0), (std::vector<std::uint8_t>{0, 0, 0}));

    BmpLayout eight;
    eight.width = 5;
    eight.height = 1;
    eight.bitCount = 8;
    eight.palette.assign(256, 0);
    eight.palette[255] = 0xABCDEF;
    eight.pixels = {255, 0, 0, 0, 255, 0, 0, 0};
    ASSERT_EQ(EncodeBmp(eight)[10], 1078 & 0xFF);
    ASSERT_TRUE(LoadBytes(dib, EncodeBmp(eight)).ok);
    EXPECT_EQ(Colour(dib, 4, 0), (std::vector<std::uint8_t>{0xAB, 0xCD, 0xEF}));
    EXPECT_EQ(dib.GetCornerFlag(), 1);  // one row: top-left is bottom-left, and the ends match
}

TEST(BmpReader, ShortPaletteNeverTakesColoursOfAnEarlierFile) {
    BmpLayout full;
    full.width = 1;
    full.height = 1;
    full.bitCount = 8;
    full.palette.assign(256, 0xFFFFFF);
    full.pixels = {7, 0, 0, 0};
    BmpLayout shortPalette = full;
    shortPalette.palette = {0x010203};  // index 7 is beyond the palette
    CDib dib;
    ASSERT_TRUE(LoadBytes(dib, EncodeBmp(full)).ok);
    EXPECT_EQ(Colour(dib, 0, 0), (std::vector<std::uint8_t>{255, 255, 255}));
    ASSERT_TRUE(LoadBytes(dib, EncodeBmp(shortPalette)).ok);
    EXPECT_EQ(Colour(dib, 0, 0), (std::vector<std::uint8_t>{0, 0, 0}));
}

TEST(BmpReader, CornerFlagIgnoresTopRight) {
    CDib dib;
    ASSERT_TRUE(LoadBytes(dib, Encode24(2, 2, {0x0000FF, 0xFF0000, 0x0000FF, 0x0000FF})).ok);
    EXPECT_EQ(dib.GetCornerFlag(), 1);
    ASSERT_TRUE(LoadBytes(dib, Encode24(2, 2, {0x0000FF, 0x0000FF, 0x0000FF, 0x0000FE})).ok);
    EXPECT_EQ(dib.GetCornerFlag(), 0);
}

TEST(BmpReader, ShortPixelDataLeavesRowsZero) {
    BmpLayout layout;
    layout.width = 1;
    layout.height = 2;
    layout.pixels = {9, 9, 9, 0};  // one row of two
    layout.fileSize = 54 + 4;
    CDib dib;
    ASSERT_TRUE(LoadBytes(dib, EncodeBmp(layout)).ok);
    EXPECT_EQ(Colour(dib, 0, 0), (std::vector<std::uint8_t>{9, 9, 9}));
    EXPECT_EQ(Colour(dib, 0, 1), (std::vector<std::uint8_t>{0, 0, 0}));
}

TEST(BmpReader, FileEndingEarlyIsNoError) {
    std::vector<std::uint8_t> bytes = Encode24(4, 4, std::vector<std::uint32_t>(16, 0x336699));
    bytes.resize(54 + 12);  // the header promises 64 pixel bytes
    CDib dib;
    Loaded r = LoadBytes(dib, bytes);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(Colour(dib, 3, 0), (std::vector<std::uint8_t>{0x33, 0x66, 0x99}));
    EXPECT_EQ(Colour(dib, 0, 1), (std::vector<std::uint8_t>{0, 0, 0}));
}

TEST(BmpReader, EachRefusalShowsExactlyOneMessage) {
    auto base = [] {
        BmpLayout s;
        s.width = 2;
        s.height = 2;
        return s;
    };
    // One refusal a line, each a small change to the base layout.
    // clang-format off
    struct Case { const char* what; BmpLayout layout; unsigned id; } cases[] = {
        {"info header of 12 bytes", [&] { auto s = base(); s.headerSize = 12; return s; }(), IDS_UNSUPPORTED_BITMAP},
        {"info header of 124 bytes", [&] { auto s = base(); s.headerSize = 124; return s; }(), IDS_UNSUPPORTED_BITMAP},
        {"16 bits", [&] { auto s = base(); s.bitCount = 16; return s; }(), IDS_UNSUPPORTED_BITMAP},
        {"32 bits", [&] { auto s = base(); s.bitCount = 32; return s; }(), IDS_UNSUPPORTED_BITMAP},
        {"zero width", [&] { auto s = base(); s.width = 0; return s; }(), IDS_UNSUPPORTED_BITMAP},
        {"top-down", [&] { auto s = base(); s.height = -2; return s; }(), IDS_UNSUPPORTED_BITMAP},
        {"more data than pixels", [&] { auto s = base(); s.fileSize = 54 + 17; return s; }(), IDS_UNSUPPORTED_BITMAP},
        {"size below offset", [&] { auto s = base(); s.fileSize = 50; return s; }(), IDS_UNSUPPORTED_BITMAP},
        {"offset 53", [&] { auto s = base(); s.offBits = 53; s.fileSize = 53 + 16; return s; }(), IDS_UNSUPPORTED_BITMAP},
        {"table of 1025 bytes",
         [&] { auto s = base(); s.bitCount = 8; s.offBits = 1079; s.fileSize = 1079 + 8; return s; }(),
         IDS_UNSUPPORTED_BITMAP},
        {"run-length 8 bits", [&] { auto s = base(); s.bitCount = 8; s.compression = 1; return s; }(), IDS_NO_DIB_MEMORY},
        {"pixels beyond 32 bits",
         [&] { auto s = base(); s.width = 70000; s.height = 70000; s.pixels = {0}; s.fileSize = 40; return s; }(),
         IDS_PICTURE_TOO_LARGE},
        {"too many pixels",
         [&] { auto s = base(); s.width = 20000; s.height = 20000; s.bitCount = 1; s.pixels = {0}; return s; }(),
         IDS_PICTURE_TOO_LARGE},
    };
    // clang-format on
    for (const auto& c : cases) {
        CDib dib;
        Loaded r = LoadBytes(dib, EncodeBmp(c.layout));
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_EQ(r.message, c.id) << c.what;
        EXPECT_EQ(r.icon, MessageIcon::Error) << c.what;
        EXPECT_FALSE(dib.HasPicture()) << c.what;
    }
}

TEST(BmpReader, TableOfExactly1024BytesIsAccepted) {
    BmpLayout layout;
    layout.width = 1;
    layout.height = 1;
    layout.bitCount = 8;
    layout.offBits = 1078;
    CDib dib;
    EXPECT_TRUE(LoadBytes(dib, EncodeBmp(layout)).ok);
}

TEST(BmpReader, ShortFilesCountMissingHeaderBytesAsZero) {
    CDib dib;
    EXPECT_EQ(LoadBytes(dib, {}).message, IDS_NOT_A_BITMAP);
    EXPECT_EQ(LoadBytes(dib, {'B', 'M', 1, 2, 3}).message, IDS_UNSUPPORTED_BITMAP);
    EXPECT_EQ(LoadBytes(dib, {0x89, 'P', 'N', 'G', 13, 10, 26, 10}).message, IDS_NOT_A_BITMAP);
}

TEST(BmpReader, MissingFileFolderAndPipeAreNotFound) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "pipe.bmp").c_str(), 0600), 0);
    for (const std::string& path : {dir / "absent.bmp", dir.path(), dir / "pipe.bmp", std::string("/dev/zero")}) {
        CDib dib;
        ASSERT_TRUE(dib.Create(2, 2, 24));
        MessageRecorder recorder;
        EXPECT_FALSE(dib.Load(path)) << path;
        EXPECT_EQ(recorder.OnlyId(), static_cast<unsigned>(IDS_FILE_NOT_FOUND)) << path;
        EXPECT_FALSE(dib.HasPicture()) << path;
    }
}

TEST(BmpReader, ReadErrorShowsCannotReadOnce) {
    TempDir dir;
    WriteFile(dir / "in.bmp", Encode24(2, 2, {1, 2, 3, 4}));
    for (unsigned nth : {1u, 2u, 3u}) {
        CDib dib;
        MessageRecorder recorder;
        InjectFileFailure(FileOp::Read, nth);
        EXPECT_FALSE(dib.Load(dir / "in.bmp"));
        ClearFileFailures();
        EXPECT_EQ(recorder.OnlyId(), static_cast<unsigned>(IDS_CANNOT_READ)) << nth;
    }
}

TEST(BmpReader, FailingCloseIsSilent) {
    TempDir dir;
    WriteFile(dir / "in.bmp", Encode24(1, 1, {5}));
    CDib dib;
    MessageRecorder recorder;
    InjectFileFailure(FileOp::Close, 1);
    EXPECT_TRUE(dib.Load(dir / "in.bmp"));
    ClearFileFailures();
    EXPECT_TRUE(recorder.messages.empty());
}

TEST(BmpReader, NoMemoryForConversionKeepsPaletteFile) {
    BmpLayout layout;
    layout.width = 2;
    layout.height = 2;
    layout.bitCount = 8;
    layout.palette = {0x000000};
    CDib dib;
    InjectAllocationFailure(2);  // the file's own pixels succeed, the 24-bit copy fails
    Loaded r = LoadBytes(dib, EncodeBmp(layout));
    InjectAllocationFailure(0);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, static_cast<unsigned>(IDS_NO_DIB_MEMORY));
    EXPECT_EQ(dib.BitCount(), 8);
}
