#pragma once
// What the user chose on the Format and Sizes pages (or on the command line).
#include <array>
#include <string>
#include <vector>

namespace zentro {

constexpr int kSizeCount = 5;
// Pixels of each size index; every icon image is square.
constexpr std::array<short, kSizeCount> kSizeTable = {256, 48, 32, 24, 16};
// The most sizes one icon may hold, so that every entry code (kind x sizes + size index) fits a byte.
constexpr int kMaxSizes = 64;

enum ImageKind : int { kKind4 = 0, kKind8 = 1, kKind24 = 2, kKind32 = 3 };

// Non-zero means chosen.
struct FormatChoices {
    int use24 = 0;
    int use4 = 1;
    int use8 = 1;
    int use32 = 0;
    int transparent = 0;
};

struct SizeChoices {
    std::array<int, kSizeCount> sizes = {1, 1, 1, 0, 1};
    // When not empty, the sizes to make (1 to largestSize pixels, at most kMaxSizes of them)
    // in place of the flags above, which choose among the classic five.
    std::vector<int> anySizes;
    // The largest size `anySizes` may name: an icon holds 256 x 256 at most, while
    // other platforms' icons go up to kLargestDrawing.
    int largestSize = 256;
    int onlyOne256 = 1;
    int use16Bitmap = 0;
    std::string bitmap16Path;
};

}  // namespace zentro
