#include "codecs/picture_rows.h"

#include "platform/string_table.h"

namespace zentro::codecs {

namespace {

thread_local PictureSize tRefused;

}  // namespace

unsigned RefuseSize(std::uint64_t width, std::uint64_t height) {
    // Either side past 2^32 is past kMaxPixels alone, and the product of two below it is exact.
    constexpr std::uint64_t kSide = std::uint64_t{1} << 32;
    if (width < kSide && height < kSide && width * height <= kMaxPixels) return 0;
    tRefused = {width, height};
    return IDS_PICTURE_TOO_LARGE;
}

PictureSize RefusedSize() { return tRefused; }

unsigned CreatePicture(Picture& picture, std::uint64_t width, std::uint64_t height, bool withAlpha) {
    picture.colour.Free();
    picture.alpha.Free();
    if (width == 0 || height == 0) return IDS_CANNOT_READ;
    if (const unsigned id = RefuseSize(width, height)) return id;
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    if (!picture.colour.Create(w, h, 24) || (withAlpha && !picture.alpha.Create(w, h, 8))) {
        picture.colour.Free();
        picture.alpha.Free();
        return IDS_NO_DIB_MEMORY;
    }
    return 0;
}

void SplitBgra(const std::uint8_t* bgra, int width, std::uint8_t* colour, std::uint8_t* alpha) {
    for (int x = 0; x < width; ++x, bgra += 4, colour += 3) {
        colour[0] = bgra[0];
        colour[1] = bgra[1];
        colour[2] = bgra[2];
        alpha[x] = bgra[3];
    }
}

}  // namespace zentro::codecs
