#pragma once
// Pixels as PNG files and most libraries exchange them: rows top-down, each
// pixel red, green, blue and alpha, unpremultiplied.
#include <cstdint>
#include <vector>

#include "image/dib.h"
#include "image/picture.h"

namespace zentro {

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width x height x 4 bytes

    // Not empty, and its pixels are as many as its size says.
    bool HoldsItsPixels() const {
        return width > 0 && height > 0 && pixels.size() == static_cast<std::size_t>(width) * height * 4;
    }
};

// Alpha 255 throughout when the picture has no alpha. False when memory is short.
bool RgbaFromPicture(const Picture& picture, RgbaImage& rgba);
// The colours and alpha that a 32-bit icon image stores.
bool RgbaFrom32(const CDib& image32, RgbaImage& rgba);

// Lays the pixels over the colour `rgb` (red, green, blue), making them opaque.
void LayOnColour(RgbaImage& rgba, const std::uint8_t* rgb);

}  // namespace zentro
