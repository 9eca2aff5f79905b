#include "support/pictures.h"

#include <stdexcept>

namespace zentro::test {

namespace {
void Put(CDib& dib, int x, int y, std::uint32_t c) {
    const std::uint8_t rgb[3] = {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                                 static_cast<std::uint8_t>(c)};
    dib.SetPixel(x, y, rgb);
}
void Make(CDib& dib, int width, int height) {
    if (!dib.Create(width, height, 24)) throw std::runtime_error("cannot create test picture");
}
}  // namespace

void FillPicture(CDib& dib, int width, int height, std::uint32_t colour) {
    Make(dib, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) Put(dib, x, y, colour);
}

void DrawDisc(CDib& dib, int width, int height) {
    Make(dib, width, height);
    const double cx = (width - 1) / 2.0, cy = (height - 1) / 2.0;
    const double radius = 0.4 * (width < height ? width : height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = x - cx, dy = y - cy;
            if (dx * dx + dy * dy > radius * radius) {
                Put(dib, x, y, 0xFF00FF);
                continue;
            }
            const std::uint32_t r = static_cast<std::uint32_t>(255 * x / width);
            const std::uint32_t g = static_cast<std::uint32_t>(255 * y / height);
            Put(dib, x, y, (r << 16) | (g << 8) | 0x60);
        }
    }
}

void DrawGradient(CDib& dib, int width, int height, std::uint32_t seed) {
    Make(dib, width, height);
    std::uint32_t state = seed;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const std::uint32_t noise = (state >> 24) & 0x1F;
            const std::uint32_t r = (255u * x / width + noise) & 0xFF;
            const std::uint32_t g = (255u * y / height) & 0xFF;
            const std::uint32_t b = (128 + noise * 3) & 0xFF;
            Put(dib, x, y, (r << 16) | (g << 8) | b);
        }
    }
}

}  // namespace zentro::test
