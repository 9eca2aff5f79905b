#include "codec_encoders.h"

#include <png.h>
// jpeglib.h needs size_t and FILE declared first.
#include <gif_lib.h>
#include <webp/decode.h>
#include <webp/encode.h>

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

#include "codecs/picture_decoder.h"

namespace zentro::test {

namespace {

void Append(png_structp png, png_bytep data, png_size_t count) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}
void NoFlush(png_structp) {}

// No object with a destructor lives here: libpng leaves by longjmp.
bool WritePng(png_structp png, png_infop info, const PngLayout* layout, png_bytepp rows, png_colorp palette,
              std::vector<std::uint8_t>* out) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, Append, NoFlush);
    png_set_IHDR(png, info, layout->width, layout->height, layout->bitDepth, layout->colourType,
                 layout->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!layout->palette.empty()) png_set_PLTE(png, info, palette, static_cast<int>(layout->palette.size()));
    if (!layout->paletteAlpha.empty())
        png_set_tRNS(png, info, layout->paletteAlpha.data(), static_cast<int>(layout->paletteAlpha.size()), nullptr);
    if (!layout->transparentColour.empty()) {
        png_color_16 colour{};
        colour.gray = layout->transparentColour[0];
        if (layout->transparentColour.size() == 3) {
            colour.red = layout->transparentColour[0];
            colour.green = layout->transparentColour[1];
            colour.blue = layout->transparentColour[2];
        }
        png_set_tRNS(png, info, nullptr, 0, &colour);
    }
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const PngLayout& layout) {
    const std::size_t rowBytes = layout.samples.size() / layout.height;
    std::vector<png_bytep> rows(layout.height);
    std::vector<std::uint8_t> samples = layout.samples;
    for (int y = 0; y < layout.height; ++y) rows[y] = samples.data() + rowBytes * y;
    std::vector<png_color> palette;
    for (std::uint32_t c : layout.palette)
        palette.push_back(
            png_color{static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8), static_cast<png_byte>(c)});
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    const bool written = WritePng(png, info, &layout, rows.data(), palette.data(), &out);
    png_destroy_write_struct(&png, &info);
    if (!written) throw std::runtime_error("libpng could not write the test picture");
    return out;
}

std::vector<std::uint8_t> DecodePngWithLibpng(const std::vector<std::uint8_t>& file, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) throw std::runtime_error(image.message);
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) throw std::runtime_error(image.message);
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return pixels;
}

namespace {

struct JpegFailure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void LeaveJpeg(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegFailure*>(info->err)->jump, 1); }

// No object with a destructor lives here: libjpeg leaves by longjmp.
bool CompressJpeg(jpeg_compress_struct* info, JpegFailure* failure, const JpegLayout* layout, JSAMPARRAY rows,
                  unsigned char** out, unsigned long* outSize) {
    info->err = jpeg_std_error(&failure->manager);
    failure->manager.error_exit = LeaveJpeg;
    if (setjmp(failure->jump)) return false;
    jpeg_create_compress(info);
    jpeg_mem_dest(info, out, outSize);
    info->image_width = static_cast<JDIMENSION>(layout->width);
    info->image_height = static_cast<JDIMENSION>(layout->height);
    info->input_components = layout->components;
    info->in_color_space = layout->components == 1 ? JCS_GRAYSCALE : layout->components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(info);
    if (layout->ycck) jpeg_set_colorspace(info, JCS_YCCK);
    jpeg_set_quality(info, layout->quality, TRUE);
    if (layout->fullChroma)
        for (int c = 0; c < info->num_components; ++c)
            info->comp_info[c].h_samp_factor = info->comp_info[c].v_samp_factor = 1;
    if (layout->progressive) jpeg_simple_progression(info);
    jpeg_start_compress(info, TRUE);
    if (!layout->app1.empty())
        jpeg_write_marker(info, JPEG_APP0 + 1, layout->app1.data(), static_cast<unsigned>(layout->app1.size()));
    jpeg_write_scanlines(info, rows, static_cast<JDIMENSION>(layout->height));
    jpeg_finish_compress(info);
    return true;
}

