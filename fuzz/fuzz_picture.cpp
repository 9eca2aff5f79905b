// The reader of a file's pictures (the format dispatcher, every decoder behind
// it, and each image of an icon) on arbitrary bytes. A refusal must give one of
// the decoders' message ids and add no picture to those read before; a success
// must add pictures, each a 24-bit colour bitmap and, when there is alpha, an
// 8-bit plane of the very same size, whose rows can all be read. SVG has its own
// target.
#include <webp/decode.h>

#include <algorithm>

#include "codecs/picture_format.h"
#include "codecs/picture_loader.h"
#include "fuzz_support.h"
#include "platform/string_table.h"

using namespace zentro;

namespace {

// A few dozen bytes can claim hundreds of millions of pixels that a decoder
// then rightly fills: a lossless WebP of one colour, a GIF frame on a vast
// screen, a bitmap whose short data reads as zeros. Each costs seconds under
// ASan and teaches the fuzzer nothing that small pictures do not. PNG and JPEG
// cannot pack that much into an input of the fuzzer's length.
constexpr std::uint64_t kMaxFuzzPixels = std::uint64_t{1} << 22;

std::uint64_t Le(const std::uint8_t* p, int bytes) {
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
    return v;
}

// The area of a GIF's screen widened to its first frame, read past the colour
// table and any extension blocks to the first image descriptor.
std::uint64_t GifArea(const std::uint8_t* data, std::size_t size) {
    std::uint64_t width = Le(data + 6, 2), height = Le(data + 8, 2);
    std::size_t at = 13 + ((data[10] & 0x80) ? 3u << ((data[10] & 7) + 1) : 0);
    while (at + 10 <= size && data[at] == 0x21) {
        at += 2;
        while (at < size && data[at] != 0) at += data[at] + 1u;
        ++at;
    }
    if (at + 10 <= size && data[at] == 0x2C) {
        width = std::max(width, Le(data + at + 1, 2) + Le(data + at + 5, 2));
        height = std::max(height, Le(data + at + 3, 2) + Le(data + at + 7, 2));
    }
    return width * height;
}

std::uint64_t BmpArea(const std::uint8_t* data, std::size_t size) {
    if (size < 26) return 0;
    if (Le(data + 14, 4) == 12) return Le(data + 18, 2) * Le(data + 20, 2);
    const auto height = static_cast<std::int32_t>(Le(data + 22, 4));
    return Le(data + 18, 4) * (height < 0 ? 0 - static_cast<std::uint64_t>(height) : height);
}

bool CostlyToDecode(const std::uint8_t* data, std::size_t size) {
    int width = 0, height = 0;
    std::uint64_t area = 0;
    switch (codecs::DetectFormat(data, size)) {
        case codecs::PictureFormat::Webp:
            if (WebPGetInfo(data, size, &width, &height)) area = std::uint64_t(width) * std::uint64_t(height);
            break;
        case codecs::PictureFormat::Gif: area = size >= 13 ? GifArea(data, size) : 0; break;
        case codecs::PictureFormat::Bmp: area = BmpArea(data, size); break;
        case codecs::PictureFormat::Svg: return true;  // fuzz_svg draws what it parses
        default: break;
    }
    return area > kMaxFuzzPixels;
}

// The first and last byte of every row: ASan then proves that each row lies
// inside its memory, at a cost that does not grow with the width.
unsigned ReadRowEnds(const CDib& dib) {
    unsigned sum = 0;
    for (int y = 0; y < dib.Height(); ++y) sum += dib.Row(y)[0] + dib.Row(y)[dib.Stride() - 1];
    return sum;
}

void CheckPicture(const Picture& picture) {
    const CDib& colour = picture.colour;
    FUZZ_CHECK(colour.HasPicture() && colour.BitCount() == 24);
    FUZZ_CHECK(colour.Width() >= 1 && colour.Height() >= 1);
    FUZZ_CHECK(static_cast<std::uint64_t>(colour.Width()) * static_cast<std::uint64_t>(colour.Height()) <= kMaxPixels);
    if (picture.HasAlpha()) {
        FUZZ_CHECK(picture.alpha.BitCount() == 8);
        FUZZ_CHECK(picture.alpha.Width() == colour.Width() && picture.alpha.Height() == colour.Height());
    }
    volatile unsigned sum = ReadRowEnds(colour) + (picture.HasAlpha() ? ReadRowEnds(picture.alpha) : 0);
    (void)sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (CostlyToDecode(data, size)) return -1;
    PictureSources sources;
    sources.rasters.emplace_back();
    FUZZ_CHECK(sources.rasters.front().colour.Create(2, 2, 24) && sources.rasters.front().alpha.Create(2, 2, 8));

    const unsigned id = codecs::DecodeSources(data, size, sources);
    if (id != 0) {
        FUZZ_CHECK(id == IDS_CANNOT_READ || id == IDS_UNSUPPORTED_BITMAP || id == IDS_NO_DIB_MEMORY ||
                   id == IDS_NOT_A_BITMAP || id == IDS_PICTURE_TOO_LARGE);
        FUZZ_CHECK(sources.rasters.size() == 1 && sources.rasters.front().colour.Width() == 2);
        return 0;
    }
    FUZZ_CHECK(sources.rasters.size() > 1 && !sources.vector);
    for (const Picture& picture : sources.rasters) CheckPicture(picture);
    return 0;
}
