#pragma once
// Tells an SVG document by its content: XML whose root element is `svg`, plain or
// gzip-compressed (.svgz). Needs no SVG library, so every build can say what it refuses.
#include <cstddef>
#include <cstdint>

namespace zentro::codecs {

// The bytes of text (after inflating, for .svgz) in which the root element must start.
constexpr std::size_t kSvgProbeSize = 16384;

bool IsSvg(const std::uint8_t* data, std::size_t size);

// Whether `data` starts as a gzip stream does.
inline bool IsGzip(const std::uint8_t* data, std::size_t size) {
    return size >= 3 && data[0] == 0x1F && data[1] == 0x8B && data[2] == 8;
}

}  // namespace zentro::codecs
