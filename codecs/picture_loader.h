#pragma once
// Reads a picture file of any format the codecs know, told by its first bytes.
#include <string>

#include "codecs/picture_file.h"
#include "image/picture.h"

namespace zentro::codecs {

// Shows its own message and returns false on failure, as CDib::Load does.
bool LoadPicture(const std::string& path, Picture& picture);

// Decodes an opened file as DecodePicture decodes its bytes: a BMP's rows go
// straight from the file into the picture, other formats are decoded from the
// whole bytes. 0 or a message id; shows no message.
unsigned DecodePictureFile(PictureFile& file, Picture& picture);

}  // namespace zentro::codecs
