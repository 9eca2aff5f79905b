#pragma once
// How the wizard reads its pictures: every format the command line reads, told
// by content, or the classic bitmap reader alone on a build without the decoders.
#include <string>

#include "icon/icon_writer.h"
#include "job/image_set_builder.h"
#include "job/image_store.h"

namespace zentro {

// Whether the wizard reads more than the classic bitmap: the decoders are built in.
bool ReadsEveryPicture();

// Reads `path` into the store: its picture as the source, with its alpha when it
// has one; an icon's every image, or a vector picture, beside it. False after a
// message has told the user why.
bool LoadPictureFile(const std::string& path, ImageStore& store);

// The reader of the separate 16 x 16 picture that goes with LoadPictureFile.
PictureReader SixteenPictureReader();

// The PNG encoder of the decoders' build; empty without them.
PngEncoder PngEncoderOfThisBuild();

}  // namespace zentro