bool DecompressJpeg(jpeg_decompress_struct* info, JpegFailure* failure, const std::vector<std::uint8_t>* file,
                    std::vector<std::uint8_t>* pixels) {
    info->err = jpeg_std_error(&failure->manager);
    failure->manager.error_exit = LeaveJpeg;
    if (setjmp(failure->jump)) return false;
    jpeg_create_decompress(info);
    jpeg_mem_src(info, file->data(), static_cast<unsigned long>(file->size()));
    jpeg_read_header(info, TRUE);
    info->out_color_space = JCS_RGB;
    jpeg_start_decompress(info);
    pixels->resize(static_cast<std::size_t>(info->output_width) * info->output_height * 3);
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = pixels->data() + static_cast<std::size_t>(info->output_scanline) * info->output_width * 3;
        jpeg_read_scanlines(info, &row, 1);
    }
    jpeg_finish_decompress(info);
    return true;
}

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const JpegLayout& layout) {
    std::vector<std::uint8_t> samples = layout.samples;
    std::vector<JSAMPROW> rows(layout.height);
    for (int y = 0; y < layout.height; ++y)
        rows[y] = samples.data() + static_cast<std::size_t>(y) * layout.width * layout.components;
    jpeg_compress_struct info{};
    JpegFailure failure{};
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    const bool written = CompressJpeg(&info, &failure, &layout, rows.data(), &out, &outSize);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> file(out, out + (written ? outSize : 0));
    std::free(out);
    if (!written) throw std::runtime_error("libjpeg could not write the test picture");
    return file;
}

std::vector<std::uint8_t> DecodeJpegWithLibjpeg(const std::vector<std::uint8_t>& file, int& width, int& height) {
    jpeg_decompress_struct info{};
    JpegFailure failure{};
    std::vector<std::uint8_t> pixels;
    const bool read = DecompressJpeg(&info, &failure, &file, &pixels);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    jpeg_destroy_decompress(&info);
    if (!read) throw std::runtime_error("libjpeg could not read the test picture");
    return pixels;
}

std::vector<std::uint8_t> EncodeWebp(int width, int height, const std::vector<std::uint8_t>& pixels, bool withAlpha,
                                     int quality) {
    std::uint8_t* out = nullptr;
    const int stride = width * (withAlpha ? 4 : 3);
    std::size_t size;
    if (quality == 0)
        size = withAlpha ? WebPEncodeLosslessRGBA(pixels.data(), width, height, stride, &out)
                         : WebPEncodeLosslessRGB(pixels.data(), width, height, stride, &out);
    else
        size = withAlpha ? WebPEncodeRGBA(pixels.data(), width, height, stride, float(quality), &out)
                         : WebPEncodeRGB(pixels.data(), width, height, stride, float(quality), &out);
    std::vector<std::uint8_t> file(out, out + size);
    WebPFree(out);
    if (size == 0) throw std::runtime_error("libwebp could not write the test picture");
    return file;
}

namespace {

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutChunk(std::vector<std::uint8_t>& out, const char* tag, const std::vector<std::uint8_t>& payload) {
    out.insert(out.end(), tag, tag + 4);
    PutLe(out, static_cast<std::uint32_t>(payload.size()), 4);
    out.insert(out.end(), payload.begin(), payload.end());
    if (payload.size() % 2) out.push_back(0);
}

}  // namespace

