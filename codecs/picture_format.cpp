#include "codecs/picture_format.h"

#include <cstring>

#include "codecs/svg_sniff.h"

namespace zentro::codecs {

namespace {

bool StartsWith(const std::uint8_t* bytes, std::size_t size, const char* magic, std::size_t length,
                std::size_t at = 0) {
    return size >= at + length && std::memcmp(bytes + at, magic, length) == 0;
}

}  // namespace

PictureFormat DetectFormat(const std::uint8_t* bytes, std::size_t size) {
    if (StartsWith(bytes, size, "\x89PNG\r\n\x1a\n", 8)) return PictureFormat::Png;
    if (StartsWith(bytes, size, "\xFF\xD8\xFF", 3)) return PictureFormat::Jpeg;
    if (StartsWith(bytes, size, "RIFF", 4) && StartsWith(bytes, size, "WEBP", 4, 8)) return PictureFormat::Webp;
    if (StartsWith(bytes, size, "GIF87a", 6) || StartsWith(bytes, size, "GIF89a", 6)) return PictureFormat::Gif;
    if (StartsWith(bytes, size, "BM", 2)) return PictureFormat::Bmp;
    // An icon directory: reserved 0, type 1 (icon) or 2 (cursor), at least one entry.
    if (size >= 6 && bytes[0] == 0 && bytes[1] == 0 && bytes[3] == 0 && (bytes[2] == 1 || bytes[2] == 2) &&
        (bytes[4] != 0 || bytes[5] != 0))
        return bytes[2] == 1 ? PictureFormat::Ico : PictureFormat::Cur;
    // Text last: no binary magic above can start an XML document, nor a gzip stream.
    if (IsSvg(bytes, size)) return PictureFormat::Svg;
    return PictureFormat::Unknown;
}

}  // namespace zentro::codecs
