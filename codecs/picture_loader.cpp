#include "codecs/picture_loader.h"

#include <new>
#include <vector>

#include "codecs/bmp_decoder.h"
#include "codecs/icon_decoder.h"
#include "codecs/picture_decoder.h"
#include "codecs/picture_file.h"
#include "codecs/picture_format.h"
#include "codecs/picture_rows.h"
#include "codecs/svg_decoder.h"
#include "platform/message.h"
#include "platform/string_table.h"

namespace zentro::codecs {

namespace {

// What the message that refuses `file` with `id` names.
std::vector<std::string> Facts(unsigned id, PictureFile& file) {
    switch (id) {
        case IDS_FILE_NOT_FOUND: return {FailureReason(file.Stream().Failure(), false)};
        case IDS_NOT_A_BITMAP:
            return {std::string("BMP, PNG, JPEG, WebP, GIF, ICO, CUR") + (DrawsSvg() ? ", SVG" : "")};
        case IDS_PICTURE_TOO_LARGE: return TooLargeFacts(RefusedSize().width, RefusedSize().height);
        case IDS_FILE_TOO_LARGE: return {std::to_string(file.Size()), std::to_string(kMaxPictureFileBytes)};
        default: return {};
    }
}

}  // namespace

unsigned DecodeSources(const std::uint8_t* data, std::size_t size, PictureSources& sources) {
    switch (DetectFormat(data, size)) {
        case PictureFormat::Ico:
        case PictureFormat::Cur: {
            // Taken whole or not at all: a failure leaves no image of the icon behind.
            std::vector<Picture> images;
            try {
                if (const unsigned id = DecodeIconImages(data, size, images)) return id;
                sources.rasters.reserve(sources.rasters.size() + images.size());
                for (Picture& image : images) sources.rasters.push_back(std::move(image));
            } catch (const std::bad_alloc&) {
                return IDS_NO_DIB_MEMORY;
            }
            return 0;
        }
        case PictureFormat::Svg: return DecodeSvg(data, size, sources.vector);
        default: {
            Picture picture;
            const unsigned id = DecodePicture(data, size, picture);
            if (id == 0) sources.rasters.push_back(std::move(picture));
            return id;
        }
    }
}

bool LoadSources(const std::string& path, PictureSources& sources) {
    PictureFile file;
    unsigned id = file.Open(path);
    try {
        // A bitmap streams its rows into the picture; every other format is decoded whole.
        if (id == 0 && file.Format() == PictureFormat::Bmp) {
            Picture picture;
            id = DecodeWhole(picture, [&] { return DecodeBmp(file, picture); });
            if (id == 0) sources.rasters.push_back(std::move(picture));
        } else if (id == 0) {
            std::vector<std::uint8_t> bytes;
            id = file.ReadAll(bytes);
            if (id == 0) id = DecodeSources(bytes.data(), bytes.size(), sources);
        }
    } catch (const FileError&) {
        id = IDS_CANNOT_READ;
    }
    // Only read from: a failure to close it loses nothing.
    file.Stream().Abort();
    if (id == 0) return true;
    ShowMessageAbout("", id, MessageIcon::Error, Facts(id, file));
    return false;
}

}  // namespace zentro::codecs
