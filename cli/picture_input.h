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

// Whether the picture is made transparent when the command line does not say: by
// its own alpha when that is below 255 somewhere, else when its corners share the
// key colour.
bool TransparentByDefault(const ImageStore& store);

}  // namespace zentro::cli
