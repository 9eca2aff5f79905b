#pragma once
// The picture memory every decoder writes into, taken only once the size that a
// file's header claims is known to be acceptable.
#include <cstddef>
#include <cstdint>
#include <new>

#include "image/picture.h"
#include "platform/string_table.h"

namespace zentro::codecs {

// Runs a decoder's work: memory that runs out becomes 105, and any failure
// leaves the picture empty, never half decoded.
template <typename Work>
unsigned DecodeWhole(Picture& picture, Work work) {
    unsigned id;
    try {
        id = work();
    } catch (const std::bad_alloc&) {
        id = IDS_NO_DIB_MEMORY;
    }
    if (id != 0) {
        picture.colour.Free();
        picture.alpha.Free();
    }
    return id;
}

// Makes `picture` a zeroed width x height colour bitmap, with an alpha plane when
// asked. 0 on success; 103 for an empty size; 130 above kMaxPixels (RefuseSize), 105
// when the memory cannot be had (the picture then holds nothing).
unsigned CreatePicture(Picture& picture, std::uint64_t width, std::uint64_t height, bool withAlpha);

// 130 when a width x height picture is more than kMaxPixels, else 0. A refusal keeps the
// size for the message that names it (RefusedSize), as errno keeps a system call's reason.
unsigned RefuseSize(std::uint64_t width, std::uint64_t height);
struct PictureSize {
    std::uint64_t width = 0;
    std::uint64_t height = 0;
};
// The size of the last picture that RefuseSize refused on this thread.
PictureSize RefusedSize();

// Row `y` counted from the top of the picture, as the file formats count them.
inline std::uint8_t* ColourRowFromTop(Picture& picture, int y) {
    return picture.colour.Row(picture.colour.Height() - 1 - y);
}
inline std::uint8_t* AlphaRowFromTop(Picture& picture, int y) {
    return picture.alpha.Row(picture.alpha.Height() - 1 - y);
}

// Splits `width` pixels stored blue, green, red, alpha into a colour row and an alpha row.
void SplitBgra(const std::uint8_t* bgra, int width, std::uint8_t* colour, std::uint8_t* alpha);

}  // namespace zentro::codecs
