// An icon read as a picture: its largest, deepest image, the same whether that
// image is stored as BMP or as PNG.
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

TEST(IconDecoder, TakesTheLargestDeepestImageInEitherForm) {
    for (PngImages form : {PngImages::None, PngImages::All}) {
        SCOPED_TRACE(static_cast<int>(form));
        ImageStore store;
        const std::vector<std::uint8_t> file = IconOfDisc(store, form);
        Picture picture;
        ASSERT_EQ(codecs::DecodeIcon(file.data(), file.size(), picture), 0u);
        RgbaImage want, got;
        ASSERT_TRUE(RgbaFrom32(store.table32[1].image, want));
        ASSERT_TRUE(RgbaFromPicture(picture, got));
        EXPECT_EQ(std::make_tuple(got.width, got.height), std::make_tuple(48, 48));
        EXPECT_EQ(got.pixels, want.pixels);
    }
}

TEST(IconDecoder, AnIconWithoutAReadableImageIsCorrupt) {
    ImageStore store;
    std::vector<std::uint8_t> file = IconOfDisc(store, PngImages::None);
    // Every entry's offset past the end of the file.
    const std::size_t count = file[4] | (file[5] << 8);
    for (std::size_t k = 0; k < count; ++k) file[6 + 16 * k + 15] = 0x7F;
    Picture picture;
    EXPECT_EQ(codecs::DecodeIcon(file.data(), file.size(), picture), 103u);
}
