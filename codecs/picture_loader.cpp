#include "codecs/picture_loader.h"

#include <vector>

#include "codecs/bmp_decoder.h"
#include "codecs/picture_decoder.h"
#include "codecs/picture_rows.h"
#include "platform/message.h"
#include "platform/string_table.h"

namespace zentro::codecs {

unsigned DecodePictureFile(PictureFile& file, Picture& picture) {
    picture.colour.Free();
    picture.alpha.Free();
    try {
        if (file.Format() == PictureFormat::Bmp) return DecodeWhole(picture, [&] { return DecodeBmp(file, picture); });
        std::vector<std::uint8_t> bytes;
        if (const unsigned id = file.ReadAll(bytes)) return id;
        return DecodePicture(bytes.data(), bytes.size(), picture);
    } catch (const FileError&) {
        picture.colour.Free();
        picture.alpha.Free();
        return IDS_CANNOT_READ;
    }
}

bool LoadPicture(const std::string& path, Picture& picture) {
    picture.colour.Free();
    picture.alpha.Free();
    PictureFile file;
    unsigned id = file.Open(path);
    if (id == 0) id = DecodePictureFile(file, picture);
    // Only read from: a failure to close it loses nothing.
    file.Stream().Abort();
    if (id == 0) return true;
    ShowMessage(id, MessageIcon::Error);
    return false;
}

}  // namespace zentro::codecs
