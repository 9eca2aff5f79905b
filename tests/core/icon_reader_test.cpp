#include <gtest/gtest.h>

#include <tuple>

#include "icon/icon_reader.h"
#include "icon/icon_writer.h"
#include "image/little_endian.h"
#include "job/image_set_builder.h"
#include "support/memory_sink.h"
#include "support/pictures.h"

using namespace zentro;
using namespace zentro::test;

namespace {

std::vector<std::uint8_t> EveryKindIcon(ImageStore& store) {
    DrawDisc(store.source, 64, 64);
    FormatChoices format{1, 1, 1, 1, 1};
    SizeChoices sizes;
    sizes.sizes = {0, 1, 1, 0, 1};
    EXPECT_TRUE(BuildImageSet(store, format, sizes));
    MemorySink sink;
    WriteIcon(sink, store, format, sizes);
    return sink.bytes;
}

std::string Faults(const IconFileInfo& info) {
    std::string all;
    for (const IconFinding& f : info.findings)
        if (f.fault) all += f.text + "\n";
    return all;
}

}  // namespace

// Each entry decodes to what the store held: colours where the mask is clear
// (and 32-bit alpha), alpha 0 where an AND mask is set.
TEST(IconReader, DecodesOurOwnIconsToTheStoresPixels) {
    ImageStore store;
    const std::vector<std::uint8_t> file = EveryKindIcon(store);
    const IconFileInfo info = ReadIconFile(file.data(), file.size());
    EXPECT_EQ(info.type, 1);
    EXPECT_TRUE(info.findings.empty()) << info.findings[0].text;
    ASSERT_EQ(info.entries.size(), store.entries.size());
    for (std::size_t k = 0; k < info.entries.size(); ++k) {
        const CDib& image = store.EntryImage(store.entries[k]);
        const CDib& mask = store.EntryMask(store.entries[k]);
        const IconEntryInfo& e = info.entries[k];
        ASSERT_TRUE(e.readable);
        EXPECT_EQ(e.format, IconImageFormat::Bmp);
        EXPECT_EQ(std::make_tuple(e.width, e.height, e.bitCount),
                  std::make_tuple(image.Width(), image.Height(), image.BitCount()));
        Picture picture;
        ASSERT_TRUE(DecodeBmpIconEntry(file.data(), file.size(), e, picture));
        int differences = 0;
        for (int y = 0; y < image.Height(); ++y) {
            for (int x = 0; x < image.Width(); ++x) {
                std::uint8_t want[3], got[3];
                image.GetPixel(x, y, want);
                picture.colour.GetPixel(x, y, got);
                const int alpha = image.BitCount() == 32 ? image.PixelPtr32(x, y)[3] : mask.GetMaskBit(x, y) ? 0 : 255;
                differences += std::equal(want, want + 3, got) ? 0 : 1;
                differences += picture.alpha.Row(y)[x] == alpha ? 0 : 1;
            }
        }
        EXPECT_EQ(differences, 0) << "entry " << k;
    }
    // One image for each size, the deepest, in the order the sizes first come.
    std::vector<std::tuple<int, int>> deepest;
    for (int k : DeepestIconEntries(info)) deepest.emplace_back(info.entries[k].width, info.entries[k].bitCount);
    EXPECT_EQ(deepest, (std::vector<std::tuple<int, int>>{{48, 32}, {32, 32}, {16, 32}}));
}

// Hostile or broken icons: each fault is named, nothing is read out of bounds
// (the sanitizer builds watch that), and what cannot be located is not readable.
TEST(IconReader, NamesEachFaultOfBrokenIcons) {
    ImageStore store;
    const std::vector<std::uint8_t> good = EveryKindIcon(store);
    const auto broken = [&](auto change) {
        std::vector<std::uint8_t> file = good;
        change(file);
        return ReadIconFile(file.data(), file.size());
    };
    const std::uint32_t second = le::Get32(good.data() + 6 + 16 + 12);
    struct Case {
        const char* expected;
        IconFileInfo info;
    } cases[] = {
        {"fewer than an icon header", ReadIconFile(good.data(), 5)},
        {"reserved field is 7", broken([](auto& f) { f[0] = 7; })},
        {"neither 1 (icon) nor 2", broken([](auto& f) { f[2] = 9; })},
        {"60000 entries need a directory", broken([](auto& f) { le::Put16(f.data() + 4, 60000); })},
        {"entry 0: the image at offset 4294967295", broken([](auto& f) { le::Put32(f.data() + 6 + 12, 0xFFFFFFFF); })},
        {"entry 1: the image at offset", broken([](auto& f) { le::Put32(f.data() + 6 + 16 + 8, 0x7FFFFFFF); })},
        {"lies within the header or directory", broken([](auto& f) { le::Put32(f.data() + 6 + 12, 20); })},
        {"overlaps that of entry 1", broken([&](auto& f) { le::Put32(f.data() + 6 + 12, second - 8); })},
        {"the directory says 47x48", broken([&](auto& f) { f[6] = 47; })},
        {"bits per pixel, the directory says 8", broken([&](auto& f) { le::Put16(f.data() + 6 + 6, 8); })},
        {"header claims 40000 bytes",
         broken([&](auto& f) { le::Put32(f.data() + le::Get32(f.data() + 6 + 12), 40000); })},
        {"need", broken([&](auto& f) { le::Put32(f.data() + 6 + 8, le::Get32(f.data() + 6 + 8) - 1); })},
        {"PNG image without a complete IHDR", broken([&](auto& f) {
             const std::uint8_t sig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
             std::copy(sig, sig + 8, f.begin() + le::Get32(f.data() + 6 + 12));
         })},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(c.info.HasFault()) << c.expected;
        EXPECT_NE(Faults(c.info).find(c.expected), std::string::npos) << c.expected << "\n got:\n" << Faults(c.info);
    }
    // A located but too short entry cannot be decoded; the intact ones still can.
    const IconFileInfo cut = ReadIconFile(good.data(), second + 100);
    EXPECT_TRUE(cut.entries[0].readable);
    EXPECT_FALSE(cut.entries[1].readable);
    Picture picture;
    EXPECT_FALSE(DecodeBmpIconEntry(good.data(), second + 100, cut.entries[1], picture));
}
