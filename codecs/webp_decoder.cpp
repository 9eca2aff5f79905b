#include "codecs/webp_decoder.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <memory>
#include <vector>

#include "codecs/picture_rows.h"
#include "platform/string_table.h"

namespace zentro::codecs {

namespace {

unsigned IdForStatus(VP8StatusCode status) {
    switch (status) {
        case VP8_STATUS_OK: return 0;
        case VP8_STATUS_OUT_OF_MEMORY: return IDS_NO_DIB_MEMORY;
        case VP8_STATUS_UNSUPPORTED_FEATURE: return IDS_UNSUPPORTED_BITMAP;
        default: return IDS_CANNOT_READ;
    }
}

// Rows top first, blue, green, red and alpha, into the picture.
void SplitRows(const std::uint8_t* bgra, std::size_t stride, Picture& picture) {
    for (int y = 0; y < picture.colour.Height(); ++y)
        SplitBgra(bgra + stride * y, picture.colour.Width(), ColourRowFromTop(picture, y), AlphaRowFromTop(picture, y));
}

unsigned DecodeStill(const std::uint8_t* data, std::size_t size, const WebPBitstreamFeatures& features,
                     Picture& picture) {
    const bool hasAlpha = features.has_alpha != 0;
    if (const unsigned id = CreatePicture(picture, features.width, features.height, hasAlpha)) return id;
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) return IDS_CANNOT_READ;
    config.output.is_external_memory = 1;
    std::vector<std::uint8_t> bgra;
    if (hasAlpha) {
        bgra.resize(static_cast<std::size_t>(features.width) * features.height * 4);
        config.output.colorspace = MODE_BGRA;
        config.output.u.RGBA.rgba = bgra.data();
        config.output.u.RGBA.stride = features.width * 4;
        config.output.u.RGBA.size = bgra.size();
    } else {
        // Straight into the bitmap, whose rows run bottom-up.
        config.options.flip = 1;
        config.output.colorspace = MODE_BGR;
        config.output.u.RGBA.rgba = picture.colour.Pixels();
        config.output.u.RGBA.stride = static_cast<int>(picture.colour.Stride());
        config.output.u.RGBA.size = picture.colour.Stride() * static_cast<std::size_t>(features.height);
    }
    const unsigned id = IdForStatus(WebPDecode(data, size, &config));
    WebPFreeDecBuffer(&config.output);
    if (id == 0 && hasAlpha) SplitRows(bgra.data(), static_cast<std::size_t>(features.width) * 4, picture);
    return id;
}

struct AnimDecoderDeleter {
    void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

unsigned DecodeFirstFrame(const std::uint8_t* data, std::size_t size, Picture& picture) {
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) return IDS_CANNOT_READ;
    options.color_mode = MODE_BGRA;
    options.use_threads = 0;
    const WebPData whole{data, size};
    const std::unique_ptr<WebPAnimDecoder, AnimDecoderDeleter> decoder(WebPAnimDecoderNew(&whole, &options));
    WebPAnimInfo info;
    if (decoder == nullptr || !WebPAnimDecoderGetInfo(decoder.get(), &info)) return IDS_CANNOT_READ;
    std::uint8_t* canvas = nullptr;
    int timestamp = 0;
    if (!WebPAnimDecoderGetNext(decoder.get(), &canvas, &timestamp)) return IDS_CANNOT_READ;
    if (const unsigned id = CreatePicture(picture, info.canvas_width, info.canvas_height, true)) return id;
    SplitRows(canvas, static_cast<std::size_t>(info.canvas_width) * 4, picture);
    return 0;
}

}  // namespace

unsigned DecodeWebp(const std::uint8_t* data, std::size_t size, Picture& picture) {
    WebPBitstreamFeatures features;
    unsigned id = IdForStatus(WebPGetFeatures(data, size, &features));
    // An animation's canvas may claim far more than a still picture can hold; refused before it is allocated.
    if (id == 0)
        id = RefuseSize(static_cast<std::uint64_t>(features.width), static_cast<std::uint64_t>(features.height));
    if (id != 0) return id;
    // An animation tells no format of its own (its frames may mix both): taken as lossy.
    picture.lossy = features.format != 2;
    return DecodeWhole(picture, [&] {
        return features.has_animation ? DecodeFirstFrame(data, size, picture)
                                      : DecodeStill(data, size, features, picture);
    });
}

}  // namespace zentro::codecs