std::vector<std::uint8_t> EncodeAnimatedWebp(int width, int height, const std::vector<WebpFrame>& frames) {
    constexpr std::uint8_t kAnimation = 0x02, kAlpha = 0x10;
    std::vector<std::uint8_t> header = {kAnimation | kAlpha, 0, 0, 0};
    PutLe(header, static_cast<std::uint32_t>(width - 1), 3);
    PutLe(header, static_cast<std::uint32_t>(height - 1), 3);
    std::vector<std::uint8_t> body = {'W', 'E', 'B', 'P'};
    PutChunk(body, "VP8X", header);
    PutChunk(body, "ANIM", {0, 0, 0, 0, 0, 0});
    for (const WebpFrame& f : frames) {
        std::vector<std::uint8_t> frame;
        PutLe(frame, static_cast<std::uint32_t>(f.x / 2), 3);
        PutLe(frame, static_cast<std::uint32_t>(f.y / 2), 3);
        PutLe(frame, static_cast<std::uint32_t>(f.width - 1), 3);
        PutLe(frame, static_cast<std::uint32_t>(f.height - 1), 3);
        PutLe(frame, 100, 3);   // duration in milliseconds
        frame.push_back(0x02);  // not blended with what lies below
        // The still file's chunks, without its RIFF header.
        const std::vector<std::uint8_t> still = EncodeWebp(f.width, f.height, f.rgba, true);
        frame.insert(frame.end(), still.begin() + 12, still.end());
        PutChunk(body, "ANMF", frame);
    }
    std::vector<std::uint8_t> file = {'R', 'I', 'F', 'F'};
    PutLe(file, static_cast<std::uint32_t>(body.size()), 4);
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

std::vector<std::uint8_t> DecodeWebpWithLibwebp(const std::vector<std::uint8_t>& file, int& width, int& height) {
    std::uint8_t* rgba = WebPDecodeRGBA(file.data(), file.size(), &width, &height);
    if (rgba == nullptr) throw std::runtime_error("libwebp could not read the test picture");
    std::vector<std::uint8_t> pixels(rgba, rgba + static_cast<std::size_t>(width) * height * 4);
    WebPFree(rgba);
    return pixels;
}

namespace {

int AppendGif(GifFileType* gif, const GifByteType* data, int count) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + count);
    return count;
}

}  // namespace

std::vector<std::uint8_t> EncodeGif(int width, int height, std::vector<std::uint32_t> palette, int background,
                                    const std::vector<GifFrame>& frames) {
    std::size_t entries = 2;
    while (entries < palette.size()) entries *= 2;
    palette.resize(entries, 0);
    std::vector<GifColorType> colours;
    for (std::uint32_t c : palette)
        colours.push_back(GifColorType{GifByteType(c >> 16), GifByteType(c >> 8), GifByteType(c)});
    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, AppendGif, &error);
    if (gif == nullptr) throw std::runtime_error("giflib could not start the test picture");
    EGifSetGifVersion(gif, true);
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(entries), colours.data());
    bool ok = EGifPutScreenDesc(gif, width, height, 8, background, map) == GIF_OK;
    GifFreeMapObject(map);
    const int firstRows[] = {0, 4, 2, 1}, rowSteps[] = {8, 8, 4, 2};
    for (const GifFrame& f : frames) {
        if (f.transparent >= 0) {
            GraphicsControlBlock control{0, false, 10, f.transparent};  // no disposal given
            GifByteType block[4];
            const std::size_t length = EGifGCBToExtension(&control, block);
            ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), block) == GIF_OK;
        }
        ok = ok && EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlaced, nullptr) == GIF_OK;
        std::vector<GifPixelType> rows(f.indexes);
        for (int pass = 0; pass < (f.interlaced ? 4 : 1); ++pass)
            for (int y = f.interlaced ? firstRows[pass] : 0; y < f.height; y += f.interlaced ? rowSteps[pass] : 1)
                ok = ok && EGifPutLine(gif, rows.data() + static_cast<std::size_t>(y) * f.width, f.width) == GIF_OK;
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    if (!ok) throw std::runtime_error("giflib could not write the test picture");
    return out;
}

unsigned DecodeBytes(const std::vector<std::uint8_t>& file, Picture& picture) {
    return codecs::DecodePicture(file.data(), file.size(), picture);
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

std::vector<std::uint8_t> ExifBlock(int orientation, bool bigEndian) {
    std::vector<std::uint8_t> block = {'E', 'x', 'i', 'f', 0, 0};
    auto put16 = [&](unsigned v) {
        if (bigEndian)
            block.insert(block.end(), {std::uint8_t(v >> 8), std::uint8_t(v)});
        else
            block.insert(block.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
    };
    auto put32 = [&](unsigned v) {
        if (bigEndian)
            put16(v >> 16), put16(v & 0xFFFF);
        else
            put16(v & 0xFFFF), put16(v >> 16);
    };
    block.insert(block.end(), bigEndian ? std::initializer_list<std::uint8_t>{'M', 'M'}
                                        : std::initializer_list<std::uint8_t>{'I', 'I'});
    put16(42);
    put32(8);
    put16(1);
    put16(0x0112);
    put16(3);
    put32(1);
    put16(static_cast<unsigned>(orientation));
    put16(0);
    put32(0);
    return block;
}

}  // namespace zentro::test
