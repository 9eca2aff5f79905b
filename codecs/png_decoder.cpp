#include "codecs/png_decoder.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "codecs/picture_rows.h"
#include "platform/string_table.h"

namespace zentro::codecs {

namespace {

// Ancillary chunks that would only cost time and memory: we apply no profile and keep no text.
constexpr png_byte kIgnoredChunks[] = "iCCP\0iTXt\0tEXt\0zTXt\0sPLT\0eXIf";
constexpr int kIgnoredChunkCount = 6;
// Far above any real file's chunk count or ancillary chunk size, far below what hurts.
constexpr png_uint_32 kMaxCachedChunks = 1000;
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;

// Everything libpng's callbacks and the setjmp functions share: plain data only,
// since libpng leaves those functions by longjmp.
struct PngJob {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset;
    bool outOfMemory;
    png_structp png;
    png_infop info;
    png_uint_32 width;
    png_uint_32 height;
    int channels;
    int depth;
    bool interlaced;
    png_size_t rowBytes;
};

// Where converted rows go: the top row and the step to the row below, for the
// colour and (when there is one) the alpha plane.
struct RowTargets {
    std::uint8_t* colour;
    std::ptrdiff_t colourStep;
    std::uint8_t* alpha;
    std::ptrdiff_t alphaStep;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (count > job->size - job->offset) png_error(png, "truncated");
    std::memcpy(out, job->data + job->offset, count);
    job->offset += count;
}

[[noreturn]] void LeaveOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

png_voidp Allocate(png_structp png, png_alloc_size_t bytes) {
    void* memory = std::malloc(bytes);
    if (memory == nullptr) static_cast<PngJob*>(png_get_mem_ptr(png))->outOfMemory = true;
    return memory;
}
void Release(png_structp, png_voidp memory) { std::free(memory); }

std::uint8_t Sample(const std::uint8_t* p, int depth) {
    if (depth == 8) return p[0];
    const unsigned v = (static_cast<unsigned>(p[0]) << 8) | p[1];
    return static_cast<std::uint8_t>((v * 255 + 32767) / 65535);
}

// One row of grey, grey + alpha, BGR or BGRA samples of 8 or 16 bits.
void StoreRow(const PngJob* job, const std::uint8_t* in, std::uint8_t* colour, std::uint8_t* alpha) {
    const int width = static_cast<int>(job->width);
    // The usual 8-bit colour rows, stored blue first as the bitmap keeps them.
    if (job->depth == 8 && job->channels == 3) {
        std::memcpy(colour, in, 3 * static_cast<std::size_t>(width));
        return;
    }
    if (job->depth == 8 && job->channels == 4) {
        SplitBgra(in, width, colour, alpha);
        return;
    }
    const int bytes = job->depth / 8;
    const bool hasColour = job->channels >= 3;
    const bool hasAlpha = job->channels == 2 || job->channels == 4;
    for (int x = 0; x < width; ++x, colour += 3) {
        if (hasColour) {
            colour[0] = Sample(in, job->depth);
            colour[1] = Sample(in + bytes, job->depth);
            colour[2] = Sample(in + 2 * bytes, job->depth);
            in += 3 * bytes;
        } else {
            colour[0] = colour[1] = colour[2] = Sample(in, job->depth);
            in += bytes;
        }
        if (hasAlpha) {
            alpha[x] = Sample(in, job->depth);
            in += bytes;
        }
    }
}

// The setjmp functions below are plain C: nothing in them has a destructor.

bool ReadHeader(PngJob* job) {
    if (setjmp(png_jmpbuf(job->png))) return false;
    png_set_user_limits(job->png, static_cast<png_uint_32>(kMaxPixels), static_cast<png_uint_32>(kMaxPixels));
    png_set_chunk_cache_max(job->png, kMaxCachedChunks);
    png_set_chunk_malloc_max(job->png, kMaxChunkBytes);
    png_set_keep_unknown_chunks(job->png, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks, kIgnoredChunkCount);
    png_set_read_fn(job->png, job, ReadFromMemory);
    png_read_info(job->png, job->info);
    // Palettes become RGB, grey of 1, 2 or 4 bits becomes 8 bits, tRNS becomes an alpha channel;
    // 16-bit samples stay as they are and are rounded to 8 bits here; colour comes blue first,
    // as the bitmap stores it.
    png_set_expand(job->png);
    png_set_bgr(job->png);
    job->interlaced = png_get_interlace_type(job->png, job->info) != PNG_INTERLACE_NONE;
    if (job->interlaced) png_set_interlace_handling(job->png);
    png_read_update_info(job->png, job->info);
    job->width = png_get_image_width(job->png, job->info);
    job->height = png_get_image_height(job->png, job->info);
    job->channels = png_get_channels(job->png, job->info);
    job->depth = png_get_bit_depth(job->png, job->info);
    job->rowBytes = png_get_rowbytes(job->png, job->info);
    return true;
}

bool ReadRowByRow(PngJob* job, std::uint8_t* row, const RowTargets* to) {
    if (setjmp(png_jmpbuf(job->png))) return false;
    for (png_uint_32 y = 0; y < job->height; ++y) {
        png_read_row(job->png, row, nullptr);
        StoreRow(job, row, to->colour + to->colourStep * y, to->alpha ? to->alpha + to->alphaStep * y : nullptr);
    }
    return true;
}

bool ReadWholeImage(PngJob* job, png_bytepp rows) {
    if (setjmp(png_jmpbuf(job->png))) return false;
    png_read_image(job->png, rows);
    return true;
}

class PngReader {
public:
    PngReader(const std::uint8_t* data, std::size_t size) : job_{} {
        job_.data = data;
        job_.size = size;
        job_.png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, LeaveOnError, IgnoreWarning, &job_,
                                            Allocate, Release);
        if (job_.png != nullptr) job_.info = png_create_info_struct(job_.png);
    }
    ~PngReader() { png_destroy_read_struct(&job_.png, &job_.info, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    unsigned Decode(Picture& picture) {
        if (job_.png == nullptr || job_.info == nullptr) return IDS_NO_DIB_MEMORY;
        if (!ReadHeader(&job_)) return Failure();
        const bool hasAlpha = job_.channels == 2 || job_.channels == 4;
        if (const unsigned id = CreatePicture(picture, job_.width, job_.height, hasAlpha)) return id;
        const RowTargets to{ColourRowFromTop(picture, 0), -static_cast<std::ptrdiff_t>(picture.colour.Stride()),
                            hasAlpha ? AlphaRowFromTop(picture, 0) : nullptr,
                            hasAlpha ? -static_cast<std::ptrdiff_t>(picture.alpha.Stride()) : 0};
        return job_.interlaced ? DecodeInterlaced(to) : DecodeRows(to);
    }

private:
    unsigned Failure() const { return job_.outOfMemory ? IDS_NO_DIB_MEMORY : IDS_CANNOT_READ; }

    unsigned DecodeRows(const RowTargets& to) {
        std::vector<std::uint8_t> row(job_.rowBytes);
        return ReadRowByRow(&job_, row.data(), &to) ? 0 : Failure();
    }

    // The passes fill in each other's rows, so the whole image is held before conversion.
    unsigned DecodeInterlaced(const RowTargets& to) {
        std::vector<std::uint8_t> image(job_.rowBytes * job_.height);
        std::vector<png_bytep> rows(job_.height);
        for (png_uint_32 y = 0; y < job_.height; ++y) rows[y] = image.data() + job_.rowBytes * y;
        if (!ReadWholeImage(&job_, rows.data())) return Failure();
        for (png_uint_32 y = 0; y < job_.height; ++y)
            StoreRow(&job_, rows[y], to.colour + to.colourStep * y, to.alpha ? to.alpha + to.alphaStep * y : nullptr);
        return 0;
    }

    PngJob job_;
};

// The size from the header, before libpng takes any memory for the image: 130 when too large.
unsigned RefuseClaimedSize(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kIhdrEnd = 8 + 8 + 13;
    if (size < kIhdrEnd || std::memcmp(data + 12, "IHDR", 4) != 0) return 0;
    auto be32 = [&](std::size_t at) {
        return (std::uint64_t{data[at]} << 24) | (std::uint64_t{data[at + 1]} << 16) |
               (std::uint64_t{data[at + 2]} << 8) | data[at + 3];
    };
    return RefuseSize(be32(16), be32(20));
}

}  // namespace

unsigned DecodePng(const std::uint8_t* data, std::size_t size, Picture& picture) {
    if (const unsigned id = RefuseClaimedSize(data, size)) return id;
    PngReader reader(data, size);
    return DecodeWhole(picture, [&] { return reader.Decode(picture); });
}

}  // namespace zentro::codecs
