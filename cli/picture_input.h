#pragma once
// How the command line reads its pictures: every format the codecs know, or, with
// --classic and on builds without the codecs, the classic bitmap reader alone.
#include <string>

#include "job/image_set_builder.h"
#include "job/image_store.h"

namespace zentro::cli {

// Reads `path` into the store's source, and its alpha when the picture has one.
// False after a message has told the user why.
bool LoadSource(const std::string& path, bool classic, ImageStore& store);

// The reader of the separate 16 x 16 picture that goes with LoadSource.
PictureReader SixteenReader(bool classic);

}  // namespace zentro::cli
