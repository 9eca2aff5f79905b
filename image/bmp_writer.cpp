#include "image/bmp_writer.h"

#include "image/little_endian.h"

namespace zentro {

void WriteBmp24(ByteSink& sink, const CDib& picture) {
    constexpr std::uint32_t kOffBits = 14 + kBitmapHeaderSize;
    std::uint8_t header[kOffBits] = {'B', 'M'};
    le::Put32(header + 2, kOffBits + picture.GetImageSize());
    le::Put32(header + 10, kOffBits);
    BitmapHeader info;
    info.size = kBitmapHeaderSize;
    info.width = picture.Width();
    info.height = picture.Height();
    info.planes = 1;
    info.bitCount = 24;
    SerializeBitmapHeader(info, header + 14);
    sink.Write(header, sizeof header);
    sink.Write(picture.Pixels(), picture.GetImageSize());
}

}  // namespace zentro
