#pragma once
// Reads a picture file of any format the codecs know, told by its first bytes.
#include <string>

#include "image/picture.h"

namespace zentro::codecs {

// Shows its own message and returns false on failure, as CDib::Load does.
bool LoadPicture(const std::string& path, Picture& picture);

}  // namespace zentro::codecs
