#include "image/rgba_image.h"

#include <new>

#include "image/alpha_plane.h"

namespace zentro {

namespace {

bool Resize(RgbaImage& rgba, int width, int height) {
    try {
        rgba.pixels.assign(static_cast<std::size_t>(width) * height * 4, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    rgba.width = width;
    rgba.height = height;
    return true;
}

}  // namespace

bool RgbaFromPicture(const Picture& picture, RgbaImage& rgba) {
    const CDib& colour = picture.colour;
    if (!Resize(rgba, colour.Width(), colour.Height())) return false;
    std::uint8_t* out = rgba.pixels.data();
    for (int row = colour.Height() - 1; row >= 0; --row) {
        for (int x = 0; x < colour.Width(); ++x, out += 4) {
            colour.GetPixel(x, row, out);
            out[3] = picture.HasAlpha() ? picture.alpha.Row(row)[x] : 255;
        }
    }
    return true;
}

bool RgbaFrom32(const CDib& image32, RgbaImage& rgba) {
    if (!Resize(rgba, image32.Width(), image32.Height())) return false;
    std::uint8_t* out = rgba.pixels.data();
    for (int row = image32.Height() - 1; row >= 0; --row) {
        const std::uint8_t* bgra = image32.Row(row);
        for (int x = 0; x < image32.Width(); ++x, out += 4, bgra += 4) {
            out[0] = bgra[2];
            out[1] = bgra[1];
            out[2] = bgra[0];
            out[3] = bgra[3];
        }
    }
    return true;
}

void LayOnColour(RgbaImage& rgba, const std::uint8_t* rgb) {
    for (std::size_t p = 0; p + 3 < rgba.pixels.size(); p += 4) {
        std::uint8_t* pixel = &rgba.pixels[p];
        for (int c = 0; c < 3; ++c) pixel[c] = LaidOver(pixel[c], pixel[3], rgb[c]);
        pixel[3] = 255;
    }
}

}  // namespace zentro
