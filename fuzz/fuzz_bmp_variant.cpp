// The BMP variant decoder on arbitrary bytes.
// A refusal must leave no picture and give a message id that fits; a success a
// 24-bit picture of the header's size with an alpha plane of the same size or
// none. Where the classic reader takes the file as well, both must give the
// same colours.
#include <cstring>

#include "codecs/bmp_decoder.h"
#include "codecs/bmp_header.h"
#include "fuzz_support.h"
#include "image/bitmap_header.h"
#include "image/little_endian.h"
#include "platform/string_table.h"

using namespace zentro;

namespace {

// Larger pictures cost many times more under ASan and teach the fuzzer nothing
// that small ones do not; refusals of huge claims stay in.
constexpr std::uint64_t kMaxFuzzPixels = std::uint64_t{1} << 16;

void CheckOutcome(unsigned result, const Picture& picture, const codecs::BmpHeader& header) {
    if (result != 0) {
        FUZZ_CHECK(result == IDS_UNSUPPORTED_BITMAP || result == IDS_NO_DIB_MEMORY || result == IDS_NOT_A_BITMAP ||
                   result == IDS_PICTURE_TOO_LARGE);
        FUZZ_CHECK(!picture.colour.HasPicture() && !picture.alpha.HasPicture());
        return;
    }
    FUZZ_CHECK(picture.colour.HasPicture() && picture.colour.BitCount() == 24);
    FUZZ_CHECK(picture.colour.Width() == header.width && picture.colour.Height() == header.rows);
    if (picture.HasAlpha()) {
        FUZZ_CHECK(picture.alpha.BitCount() == 8);
        FUZZ_CHECK(picture.alpha.Width() == header.width && picture.alpha.Height() == header.rows);
    }
}

void CompareWithClassic(const std::uint8_t* data, std::size_t size, const Picture& picture) {
    static const fuzz::ScratchFile input("bmp_variant.bmp");
    input.Write(data, size);
    CDib classic;
    fuzz::MessageLog log;
    FUZZ_CHECK(classic.Load(input.path()));
    FUZZ_CHECK(!picture.HasAlpha());
    // Row padding is the file's own in the classic reader's 24-bit pictures.
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(classic.Width());
    for (int y = 0; y < classic.Height(); ++y)
        FUZZ_CHECK(std::memcmp(classic.Row(y), picture.colour.Row(y), rowBytes) == 0);
}

bool SameBitmap(const CDib& a, const CDib& b) {
    if (a.HasPicture() != b.HasPicture()) return false;
    return !a.HasPicture() || (a.Width() == b.Width() && a.Height() == b.Height() &&
                               std::memcmp(a.Pixels(), b.Pixels(), a.GetImageSize()) == 0);
}

// The decoder streaming the same bytes from a file must give the same answer, to the byte.
void CompareWithStreamed(const std::uint8_t* data, std::size_t size, unsigned result, const Picture& picture) {
    static const fuzz::ScratchFile input("bmp_variant_streamed.bmp");
    input.Write(data, size);
    codecs::PictureFile file;
    FUZZ_CHECK(file.Open(input.path()) == 0);
    Picture streamed;
    FUZZ_CHECK(codecs::DecodeBmp(file, streamed) == result);
    FUZZ_CHECK(SameBitmap(streamed.colour, picture.colour) && SameBitmap(streamed.alpha, picture.alpha));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool bm = size >= 2 && data[0] == 'B' && data[1] == 'M';
    codecs::BmpHeader header;
    std::uint8_t offBits[4] = {};
    if (size > 10) std::memcpy(offBits, data + 10, std::min<std::size_t>(4, size - 10));
    const unsigned headerResult = codecs::ReadBmpHeader(data, size, 14, le::Get32(offBits), header);
    if (bm && headerResult == 0 && static_cast<std::uint64_t>(header.width) * header.rows > kMaxFuzzPixels) return -1;

    Picture picture;
    const unsigned result = codecs::DecodeBmp(data, size, picture);
    FUZZ_CHECK(result == (bm ? headerResult : unsigned{IDS_NOT_A_BITMAP}) || result == IDS_NO_DIB_MEMORY);
    CheckOutcome(result, picture, header);
    if (result == 0 && size >= codecs::kClassicHeadersSize && codecs::ClassicReadsAlike(data, size))
        CompareWithClassic(data, size, picture);
    CompareWithStreamed(data, size, result, picture);
    return 0;
}
