#pragma once
// Writes BMP files for the tests, byte by byte, so that every header field can be bent.
#include <cstdint>
#include <string>
#include <vector>

namespace zentro::test {

struct BmpLayout {
    int width = 1;
    int height = 1;
    int bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;
    // Palette entries as 0xRRGGBB; written as blue, green, red, 0.
    std::vector<std::uint32_t> palette;
    // Stored pixel bytes (rows bottom-up, padded); empty means all zero.
    std::vector<std::uint8_t> pixels;
    // Overrides; -1 keeps the computed value.
    std::int64_t offBits = -1;
    std::int64_t fileSize = -1;
};

std::uint32_t Stride(int width, int bitCount);
std::vector<std::uint8_t> EncodeBmp(const BmpLayout& layout);
// A 24-bit picture from colours given top row first as 0xRRGGBB.
std::vector<std::uint8_t> Encode24(int width, int height, const std::vector<std::uint32_t>& topDownColours);

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadFile(const std::string& path);

// A fresh folder below the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

}  // namespace zentro::test
