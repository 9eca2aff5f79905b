#pragma once
// How the command line reads its pictures: every format the codecs know, or, with
// --classic and on builds without the codecs, the classic bitmap reader alone.
#include <string>
#include <vector>

#include "job/image_set_builder.h"
#include "job/image_store.h"

namespace zentro::cli {

// Reads the pictures one icon is made from into the store: the first raster as its
// source, with its alpha when it has one, the others beside it. False after a
// message has told the user why; with several inputs the message names the file.
bool LoadSources(const std::vector<std::string>& paths, bool classic, ImageStore& store);

// The reader of the separate 16 x 16 picture that goes with LoadSources: of an
// icon's images or a vector, the one that would make the 16 x 16 images.
PictureReader SixteenReader(bool classic);

}  // namespace zentro::cli
