// Files that are not the bitmaps they claim to be: each is refused with exactly
// one message (or read as far as it goes), and nothing crashes or reads outside
// the file's bytes.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>

#include "image/dib.h"
#include "image/little_endian.h"
#include "platform/string_table.h"
#include "support/bmp_builder.h"
#include "support/message_recorder.h"

using namespace zentro;
using namespace zentro::test;

namespace {

struct Outcome {
    bool loaded;
    std::vector<Message> messages;
};

Outcome LoadFile(CDib& dib, const std::string& path) {
    MessageRecorder recorder;
    const bool loaded = dib.Load(path);
    return {loaded, recorder.messages};
}

Outcome LoadBytes(CDib& dib, const std::vector<std::uint8_t>& bytes) {
    TempDir dir;
    WriteFile(dir / "in.bmp", bytes);
    return LoadFile(dib, dir / "in.bmp");
}

unsigned OnlyId(const Outcome& o) { return o.messages.size() == 1 ? o.messages[0].id : 0; }

BmpLayout Small24() {
    BmpLayout layout;
    layout.width = 2;
    layout.height = 2;
    layout.pixels.assign(16, 0x5A);
    return layout;
}

}  // namespace

TEST(HostileBitmaps, RandomBytesShowOneErrorAndLeaveNoPicture) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> bytes(random() % 300);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
        // Half of them get past the signature to the header checks.
        if (round % 2 == 1 && bytes.size() >= 2) {
            bytes[0] = 'B';
            bytes[1] = 'M';
        }
        CDib dib;
        const Outcome o = LoadBytes(dib, bytes);
        if (o.loaded) {
            // Possible in principle; then it must be a whole 24-bit picture.
            EXPECT_TRUE(o.messages.empty());
            EXPECT_EQ(dib.BitCount(), 24);
            continue;
        }
        ASSERT_EQ(o.messages.size(), 1u) << "round " << round;
        EXPECT_EQ(o.messages[0].icon, MessageIcon::Error);
        const unsigned id = o.messages[0].id;
        EXPECT_TRUE(id == IDS_NOT_A_BITMAP || id == IDS_UNSUPPORTED_BITMAP || id == IDS_NO_DIB_MEMORY) << id;
        if (id != IDS_NO_DIB_MEMORY) {
            EXPECT_FALSE(dib.HasPicture());
        }
    }
}

TEST(HostileBitmaps, PngAndJpegNamedBmpAreNotBitmaps) {
    TempDir dir;
    const std::string make =
        "/usr/bin/python3 -c \"from PIL import Image; im = Image.new('RGB', (20, 10), (200, 30, 30)); "
        "im.save('" +
        dir.path() + "/picture.png'); im.save('" + dir.path() + "/picture.jpg')\"";
    if (std::system(make.c_str()) != 0) GTEST_SKIP() << "Pillow (python3-pil) is not installed";
    for (const char* kind : {"png", "jpg"}) {
        const std::string named = dir / (std::string("really_") + kind + ".bmp");
        WriteFile(named, ReadFile(dir / (std::string("picture.") + kind)));
        ASSERT_GT(ReadFile(named).size(), 54u) << kind;
        CDib dib;
        const Outcome o = LoadFile(dib, named);
        EXPECT_FALSE(o.loaded) << kind;
        EXPECT_EQ(OnlyId(o), static_cast<unsigned>(IDS_NOT_A_BITMAP)) << kind;
    }
}

TEST(HostileBitmaps, TooShortForTheHeaders) {
    std::vector<std::uint8_t> whole = EncodeBmp(Small24());
    for (std::size_t length : {0, 1, 2, 13, 14, 17, 21}) {
        CDib dib;
        const Outcome o = LoadBytes(dib, std::vector<std::uint8_t>(whole.begin(), whole.begin() + length));
        EXPECT_FALSE(o.loaded) << length;
        // The missing header bytes count as zero: no signature, or no size, width or height.
        EXPECT_EQ(OnlyId(o), static_cast<unsigned>(length < 2 ? IDS_NOT_A_BITMAP : IDS_UNSUPPORTED_BITMAP)) << length;
    }
    // All 54 header bytes and no pixel: a black picture, as a file ending early is no error.
    CDib dib;
    EXPECT_TRUE(LoadBytes(dib, std::vector<std::uint8_t>(whole.begin(), whole.begin() + 54)).loaded);
    std::uint8_t colour[3] = {1, 1, 1};
    dib.GetPixel(1, 1, colour);
    EXPECT_EQ(colour[0] + colour[1] + colour[2], 0);
}

