#include <gtest/gtest.h>

#include "icon/icns_writer.h"

using namespace zentro;

namespace {

// Apple's PackBits, read back independently of the writer; empty when the data is cut short.
std::vector<std::uint8_t> Unpack(const std::vector<std::uint8_t>& packed) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < packed.size();) {
        const unsigned header = packed[i++];
        const std::size_t count = header < 0x80 ? header + 1 : 1;
        if (i + count > packed.size()) return {};
        if (header < 0x80)
            out.insert(out.end(), packed.begin() + static_cast<std::ptrdiff_t>(i),
                       packed.begin() + static_cast<std::ptrdiff_t>(i + count));
        else
            out.insert(out.end(), header - 0x80 + 3, packed[i]);
        i += count;
    }
    return out;
}

}  // namespace

// Readers take RGB data exactly as long as the raw pixels for raw pixels: a channel
// of four equal values and 252 different ones packs to 256 bytes, 768 for the three.
TEST(IcnsWriter, PackedRgbNeverHasTheRawLengthAndUnpacksToTheChannels) {
    for (int start : {0, 4}) {
        RgbaImage image{16, 16, std::vector<std::uint8_t>(16 * 16 * 4)};
        std::vector<std::uint8_t> channels(3 * 256);
        for (int p = 0; p < 256; ++p)
            for (int c = 0; c < 3; ++c) {
                const int value = p < start ? 7 : (p * 3 + c * 50) % 251;
                image.pixels[4 * static_cast<std::size_t>(p) + static_cast<std::size_t>(c)] =
                    static_cast<std::uint8_t>(value);
                channels[static_cast<std::size_t>(c) * 256 + static_cast<std::size_t>(p)] =
                    static_cast<std::uint8_t>(value);
            }
        const std::vector<std::uint8_t> packed = PackIcnsRgb(image);
        EXPECT_NE(packed.size(), channels.size()) << start;
        EXPECT_EQ(Unpack(packed), channels) << start;
    }
}
