#include "icon_sets/set_writer.h"

#include <filesystem>
#include <new>
#include <optional>

#include "icon/icns_writer.h"
#include "platform/file.h"
#include "platform/stop_request.h"
#include "platform/string_table.h"
#include "platform/utf8_path.h"

namespace zentro::sets {

namespace {

std::string Square(int size) { return std::to_string(size) + "x" + std::to_string(size); }

class VectorSink : public ByteSink {
public:
    explicit VectorSink(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    void Write(const void* buffer, std::size_t count) override {
        const auto* from = static_cast<const std::uint8_t*>(buffer);
        bytes_.insert(bytes_.end(), from, from + count);
    }

private:
    std::vector<std::uint8_t>& bytes_;
};

// What one file holds: its bytes, or nothing at all when every part is left out.
struct Contents {
    std::vector<std::uint8_t> bytes;
    bool empty = false;
    std::vector<std::string> partsLeftOut;
};

void Ico(const SetFile& file, const SetImages& images, Contents& out) {
    std::vector<IconImageRef> entries;
    PngForms forms;
    for (int size : file.sizes) {
        if (!images.Has(size)) {
            out.partsLeftOut.push_back(Square(size));
            continue;
        }
        entries.push_back(images.Image(size));
        forms.push_back(file.png256 && size == 256 ? images.Png(size) : std::vector<std::uint8_t>{});
    }
    out.empty = entries.empty();
    VectorSink sink(out.bytes);
    if (!out.empty) WriteIcon(sink, entries, forms);
}

bool Icns(const SetImages& images, Contents& out) {
    std::vector<IcnsElement> elements;
    for (const IcnsType& type : kIcnsLayout) {
        if (!images.Has(type.side)) {
            out.partsLeftOut.push_back(std::string(type.name) + " " + Square(type.side));
            continue;
        }
        IcnsElement element{type.name, {}};
        RgbaImage rgba;
        if (type.data == IcnsData::Png)
            element.data = images.Png(type.side);
        else if (!images.Rgba(type.side, rgba))
            return false;
        else
            element.data = type.data == IcnsData::Mask ? IcnsMask(rgba) : PackIcnsRgb(rgba);
        elements.push_back(std::move(element));
    }
    out.empty = elements.empty();
    return out.empty || IcnsFile(elements, out.bytes);
}

// Whether every part is there; false when memory ran out.
bool MakeContents(const SetFile& file, const SetImages& images, const WebDetails& web, const VectorPicture* vector,
                  const PngEncoder& encode, const std::vector<SetFile>& written, Contents& out) {
    const auto text = [&out](const std::string& s) { out.bytes.assign(s.begin(), s.end()); };
    const int size = file.sizes.empty() ? 0 : file.sizes.front();
    switch (file.kind) {
        case FileKind::Ico: Ico(file, images, out); return true;
        case FileKind::Icns: return Icns(images, out);
        case FileKind::Png:
            out.empty = !images.Has(size);
            if (!out.empty) out.bytes = images.Png(size);
            return true;
        case FileKind::OnColour: {
            out.empty = !images.Has(size);
            if (out.empty) return true;
            RgbaImage rgba;
            if (!images.Rgba(size, rgba)) return false;
            LayOnColour(rgba, ColourBytes(web.colour).data());
            return encode(rgba, out.bytes);
        }
        case FileKind::Document:
            out.empty = vector == nullptr;
            if (vector != nullptr) out.bytes = vector->Document();
            return true;
        case FileKind::Manifest: text(WebManifest(web, written)); return true;
        case FileKind::Html: text(FaviconTags(written)); return true;
    }
    return false;
}

// 0 when the file is written, else the id of the message that tells why not, with
// the system's reason in `because`.
unsigned WriteWhole(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes, FileFailure& because) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    ReplacingFile file;
    if (!file.Open(Utf8FromPath(path))) {
        because = file.Failure();
        return IDS_CANNOT_CREATE;
    }
    try {
        file.Write(bytes.data(), bytes.size());
        file.Commit();
    } catch (const FileError& failed) {
        because = failed.Failure();
        return IDS_CANNOT_WRITE;
    }
    return 0;
}

}  // namespace

std::vector<std::string> FilesInTheWay(const std::string& folder, const std::vector<SetFile>& files) {
    std::vector<std::string> inTheWay;
    for (const SetFile& file : files) {
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::symlink_status(PathFromUtf8(folder) / file.path, error)))
            inTheWay.push_back(file.path);
    }
    return inTheWay;
}

SetOutcome WriteSet(const std::string& folder, const std::vector<SetFile>& files, const SetImages& images,
                    const WebDetails& web, const VectorPicture* vector, const PngEncoder& encode,
                    const SetProgress& progress) {
    SetOutcome outcome;
    // One flush for the whole set rather than one per file; what was there before is never lost.
    const BatchedSync batched;
    for (const SetFile& file : files) {
        if (StopRequested()) {
            outcome.stopped = true;
            return outcome;
        }
        if (progress) progress(static_cast<int>(&file - files.data()), file.path);
        Contents contents;
        unsigned failure = 0;
        try {
            if (!MakeContents(file, images, web, vector, encode, outcome.written, contents))
                failure = IDS_NO_DIB_MEMORY;
        } catch (const std::bad_alloc&) {
            failure = IDS_NO_DIB_MEMORY;
        }
        if (failure == 0 && !contents.empty)
            failure = WriteWhole(PathFromUtf8(folder) / file.path, contents.bytes, outcome.failedBecause);
        if (failure != 0) {
            outcome.stopped = StopRequested();
            outcome.failedPath = file.path;
            outcome.failure = failure;
            return outcome;
        }
        if (contents.empty)
            outcome.leftOut.push_back({file.path, {}});
        else if (!contents.partsLeftOut.empty())
            outcome.leftOut.push_back({file.path, contents.partsLeftOut});
        if (!contents.empty) outcome.written.push_back(file);
    }
    return outcome;
}

}  // namespace zentro::sets
