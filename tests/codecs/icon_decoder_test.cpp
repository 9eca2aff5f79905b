// An icon read as pictures: the deepest image of each size, the same whether it
// is stored as BMP or as PNG.
#include <gtest/gtest.h>

#include "codecs/icon_decoder.h"
#include "codecs/png_encoder.h"
#include "icon/icon_writer.h"
#include "image/rgba_image.h"
#include "job/image_set_builder.h"
#include "support/memory_sink.h"
#include "support/pictures.h"

using namespace zentro;
using namespace zentro::test;

namespace {

std::vector<std::uint8_t> IconOfDisc(ImageStore& store, PngImages pngImages) {
    DrawDisc(store.source, 64, 64);
    FormatChoices format{1, 1, 1, 1, 1};
    SizeChoices sizes;
    sizes.sizes = {0, 1, 1, 0, 1};
    EXPECT_TRUE(BuildImageSet(store, format, sizes));
    PngForms forms;
    EXPECT_TRUE(MakePngForms(store, format, sizes, {pngImages, codecs::EncodePng}, forms));
    MemorySink sink;
    WriteIcon(sink, store, format, sizes, forms);
    return sink.bytes;
}

}  // namespace

TEST(IconDecoder, TakesTheDeepestImageOfEachSizeInEitherForm) {
    for (PngImages form : {PngImages::None, PngImages::All}) {
        SCOPED_TRACE(static_cast<int>(form));
        ImageStore store;
        const std::vector<std::uint8_t> file = IconOfDisc(store, form);
        std::vector<Picture> pictures;
        ASSERT_EQ(codecs::DecodeIconImages(file.data(), file.size(), pictures), 0u);
        // The 48, 32 and 16 size slots of the job's 32-bit images.
        const int slots[] = {1, 2, 4};
        ASSERT_EQ(pictures.size(), 3u);
        for (std::size_t k = 0; k < pictures.size(); ++k) {
            RgbaImage want, got;
            ASSERT_TRUE(RgbaFrom32(store.table32[slots[k]].image, want));
            ASSERT_TRUE(RgbaFromPicture(pictures[k], got));
            EXPECT_EQ(got.width, store.table32[slots[k]].image.Width());
            EXPECT_EQ(got.pixels, want.pixels) << k;
        }
    }
}

TEST(IconDecoder, AnIconWithoutAReadableImageIsCorrupt) {
    ImageStore store;
    std::vector<std::uint8_t> file = IconOfDisc(store, PngImages::None);
    // Every entry's offset past the end of the file.
    const std::size_t count = file[4] | (file[5] << 8);
    for (std::size_t k = 0; k < count; ++k) file[6 + 16 * k + 15] = 0x7F;
    std::vector<Picture> pictures;
    EXPECT_EQ(codecs::DecodeIconImages(file.data(), file.size(), pictures), 103u);
    EXPECT_TRUE(pictures.empty());
}
