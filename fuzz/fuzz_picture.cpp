// The format dispatcher, and every decoder behind it, on arbitrary bytes. A
// refusal must give one of the decoders' message ids and leave no picture
// behind (not even the one held before); a success must give a 24-bit colour
// bitmap and, when there is alpha, an 8-bit plane of the very same size, all of
// whose rows can be read.
#include <webp/decode.h>

#include "codecs/picture_decoder.h"
#include "fuzz_support.h"
#include "platform/string_table.h"

using namespace zentro;

namespace {

// A lossless WebP of a few dozen bytes can stand for hundreds of millions of
// pixels, each costly under ASan; the fuzzer learns nothing from them that
// small pictures do not teach. The other formats cannot pack that much into an
// input of the fuzzer's length.
constexpr std::uint64_t kMaxFuzzPixels = std::uint64_t{1} << 22;

bool CostlyToDecode(const std::uint8_t* data, std::size_t size) {
    int width = 0, height = 0;
    return WebPGetInfo(data, size, &width, &height) &&
           static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxFuzzPixels;
}

unsigned ReadAll(const CDib& dib) {
    unsigned sum = 0;
    for (int y = 0; y < dib.Height(); ++y)
        for (std::size_t i = 0; i < dib.Stride(); ++i) sum += dib.Row(y)[i];
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (CostlyToDecode(data, size)) return -1;
    Picture picture;
    FUZZ_CHECK(picture.colour.Create(2, 2, 24) && picture.alpha.Create(2, 2, 8));

    const unsigned id = codecs::DecodePicture(data, size, picture);
    if (id != 0) {
        FUZZ_CHECK(id == IDS_CANNOT_READ || id == IDS_UNSUPPORTED_BITMAP || id == IDS_NO_DIB_MEMORY ||
                   id == IDS_NOT_A_BITMAP);
        FUZZ_CHECK(!picture.colour.HasPicture() && !picture.alpha.HasPicture());
        return 0;
    }
    const CDib& colour = picture.colour;
    FUZZ_CHECK(colour.HasPicture() && colour.BitCount() == 24);
    FUZZ_CHECK(colour.Width() >= 1 && colour.Height() >= 1);
    FUZZ_CHECK(static_cast<std::uint64_t>(colour.Width()) * static_cast<std::uint64_t>(colour.Height()) <= kMaxPixels);
    if (picture.HasAlpha()) {
        FUZZ_CHECK(picture.alpha.BitCount() == 8);
        FUZZ_CHECK(picture.alpha.Width() == colour.Width() && picture.alpha.Height() == colour.Height());
    }
    // Touching every byte lets ASan prove that each row lies inside its memory.
    volatile unsigned sum = ReadAll(colour) + (picture.HasAlpha() ? ReadAll(picture.alpha) : 0);
    (void)sum;
    return 0;
}
