#include "codec_encoders.h"

#include <png.h>

#include <csetjmp>
#include <stdexcept>

namespace zentro::test {

namespace {

void Append(png_structp png, png_bytep data, png_size_t count) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}
void NoFlush(png_structp) {}

// No object with a destructor lives here: libpng leaves by longjmp.
bool WritePng(png_structp png, png_infop info, const PngSpec* spec, png_bytepp rows, png_colorp palette,
              std::vector<std::uint8_t>* out) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, Append, NoFlush);
    png_set_IHDR(png, info, spec->width, spec->height, spec->bitDepth, spec->colourType,
                 spec->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!spec->palette.empty()) png_set_PLTE(png, info, palette, static_cast<int>(spec->palette.size()));
    if (!spec->paletteAlpha.empty())
        png_set_tRNS(png, info, spec->paletteAlpha.data(), static_cast<int>(spec->paletteAlpha.size()), nullptr);
    if (!spec->transparentColour.empty()) {
        png_color_16 colour{};
        colour.gray = spec->transparentColour[0];
        if (spec->transparentColour.size() == 3) {
            colour.red = spec->transparentColour[0];
            colour.green = spec->transparentColour[1];
            colour.blue = spec->transparentColour[2];
        }
        png_set_tRNS(png, info, nullptr, 0, &colour);
    }
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const PngSpec& spec) {
    const std::size_t rowBytes = spec.samples.size() / spec.height;
    std::vector<png_bytep> rows(spec.height);
    std::vector<std::uint8_t> samples = spec.samples;
    for (int y = 0; y < spec.height; ++y) rows[y] = samples.data() + rowBytes * y;
    std::vector<png_color> palette;
    for (std::uint32_t c : spec.palette)
        palette.push_back(png_color{static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8),
                                    static_cast<png_byte>(c)});
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    const bool written = WritePng(png, info, &spec, rows.data(), palette.data(), &out);
    png_destroy_write_struct(&png, &info);
    if (!written) throw std::runtime_error("libpng could not write the test picture");
    return out;
}

std::vector<std::uint8_t> DecodePngWithLibpng(const std::vector<std::uint8_t>& file, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size()))
        throw std::runtime_error(image.message);
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) throw std::runtime_error(image.message);
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return pixels;
}

std::vector<std::uint8_t> TopDownRgba(const Picture& picture) {
    const CDib& colour = picture.colour;
    std::vector<std::uint8_t> rgba;
    for (int y = colour.Height() - 1; y >= 0; --y)
        for (int x = 0; x < colour.Width(); ++x) {
            const std::uint8_t* bgr = colour.PixelPtr24(x, y);
            rgba.insert(rgba.end(), {bgr[2], bgr[1], bgr[0]});
            rgba.push_back(picture.HasAlpha() ? picture.alpha.Row(y)[x] : 255);
        }
    return rgba;
}

}  // namespace zentro::test
