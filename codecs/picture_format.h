#pragma once
// Which decoder a file goes to, told from its first bytes and never from its name.
#include <cstddef>
#include <cstdint>

namespace zentro::codecs {

enum class PictureFormat { Unknown, Bmp, Png, Jpeg, Webp, Gif, Ico, Cur };

// Bytes that DetectFormat needs to tell every format apart.
constexpr std::size_t kFormatProbeSize = 12;

PictureFormat DetectFormat(const std::uint8_t* bytes, std::size_t size);

}  // namespace zentro::codecs
