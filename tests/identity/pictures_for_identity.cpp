#include "identity/pictures_for_identity.h"

#include "support/bmp_builder.h"

namespace zentro::test {

namespace {

struct Noise {
    std::uint32_t state;
    std::uint32_t Next() {
        state = state * 1664525u + 1013904223u;
        return state >> 24;
    }
};

bool InEllipse(int x, int y, double cx, double cy, double rx, double ry) {
    const double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
}

}  // namespace

std::vector<std::uint8_t> SceneFile24(int width, int height, std::uint32_t key, std::uint32_t seed) {
    Noise noise{seed};
    std::vector<std::uint32_t> colours(static_cast<std::size_t>(width) * height, key);
    const double radius = 0.4 * (width < height ? width : height);
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t& c = colours[static_cast<std::size_t>(row) * width + x];
            const std::uint32_t n = noise.Next();
            if (InEllipse(x, row, width * 0.45, height * 0.55, radius, radius * 0.9)) {
                const std::uint32_t r = (255u * x / width + (n & 7)) & 0xFF;
                const std::uint32_t g = 255u * row / height;
                const std::uint32_t b = ((x * 7 + row * 3) ^ n) & 0xFF;
                c = (r << 16) | (g << 8) | b;
                if (x == row || (n & 0xFF) == 7) c = key;  // a keyed diagonal and scattered keyed holes
            } else if (row > height * 3 / 4 && x < (height - row) * 2 && x % 9 != 4) {
                c = 0x102030 + ((x / 3) << 16);  // a staircase with gaps, against the border
            } else if (x == width - 3 && row % 5 != 0) {
                c = key ^ 0x000001;  // one step from the key: not keyed
            }
        }
    }
    colours[static_cast<std::size_t>(height - 1) * width] = key;  // the key position itself
    return Encode24(width, height, colours);
}

std::vector<std::uint8_t> GradientFile24(int width, int height, std::uint32_t seed) {
    Noise noise{seed};
    std::vector<std::uint32_t> colours;
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t n = noise.Next();
            colours.push_back(((255u * x / width) << 16) | ((255u * row / height) << 8) | ((n * 5) & 0xFF));
        }
    }
    return Encode24(width, height, colours);
}

std::vector<std::uint8_t> ShapeFile(int width, int height, int bitCount, std::uint32_t seed) {
    Noise noise{seed};
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bitCount = bitCount;
    const int entries = 1 << bitCount;
    layout.palette.push_back(0x20C040);  // the key
    for (int i = 1; i < entries; ++i) layout.palette.push_back((i * 0x3B5D1Fu + seed) & 0xFFFFFF);
    if (entries > 2) layout.palette[entries - 1] = layout.palette[1];  // two entries of one colour

    const std::uint32_t stride = Stride(width, bitCount);
    layout.pixels.assign(static_cast<std::size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int index = 0;
            const std::uint32_t n = noise.Next();
            if (InEllipse(x, y, width * 0.5, height * 0.45, width * 0.42, height * 0.38)) {
                index = 1 + static_cast<int>((x / 3 + y / 2 + (n & 1)) % static_cast<std::uint32_t>(entries - 1));
                if (y == height / 2) index = 0;  // a keyed stripe through the shape
            }
            const int bitPos = x * bitCount;
            std::uint8_t& byte = layout.pixels[static_cast<std::size_t>(y) * stride + bitPos / 8];
            byte = static_cast<std::uint8_t>(byte | (index << (8 - bitCount - bitPos % 8)));
        }
    }
    return EncodeBmp(layout);
}

}  // namespace zentro::test