TEST(HostileBitmaps, WidthsAndHeightsAtAndBeyondEveryLimit) {
    struct Case {
        std::int32_t width, height;
        int bits;
        unsigned id;  // 0: accepted
    } cases[] = {
        {0, 1, 24, IDS_UNSUPPORTED_BITMAP},
        {1, 0, 24, IDS_UNSUPPORTED_BITMAP},
        {-1, 1, 24, IDS_UNSUPPORTED_BITMAP},
        {1, -1, 24, IDS_UNSUPPORTED_BITMAP},
        {INT32_MIN, 1, 8, IDS_UNSUPPORTED_BITMAP},
        {1, INT32_MIN, 8, IDS_UNSUPPORTED_BITMAP},
        {INT32_MAX, 1, 24, IDS_PICTURE_TOO_LARGE},  // more than 4 GiB of pixel bytes
        {1, INT32_MAX, 24, IDS_PICTURE_TOO_LARGE},
        {INT32_MAX, INT32_MAX, 1, IDS_PICTURE_TOO_LARGE},
        {INT32_MAX, 1, 1, IDS_PICTURE_TOO_LARGE},  // 256 MiB of bytes, but too many pixels
        {65536, 65536, 1, IDS_PICTURE_TOO_LARGE},
        {16385, 16384, 24, IDS_PICTURE_TOO_LARGE},
        {1, 1, 24, 0},
    };
    for (const Case& c : cases) {
        BmpLayout layout;
        layout.width = c.width;
        layout.height = c.height;
        layout.bitCount = c.bits;
        layout.pixels = {0x11, 0x22, 0x33, 0};  // a tiny file whatever the header claims
        if (c.bits == 8) layout.palette = {0x123456};
        CDib dib;
        const Outcome o = LoadBytes(dib, EncodeBmp(layout));
        const std::string what = std::to_string(c.width) + " x " + std::to_string(c.height);
        EXPECT_EQ(o.loaded, c.id == 0) << what;
        EXPECT_EQ(o.messages.size(), c.id == 0 ? 0u : 1u) << what;
        if (c.id != 0) {
            EXPECT_EQ(OnlyId(o), c.id) << what;
            EXPECT_FALSE(dib.HasPicture()) << what;
        }
    }
}

TEST(HostileBitmaps, LargestPictureFromATinyFileIsAcceptedWithoutTouchingItAll) {
    // 16384 x 16384 is the most that CDib takes: 768 MiB of zero pixels, given by
    // the system lazily, of which only the 4 bytes in the file are written.
    BmpLayout layout;
    layout.width = 16384;
    layout.height = 16384;
    layout.pixels = {0x10, 0x20, 0x30, 0x40};
    CDib dib;
    const Outcome o = LoadBytes(dib, EncodeBmp(layout));
    ASSERT_TRUE(o.loaded);
    std::uint8_t colour[3];
    dib.GetPixel(1, 0, colour);
    EXPECT_EQ(colour[2], 0x40);
    dib.GetPixel(16383, 16383, colour);
    EXPECT_EQ(colour[0] + colour[1] + colour[2], 0);
    EXPECT_EQ(dib.GetCornerFlag(), 0);
}

TEST(HostileBitmaps, OffsetsAndSizesAtAndBeyondEveryLimit) {
    // 2 x 2 at 24 bits: 16 bytes of pixels at offset 54 of a 70-byte file.
    struct Case {
        const char* what;
        std::int64_t offBits, fileSize;
        unsigned id;  // 0: accepted
    } cases[] = {
        {"size just the headers: no pixel read", 54, 54, 0},
        {"all the pixel data", 54, 70, 0},
        {"one byte more than the pixels", 54, 71, IDS_UNSUPPORTED_BITMAP},
        {"size below offset", 54, 53, IDS_UNSUPPORTED_BITMAP},
        {"size 0", 54, 0, IDS_UNSUPPORTED_BITMAP},
        {"size at the top of 32 bits", 54, 0xFFFFFFFF, IDS_UNSUPPORTED_BITMAP},
        {"offset 0", 0, 16, IDS_UNSUPPORTED_BITMAP},
        {"offset 53", 53, 69, IDS_UNSUPPORTED_BITMAP},
        {"offset with a 1024-byte table", 1078, 1094, 0},
        {"offset with a 1025-byte table", 1079, 1095, IDS_UNSUPPORTED_BITMAP},
        {"offset beyond the signed range", 0x80000036, 0x80000046, IDS_UNSUPPORTED_BITMAP},
        {"offset at the top of 32 bits", 0xFFFFFFFF, 0xFFFFFFFF, IDS_UNSUPPORTED_BITMAP},
        {"offset and size wrapping to 16 bytes", 0xFFFFFFF8, 8, IDS_UNSUPPORTED_BITMAP},
    };
    for (const Case& c : cases) {
        // Pixels at the offset where the file can have them there, else at 54; the
        // header fields are then set as the case says.
        BmpLayout layout = Small24();
        if (c.offBits >= 54 && c.offBits <= 4096) layout.offBits = c.offBits;
        std::vector<std::uint8_t> bytes = EncodeBmp(layout);
        le::Put32(&bytes[2], static_cast<std::uint32_t>(c.fileSize));
        le::Put32(&bytes[10], static_cast<std::uint32_t>(c.offBits));
        CDib dib;
        const Outcome o = LoadBytes(dib, bytes);
        EXPECT_EQ(o.loaded, c.id == 0) << c.what;
        if (c.id != 0) {
            EXPECT_EQ(OnlyId(o), c.id) << c.what;
        }
        if (!o.loaded) continue;
        EXPECT_TRUE(o.messages.empty()) << c.what;
        // Pixels come from the offset on, as far as the stated size and the file reach.
        std::uint8_t colour[3];
        dib.GetPixel(0, 0, colour);
        const bool read = c.fileSize > c.offBits;
        EXPECT_EQ(colour[0], read ? 0x5A : 0) << c.what;
    }
}
