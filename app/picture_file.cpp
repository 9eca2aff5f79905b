#include "app/picture_file.h"

#include <utility>

#ifdef ZENTRO_GUI_CODECS
#include "codecs/bmp_header.h"
#include "codecs/picture_file.h"
#include "codecs/picture_loader.h"
#include "codecs/png_encoder.h"
#include "job/source_choice.h"
#endif

namespace zentro {

bool ReadsEveryPicture() {
#ifdef ZENTRO_GUI_CODECS
    return true;
#else
    return false;
#endif
}

bool LoadPictureFile(const std::string& path, ImageStore& store) {
#ifdef ZENTRO_GUI_CODECS
    PictureSources sources;
    if (!codecs::LoadSources(path, sources)) return false;
    TakeSources(store, std::move(sources));
    return true;
#else
    store.sourceAlpha.Free();
    store.sourceLossy = false;
    return store.source.Load(path);
#endif
}

bool IsClassicBitmapFile(const std::string& path) {
#ifdef ZENTRO_GUI_CODECS
    codecs::PictureFile file;
    if (file.Open(path) != 0 || file.Format() != codecs::PictureFormat::Bmp) return false;
    std::uint8_t headers[codecs::kClassicHeadersSize] = {};
    try {
        file.Stream().Seek(0);
        if (file.Stream().Read(headers, sizeof headers) != sizeof headers) return false;
    } catch (const FileError&) {
        return false;
    }
    return codecs::ClassicReadsAlike(headers, file.Size());
#else
    (void)path;
    return true;
#endif
}

PictureReader SixteenPictureReader() {
#ifdef ZENTRO_GUI_CODECS
    return SixteenReaderOf(LoadPictureFile);
#else
    return {};  // the builder's own: the classic reader
#endif
}

PngEncoder PngEncoderOfThisBuild(const ConversionRules& rules) {
#ifdef ZENTRO_GUI_CODECS
    return rules == ConversionRules{} ? codecs::EncodePng : codecs::EncodePngQuickly;
#else
    (void)rules;
    return {};
#endif
}

}  // namespace zentro
