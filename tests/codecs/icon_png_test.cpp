// PNG images in icons, held against libpng's own reader and the BMP form of the same job.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>

#include "codecs/png_encoder.h"
#include "icon/icon_reader.h"
#include "icon/icon_writer.h"
#include "job/image_set_builder.h"
#include "support/memory_sink.h"
#include "support/pictures.h"

using namespace zentro;
using namespace zentro::test;

namespace {

std::vector<std::uint8_t> LibpngRgba(const std::uint8_t* data, std::size_t size, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return {};
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return pixels;
}

std::string ChunkTypes(const std::uint8_t* png, std::size_t size) {
    std::string types;
    for (std::size_t at = 8; at + 8 <= size;) {
        const std::size_t length =
            (std::size_t{png[at]} << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
        types += std::string(reinterpret_cast<const char*>(png + at + 4), 4) + " ";
        at += 12 + length;
    }
    return types;
}

}  // namespace

TEST(IconPng, PngEntriesDecodeToTheRgbaOfTheirBmpForm) {
    ImageStore store;
    DrawDisc(store.source, 256, 256);  // soft edges: alpha of every value
    FormatChoices format{1, 1, 1, 1, 1};
    SizeChoices sizes;
    sizes.anySizes = {16, 20, 24, 32, 40, 48, 64, 96, 256};
    ASSERT_TRUE(BuildImageSet(store, format, sizes));
    MemorySink bmpIcon;
    WriteIcon(bmpIcon, store, format, sizes);
    const std::vector<std::uint8_t>& b = bmpIcon.bytes;
    const IconFileInfo bmpInfo = ReadIconFile(b.data(), b.size());
    EXPECT_FALSE(bmpInfo.HasFault());
    // Both writers: libpng's at its best compression and the quick one of today's rules.
    using Encoder = bool (*)(const RgbaImage&, std::vector<std::uint8_t>&);
    for (const auto& [name, encode] : {std::pair<const char*, Encoder>{"EncodePng", codecs::EncodePng},
                                       std::pair<const char*, Encoder>{"EncodePngQuickly", codecs::EncodePngQuickly}}) {
        SCOPED_TRACE(name);
        PngForms forms, again;
        MemorySink pngIcon;
        ASSERT_TRUE(MakePngForms(store, format, sizes, {PngImages::All, encode}, forms));
        ASSERT_TRUE(MakePngForms(store, format, sizes, {PngImages::All, encode}, again));
        EXPECT_EQ(forms, again);
        WriteIcon(pngIcon, store, format, sizes, forms);

        const std::vector<std::uint8_t>& p = pngIcon.bytes;
        const IconFileInfo pngInfo = ReadIconFile(p.data(), p.size());
        EXPECT_TRUE(pngInfo.findings.empty()) << pngInfo.findings[0].text;
        ASSERT_EQ(bmpInfo.entries.size(), pngInfo.entries.size());
        int pngEntries = 0;
        for (std::size_t k = 0; k < pngInfo.entries.size(); ++k) {
            const IconEntryInfo& be = bmpInfo.entries[k];
            const IconEntryInfo& pe = pngInfo.entries[k];
            EXPECT_EQ(std::make_tuple(be.width, be.height, be.bitCount),
                      std::make_tuple(pe.width, pe.height, pe.bitCount));
            EXPECT_EQ(std::make_tuple(be.dir.width, be.dir.height, be.dir.bitCount, be.dir.planes),
                      std::make_tuple(pe.dir.width, pe.dir.height, pe.dir.bitCount, pe.dir.planes));
            const std::uint8_t* pngData = p.data() + pe.dir.imageOffset;
            if (be.bitCount != 32) {
                EXPECT_EQ(pe.format, IconImageFormat::Bmp);
                EXPECT_TRUE(std::equal(b.begin() + be.dir.imageOffset,
                                       b.begin() + be.dir.imageOffset + be.dir.bytesInResource, pngData,
                                       pngData + pe.dir.bytesInResource));
                continue;
            }
            ++pngEntries;
            ASSERT_EQ(pe.format, IconImageFormat::Png) << k;
            EXPECT_EQ(pe.dir.bytesInResource, forms[k].size());
            EXPECT_EQ(ChunkTypes(pngData, pe.dir.bytesInResource), "IHDR IDAT IEND ") << k;
            int width = 0, height = 0;
            const std::vector<std::uint8_t> fromPng = LibpngRgba(pngData, pe.dir.bytesInResource, width, height);
            EXPECT_EQ(std::make_pair(width, height), std::make_pair(be.width, be.height));
            Picture picture;
            RgbaImage fromBmp;
            ASSERT_TRUE(DecodeBmpIconEntry(b.data(), b.size(), be, picture));
            ASSERT_TRUE(RgbaFromPicture(picture, fromBmp));
            EXPECT_TRUE(fromPng == fromBmp.pixels) << "entry " << k;
        }
        EXPECT_EQ(pngEntries, 9);
    }

    // With only the 256 images as PNG, every other entry keeps its BMP bytes.
    PngForms forms;
    ASSERT_TRUE(MakePngForms(store, format, sizes, {PngImages::Only256, codecs::EncodePng}, forms));
    for (std::size_t k = 0; k < forms.size(); ++k)
        EXPECT_EQ(forms[k].empty(), bmpInfo.entries[k].width != 256 || bmpInfo.entries[k].bitCount != 32) << k;
}

TEST(IconPng, QuickPngsOfAnyWidthDecodeToTheirPixels) {
    // Widths whose rows end inside and on the filter's eight-byte steps; bytes of every value.
    for (int width : {1, 2, 3, 5, 6, 33}) {
        RgbaImage image{width, 3, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * 3 * 4)};
        for (std::size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<std::uint8_t>(i * 97 + 13);
        std::vector<std::uint8_t> png;
        ASSERT_TRUE(codecs::EncodePngQuickly(image, png));
        int w = 0, h = 0;
        EXPECT_EQ(LibpngRgba(png.data(), png.size(), w, h), image.pixels) << width;
        EXPECT_EQ(std::make_pair(w, h), std::make_pair(width, 3));
    }
}
