#include "support/bmp_builder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace zentro::test {

namespace {
void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    out[at] = v & 0xFF;
    out[at + 1] = (v >> 8) & 0xFF;
}
void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = (v >> (8 * i)) & 0xFF;
}
}  // namespace

std::uint32_t Stride(int width, int bitCount) {
    return static_cast<std::uint32_t>(((static_cast<std::int64_t>(width) * bitCount + 31) / 32) * 4);
}

std::vector<std::uint8_t> EncodeBmp(const BmpLayout& layout) {
    const std::uint32_t tableBytes = static_cast<std::uint32_t>(layout.palette.size() * 4);
    const std::uint32_t offBits = layout.offBits >= 0 ? static_cast<std::uint32_t>(layout.offBits) : 54 + tableBytes;
    std::vector<std::uint8_t> pixels = layout.pixels;
    if (pixels.empty() && layout.width > 0 && layout.height > 0)
        pixels.assign(static_cast<std::size_t>(Stride(layout.width, layout.bitCount)) * layout.height, 0);
    const std::uint32_t fileSize = layout.fileSize >= 0 ? static_cast<std::uint32_t>(layout.fileSize)
                                                        : offBits + static_cast<std::uint32_t>(pixels.size());

    std::vector<std::uint8_t> out(std::max<std::size_t>(54 + tableBytes, offBits), 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, fileSize);
    Put32(out, 10, offBits);
    Put32(out, 14, layout.headerSize);
    Put32(out, 18, static_cast<std::uint32_t>(layout.width));
    Put32(out, 22, static_cast<std::uint32_t>(layout.height));
    Put16(out, 26, 1);
    Put16(out, 28, static_cast<std::uint32_t>(layout.bitCount));
    Put32(out, 30, layout.compression);
    for (std::size_t i = 0; i < layout.palette.size(); ++i) {
        std::uint32_t c = layout.palette[i];
        out[54 + 4 * i] = c & 0xFF;
        out[55 + 4 * i] = (c >> 8) & 0xFF;
        out[56 + 4 * i] = (c >> 16) & 0xFF;
    }
    out.resize(offBits, 0);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

std::vector<std::uint8_t> Encode24(int width, int height, const std::vector<std::uint32_t>& colours) {
    if (colours.size() != static_cast<std::size_t>(width) * height) throw std::invalid_argument("colour count");
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    const std::uint32_t stride = Stride(width, 24);
    layout.pixels.assign(static_cast<std::size_t>(stride) * height, 0);
    for (int row = 0; row < height; ++row) {
        int stored = height - 1 - row;
        for (int x = 0; x < width; ++x) {
            std::uint32_t c = colours[static_cast<std::size_t>(row) * width + x];
            std::size_t at = static_cast<std::size_t>(stored) * stride + 3 * x;
            layout.pixels[at] = c & 0xFF;
            layout.pixels[at + 1] = (c >> 8) & 0xFF;
            layout.pixels[at + 2] = (c >> 16) & 0xFF;
        }
    }
    return EncodeBmp(layout);
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zentro-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace zentro::test
