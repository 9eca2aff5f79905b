#include "app/picture_file.h"

#include <utility>

#ifdef ZENTRO_GUI_CODECS
#include "codecs/picture_loader.h"
#include "codecs/png_encoder.h"
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
    store.sourceAlpha.Free();
#ifdef ZENTRO_GUI_CODECS
    Picture picture;
    if (!codecs::LoadPicture(path, picture)) return false;
    store.source = std::move(picture.colour);
    store.sourceAlpha = std::move(picture.alpha);
    return true;
#else
    return store.source.Load(path);
#endif
}

PictureReader SixteenPictureReader() {
#ifdef ZENTRO_GUI_CODECS
    return codecs::LoadPicture;
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
