#include "job/picture_fit.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace zentro {

namespace {

// size x shorter / longer to the nearest whole pixel, halves up, and never 0.
int ScaledSide(int size, int shorter, int longer) {
    const std::int64_t twice = 2 * std::int64_t{size} * shorter;
    return std::max(1, static_cast<int>((twice + longer) / (2 * std::int64_t{longer})));
}

}  // namespace

SquarePlace PlaceInSquare(int width, int height, int size, Fit fit) {
    if (fit == Fit::Stretch || width == height) return {0, 0, size, size};
    if (width > height) {
        const int h = ScaledSide(size, height, width);
        return {0, (size - h) / 2, size, h};
    }
    const int w = ScaledSide(size, width, height);
    return {(size - w) / 2, 0, w, size};
}

int FittingSide(const CDib& picture, Fit fit) {
    return fit == Fit::Pad ? std::max(picture.Width(), picture.Height()) : picture.GetMinSide();
}

bool PutInSquare(const CDib& content, const CDib& contentMask, const SquarePlace& place, int size, CDib& image,
                 CDib& mask) {
    if (!image.Create(size, size, content.BitCount()) || !mask.Create(size, size, 1)) return false;
    const std::size_t bytes = content.BitCount() / 8;
    // Stored rows run bottom-up: the content's last stored row lies `top` rows below the top.
    const int bottom = size - place.top - place.height;
    for (int y = 0; y < size; ++y) {
        const bool inside = y >= bottom && y < bottom + place.height;
        for (int x = 0; x < size; ++x)
            mask.SetMaskBit(x, y,
                            !inside || x < place.left || x >= place.left + place.width ||
                                contentMask.GetMaskBit(x - place.left, y - bottom) != 0);
        if (inside) std::memcpy(image.Row(y) + bytes * place.left, content.Row(y - bottom), bytes * place.width);
    }
    return true;
}

}  // namespace zentro
