#include "app/picture_file.h"

#include <utility>

#ifdef ZENTRO_GUI_CODECS
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

PictureReader SixteenPictureReader() {
#ifdef ZENTRO_GUI_CODECS
    return SixteenReaderOf(LoadPictureFile);
#else
    return {};  // the builder's own: the classic reader
#endif
}

PngEncoder PngEncoderOfThisBuild() {
#ifdef ZENTRO_GUI_CODECS
    return codecs::EncodePng;
#else
    return {};
#endif
}

}  // namespace zentro
