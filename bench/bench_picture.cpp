#include "bench/bench_picture.h"

#include <cstdint>
#include <fstream>
#include <vector>

#include "image/bitmap_header.h"
#include "image/little_endian.h"

namespace zentro::bench {

bool WriteBenchPicture(const std::string& path, int side) {
    const std::uint32_t stride = static_cast<std::uint32_t>(RowStride(side, 24));
    constexpr std::uint32_t kOffBits = 14 + kBitmapHeaderSize;
    std::uint8_t header[kOffBits] = {'B', 'M'};
    le::Put32(header + 2, kOffBits + stride * static_cast<std::uint32_t>(side));
    le::Put32(header + 10, kOffBits);
    BitmapHeader info;
    info.size = kBitmapHeaderSize;
    info.width = side;
    info.height = side;
    info.planes = 1;
    info.bitCount = 24;
    SerializeBitmapHeader(info, header + 14);

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    std::vector<std::uint8_t> row(stride, 0);
    const double centre = (side - 1) / 2.0;
    const double radius = 0.45 * side;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const double dx = x - centre, dy = y - centre;
            std::uint8_t* p = row.data() + 3 * x;  // blue, green, red
            if (dx * dx + dy * dy > radius * radius) {
                p[0] = 255, p[1] = 0, p[2] = 255;
                continue;
            }
            p[0] = static_cast<std::uint8_t>(255 * (x + y) / (2 * side));
            p[1] = static_cast<std::uint8_t>(255 * y / side);
            p[2] = static_cast<std::uint8_t>(255 * x / side);
        }
        out.write(reinterpret_cast<const char*>(row.data()), stride);
    }
    return static_cast<bool>(out);
}

}  // namespace zentro::bench
