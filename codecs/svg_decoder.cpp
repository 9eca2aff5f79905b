#include "codecs/svg_decoder.h"

#include <cairo.h>
#include <librsvg/rsvg.h>
#include <zlib.h>

#include <algorithm>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

#include "codecs/picture_rows.h"
#include "codecs/svg_references.h"
#include "codecs/svg_sniff.h"
#include "platform/string_table.h"

namespace zentro::codecs {

namespace {

// Far beyond any real drawing's text; a .svgz that inflates past it is a bomb.
constexpr std::size_t kMaxSvgBytes = std::size_t{64} << 20;

// 0 with the whole stream in `text`, 103 when it is cut or corrupt, 105 past kMaxSvgBytes.
unsigned Inflate(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& text) {
    if (size > kMaxSvgBytes) return IDS_NO_DIB_MEMORY;
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) return IDS_NO_DIB_MEMORY;
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    // Grown as the text comes, so that a small file costs little.
    text.resize(std::min(kMaxSvgBytes, std::max<std::size_t>(size * 4, 4096)));
    unsigned id = IDS_CANNOT_READ;
    for (;;) {
        if (stream.total_out == text.size()) {
            if (text.size() == kMaxSvgBytes) {
                id = IDS_NO_DIB_MEMORY;
                break;
            }
            text.resize(std::min(kMaxSvgBytes, text.size() * 2));
        }
        stream.next_out = text.data() + stream.total_out;
        stream.avail_out = static_cast<uInt>(text.size() - stream.total_out);
        const int status = inflate(&stream, Z_NO_FLUSH);
        if (status == Z_STREAM_END) id = 0;
        if (status != Z_OK) break;
    }
    text.resize(stream.total_out);
    inflateEnd(&stream);
    return id;
}

// librsvg and cairo are used by one thread at a time, whichever document it
// draws: both recycle memory between documents through their own atomics and
// futexes, which no sanitizer sees, so this lock is what shows that the threads
// of a batch never meet inside them. A drawing is a few milliseconds.
std::mutex& LibraryLock() {
    static std::mutex lock;
    return lock;
}

struct HandleRelease {
    void operator()(RsvgHandle* handle) const {
        const std::lock_guard<std::mutex> lock(LibraryLock());
        g_object_unref(handle);
    }
};
struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextRelease {
    void operator()(cairo_t* cairo) const { cairo_destroy(cairo); }
};

// What cairo's PNG writer does to each premultiplied pixel, so that a drawing
// gives the very bytes rsvg-convert writes for it.
std::uint8_t Unpremultiply(std::uint32_t channel, std::uint32_t alpha) {
    return static_cast<std::uint8_t>((channel * 255 + alpha / 2) / alpha);
}

void StoreSurface(cairo_surface_t* surface, int size, Picture& picture) {
    const unsigned char* rows = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < size; ++y) {
        // Native-endian ARGB words; read as words, not bytes, so any host gives the same colours.
        const auto* in = reinterpret_cast<const std::uint32_t*>(rows + static_cast<std::ptrdiff_t>(stride) * y);
        std::uint8_t* colour = ColourRowFromTop(picture, y);
        std::uint8_t* alpha = AlphaRowFromTop(picture, y);
        for (int x = 0; x < size; ++x, colour += 3) {
            const std::uint32_t argb = in[x];
            const std::uint32_t a = argb >> 24;
            alpha[x] = static_cast<std::uint8_t>(a);
            if (a == 0) {
                colour[0] = colour[1] = colour[2] = 0;
                continue;
            }
            colour[0] = Unpremultiply(argb & 0xFF, a);
            colour[1] = Unpremultiply((argb >> 8) & 0xFF, a);
            colour[2] = Unpremultiply((argb >> 16) & 0xFF, a);
        }
    }
}

