#include "codecs/picture_decoder.h"

#include "codecs/bmp_decoder.h"
#include "codecs/gif_decoder.h"
#include "codecs/jpeg_decoder.h"
#include "codecs/picture_format.h"
#include "codecs/picture_rows.h"
#include "codecs/png_decoder.h"
#include "codecs/webp_decoder.h"
#include "platform/string_table.h"

namespace zentro::codecs {

namespace {

unsigned Dispatch(const std::uint8_t* data, std::size_t size, Picture& picture) {
    switch (DetectFormat(data, size)) {
        case PictureFormat::Bmp: return DecodeBmp(data, size, picture);
        case PictureFormat::Png: return DecodePng(data, size, picture);
        case PictureFormat::Jpeg: return DecodeJpeg(data, size, picture);
        case PictureFormat::Webp: return DecodeWebp(data, size, picture);
        case PictureFormat::Gif: return DecodeGif(data, size, picture);
        default: return IDS_NOT_A_BITMAP;
    }
}

}  // namespace

unsigned DecodePicture(const std::uint8_t* data, std::size_t size, Picture& picture) {
    picture.colour.Free();
    picture.alpha.Free();
    picture.lossy = false;
    return DecodeWhole(picture, [&] { return Dispatch(data, size, picture); });
}

}  // namespace zentro::codecs
