#pragma once
// Which decoder a file goes to, told from its first bytes and never from its name.
#include <cstddef>
#include <cstdint>

namespace zentro::codecs {

enum class PictureFormat { Unknown, Bmp, Png, Jpeg, Webp, Gif, Ico, Cur, Svg };

// Bytes that DetectFormat needs to tell every binary format apart; an SVG may
// need up to kSvgProbeSize (codecs/svg_sniff.h), or the whole of a .svgz.
constexpr std::size_t kFormatProbeSize = 12;

PictureFormat DetectFormat(const std::uint8_t* bytes, std::size_t size);

}  // namespace zentro::codecs