class SvgPicture final : public VectorPicture {
public:
    SvgPicture(std::unique_ptr<RsvgHandle, HandleRelease> handle, std::vector<std::uint8_t> document,
               std::vector<std::string> references)
        : handle_(std::move(handle)), document_(std::move(document)), references_(std::move(references)) {}

    unsigned Draw(int size, Picture& picture) const override {
        return DecodeWhole(picture, [&] { return DrawInto(size, picture); });
    }
    const std::vector<std::uint8_t>& Document() const override { return document_; }
    std::vector<std::string> OutsideReferences() const override { return references_; }

private:
    unsigned DrawInto(int size, Picture& picture) const {
        if (size < 1) return IDS_CANNOT_READ;
        if (size > kLargestDrawing) return IDS_NO_DIB_MEMORY;
        if (const unsigned id = CreatePicture(picture, size, size, true)) return id;
        const std::lock_guard<std::mutex> lock(LibraryLock());
        const std::unique_ptr<cairo_surface_t, SurfaceRelease> surface(
            cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size));
        if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return IDS_NO_DIB_MEMORY;
        const std::unique_ptr<cairo_t, ContextRelease> cairo(cairo_create(surface.get()));
        if (cairo_status(cairo.get()) != CAIRO_STATUS_SUCCESS) return IDS_NO_DIB_MEMORY;
        const RsvgRectangle viewport{0, 0, static_cast<double>(size), static_cast<double>(size)};
        GError* error = nullptr;
        const bool drawn = rsvg_handle_render_document(handle_.get(), cairo.get(), &viewport, &error);
        if (error != nullptr) g_error_free(error);
        if (!drawn) return IDS_CANNOT_READ;
        cairo_surface_flush(surface.get());
        StoreSurface(surface.get(), size, picture);
        return 0;
    }

    std::unique_ptr<RsvgHandle, HandleRelease> handle_;
    std::vector<std::uint8_t> document_;
    std::vector<std::string> references_;
};

unsigned Parse(std::vector<std::uint8_t> text, std::shared_ptr<const VectorPicture>& vector) {
    // No base file and no flag lifting the parser's limits: nothing the document
    // names outside itself can be resolved, and libxml2 keeps its bounds on
    // entities and depth.
    std::unique_lock<std::mutex> lock(LibraryLock());
    // Read by the same XML library as the drawing, so under the same lock; before the
    // handle is made, so that running out of memory here leaves nothing to free.
    std::vector<std::string> references = SvgOutsideReferences(text.data(), text.size());
    GInputStream* stream = g_memory_input_stream_new_from_data(text.data(), static_cast<gssize>(text.size()), nullptr);
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_stream_sync(stream, nullptr, RSVG_HANDLE_FLAGS_NONE, nullptr, &error);
    g_object_unref(stream);
    if (error != nullptr) g_error_free(error);
    if (handle == nullptr) return IDS_CANNOT_READ;
    // Lengths in inches or millimetres, as rsvg-convert counts them.
    rsvg_handle_set_dpi(handle, 96.0);
    lock.unlock();
    std::unique_ptr<RsvgHandle, HandleRelease> owned(handle);
    vector = std::make_shared<const SvgPicture>(std::move(owned), std::move(text), std::move(references));
    return 0;
}

}  // namespace

bool DrawsSvg() { return true; }

unsigned DecodeSvg(const std::uint8_t* data, std::size_t size, std::shared_ptr<const VectorPicture>& vector) {
    vector.reset();
    try {
        if (!IsGzip(data, size))
            return size > kMaxSvgBytes ? IDS_NO_DIB_MEMORY
                                       : Parse(std::vector<std::uint8_t>(data, data + size), vector);
        // Inflated here rather than by librsvg, which would take a bomb's whole text.
        std::vector<std::uint8_t> text;
        if (const unsigned id = Inflate(data, size, text)) return id;
        return Parse(std::move(text), vector);
    } catch (const std::bad_alloc&) {
        vector.reset();
        return IDS_NO_DIB_MEMORY;
    }
}

}  // namespace zentro::codecs
