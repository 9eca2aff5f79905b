#include "cli/picture_input.h"

#include <utility>

#ifdef ZENTRO_CLI_CODECS
#include "codecs/picture_loader.h"
#endif

namespace zentro::cli {

bool LoadSource(const std::string& path, bool classic, ImageStore& store) {
    store.sourceAlpha.Free();
#ifdef ZENTRO_CLI_CODECS
    if (!classic) {
        Picture picture;
        if (!codecs::LoadPicture(path, picture)) return false;
        store.source = std::move(picture.colour);
        store.sourceAlpha = std::move(picture.alpha);
        return true;
    }
#else
    (void)classic;
#endif
    return store.source.Load(path);
}

PictureReader SixteenReader(bool classic) {
#ifdef ZENTRO_CLI_CODECS
    if (!classic) return codecs::LoadPicture;
#else
    (void)classic;
#endif
    return {};  // the builder's own: the classic reader
}

}  // namespace zentro::cli
