#include "codecs/jpeg_decoder.h"

// jpeglib.h needs size_t and FILE declared first.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "codecs/exif_orientation.h"
#include "codecs/picture_rows.h"
#include "platform/string_table.h"

namespace zentro::codecs {

namespace {

// Every scan of a progressive file is decoded over the whole picture; a few
// hundred bytes can describe thousands of them. Real encoders write about ten.
constexpr long kMaxScans = 1000;
constexpr unsigned kApp1 = JPEG_APP0 + 1;

// All that libjpeg's callbacks and the setjmp functions share: plain data only,
// since libjpeg leaves those functions by longjmp.
struct JpegJob {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    unsigned failure;
    bool created;
};

// Where decoded pixels go: the picture's top row, its row step, and how a source
// pixel (x, y) lands upright (see Placement()).
struct Target {
    std::uint8_t* top;
    std::ptrdiff_t stride;
    int orientation;
    bool cmyk;
    bool adobe;
};

unsigned IdForError(int code) {
    switch (code) {
        case JERR_OUT_OF_MEMORY:
        case JERR_IMAGE_TOO_BIG:
        case JERR_WIDTH_OVERFLOW: return IDS_NO_DIB_MEMORY;
        case JERR_SOF_UNSUPPORTED:
        case JERR_BAD_PRECISION:
        case JERR_CONVERSION_NOTIMPL:
        case JERR_NOT_COMPILED: return IDS_UNSUPPORTED_BITMAP;
        default: return IDS_CANNOT_READ;
    }
}

[[noreturn]] void Leave(j_common_ptr common, unsigned id) {
    auto* job = static_cast<JpegJob*>(common->client_data);
    job->failure = id;
    std::longjmp(job->jump, 1);
}

[[noreturn]] void LeaveOnError(j_common_ptr common) { Leave(common, IdForError(common->err->msg_code)); }

// libjpeg carries on after data that ends early or does not decode, filling in
// grey; such a file is refused, not half shown. Other warnings are harmless.
void OnMessage(j_common_ptr common, int level) {
    if (level >= 0) return;
    const int code = common->err->msg_code;
    if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_HUFF_BAD_CODE) Leave(common, IDS_CANNOT_READ);
}

void OutputNothing(j_common_ptr) {}

void LimitScans(j_common_ptr common) {
    if (reinterpret_cast<j_decompress_ptr>(common)->input_scan_number > kMaxScans) Leave(common, IDS_CANNOT_READ);
}

// The stored value of an Adobe CMYK file is 255 minus the ink; other writers store the ink.
std::uint8_t FromInk(unsigned ink, unsigned black, bool adobe) {
    if (!adobe) {
        ink = 255 - ink;
        black = 255 - black;
    }
    return static_cast<std::uint8_t>((ink * black + 127) / 255);
}

// How each Exif orientation stands a picture upright: mirror the stored columns,
// the stored rows, or both, and with 5 to 8 let stored rows become columns.
struct Turn {
    bool transposed;
    bool mirroredColumns;
    bool mirroredRows;
};
constexpr Turn kTurns[9] = {{false, false, false}, {false, false, false}, {false, true, false},
                            {false, true, true},   {false, false, true},  {true, false, false},
                            {true, false, true},   {true, true, true},    {true, true, false}};

// Where the first pixel of source row y lands, and the step to the next pixel,
// as offsets from the picture's top-left corner.
void Placement(const Target* to, int y, int width, int height, std::ptrdiff_t* start, std::ptrdiff_t* step) {
    const Turn turn = kTurns[to->orientation];
    const std::ptrdiff_t across = 3, down = -to->stride;
    const std::ptrdiff_t column = turn.mirroredColumns ? width - 1 : 0;
    const std::ptrdiff_t line = turn.mirroredRows ? height - 1 - y : y;
    const std::ptrdiff_t alongRow = turn.transposed ? down : across;
    const std::ptrdiff_t alongColumn = turn.transposed ? across : down;
    *start = alongRow * column + alongColumn * line;
    *step = turn.mirroredColumns ? -alongRow : alongRow;
}

void PlaceRow(const Target* to, const std::uint8_t* row, int y, int width, int height) {
    std::ptrdiff_t at, step;
    Placement(to, y, width, height, &at, &step);
    for (int x = 0; x < width; ++x, at += step) {
        std::uint8_t* out = to->top + at;
        if (to->cmyk) {
            const std::uint8_t* p = row + 4 * x;
            out[0] = FromInk(p[2], p[3], to->adobe);
            out[1] = FromInk(p[1], p[3], to->adobe);
            out[2] = FromInk(p[0], p[3], to->adobe);
        } else {
            std::memcpy(out, row + 3 * x, 3);
        }
    }
}

// The setjmp functions below are plain C: nothing in them has a destructor.

bool ReadHeader(JpegJob* job, const std::uint8_t* data, std::size_t size) {
    if (setjmp(job->jump)) return false;
    job->info.err = jpeg_std_error(&job->errors);
    job->errors.error_exit = LeaveOnError;
    job->errors.emit_message = OnMessage;
    job->errors.output_message = OutputNothing;
    job->info.client_data = job;
    jpeg_create_decompress(&job->info);
    job->created = true;
    job->progress.progress_monitor = LimitScans;
    job->info.progress = &job->progress;
    jpeg_mem_src(&job->info, data, static_cast<unsigned long>(size));
    jpeg_save_markers(&job->info, kApp1, 0xFFFF);
    jpeg_read_header(&job->info, TRUE);
    return true;
}

// `row` holds one decoded row when pixels need turning or converting; else rows go straight in.
bool ReadPixels(JpegJob* job, const Target* to, std::uint8_t* row) {
    if (setjmp(job->jump)) return false;
    jpeg_start_decompress(&job->info);
    const int width = static_cast<int>(job->info.output_width);
    const int height = static_cast<int>(job->info.output_height);
    while (job->info.output_scanline < job->info.output_height) {
        const int y = static_cast<int>(job->info.output_scanline);
        JSAMPROW into = row != nullptr ? row : to->top - to->stride * y;
        if (jpeg_read_scanlines(&job->info, &into, 1) != 1)
            Leave(reinterpret_cast<j_common_ptr>(&job->info), IDS_CANNOT_READ);
        if (row != nullptr) PlaceRow(to, row, y, width, height);
    }
    return true;
}

int Orientation(const jpeg_decompress_struct& info) {
    for (jpeg_saved_marker_ptr m = info.marker_list; m != nullptr; m = m->next) {
        if (m->marker != kApp1) continue;
        const int orientation = ExifOrientation(m->data, m->data_length);
        if (orientation != 1) return orientation;
    }
    return 1;
}

class JpegReader {
public:
    JpegReader() : job_{} {}
    ~JpegReader() {
        if (job_.created) jpeg_destroy_decompress(&job_.info);
    }
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    unsigned Decode(const std::uint8_t* data, std::size_t size, Picture& picture) {
        if (!ReadHeader(&job_, data, size)) return job_.failure;
        jpeg_decompress_struct& info = job_.info;
        const std::uint64_t width = info.image_width, height = info.image_height;
        if (const unsigned id = RefuseSize(width, height)) return id;
        const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
        info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
        const int orientation = Orientation(info);
        const bool sidesSwap = orientation >= 5;
        if (const unsigned id = CreatePicture(picture, sidesSwap ? height : width, sidesSwap ? width : height, false))
            return id;
        const Target to{ColourRowFromTop(picture, 0), static_cast<std::ptrdiff_t>(picture.colour.Stride()), orientation,
                        cmyk, info.saw_Adobe_marker != 0};
        std::vector<std::uint8_t> row;
        if (cmyk || orientation != 1) row.resize(static_cast<std::size_t>(width) * 4);
        return ReadPixels(&job_, &to, row.empty() ? nullptr : row.data()) ? 0 : job_.failure;
    }

private:
    JpegJob job_;
};

}  // namespace

unsigned DecodeJpeg(const std::uint8_t* data, std::size_t size, Picture& picture) {
    JpegReader reader;
    const unsigned id = DecodeWhole(picture, [&] { return reader.Decode(data, size, picture); });
    picture.lossy = true;
    return id;
}

}  // namespace zentro::codecs
