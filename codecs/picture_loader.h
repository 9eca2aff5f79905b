#pragma once
// Reads a picture file of any format the codecs know, told by its first bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "image/picture.h"

namespace zentro::codecs {

// The whole of a picture file, checked against the largest file worth reading:
// 0, or the id of the message that tells why not (102, 103, 105). Shows no message.
unsigned ReadPictureFile(const std::string& path, std::vector<std::uint8_t>& bytes);

// Shows its own message and returns false on failure, as CDib::Load does.
bool LoadPicture(const std::string& path, Picture& picture);

}  // namespace zentro::codecs
