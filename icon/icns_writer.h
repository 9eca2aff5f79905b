#pragma once
// Apple's icon family file (.icns): big-endian throughout, an 8-byte header
// ("icns" and the file's length), then one element per image (a four-letter type,
// the element's length with its own 8 bytes, the data). Written without a table of
// contents, as iconutil and the tools of the field write it.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "image/rgba_image.h"

namespace zentro {

enum class IcnsData {
    PackedRgb,  // red, then green, then blue, each channel PackBits-compressed
    Mask,       // the alpha values, one byte a pixel, uncompressed
    Png,        // a whole PNG file
};

struct IcnsType {
    const char* name;
    int side;
    IcnsData data;
};

// Every element an application's icon holds, in file order. The older types
// (is32 and il32 with their masks) come first: Finder's list view reads them,
// and would show a PNG in the types of their age (icp4, icp5, icp6) as corrupt.
extern const std::array<IcnsType, 12> kIcnsLayout;

// The data of an is32 or il32 element: each channel packed on its own. The
// packed form never has the raw form's length, which readers take as unpacked.
std::vector<std::uint8_t> PackIcnsRgb(const RgbaImage& image);
// The data of an s8mk or l8mk element.
std::vector<std::uint8_t> IcnsMask(const RgbaImage& image);

struct IcnsElement {
    std::string type;  // four letters
    std::vector<std::uint8_t> data;
};

// The whole file; false when it would outgrow the 32-bit lengths or memory.
bool IcnsFile(const std::vector<IcnsElement>& elements, std::vector<std::uint8_t>& file);

}  // namespace zentro
