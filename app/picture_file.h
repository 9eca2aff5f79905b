#pragma once
// How the wizard reads its pictures: every format the command line reads, told
// by content, or the classic bitmap reader alone on a build without the decoders.
#include <string>

#include "icon/icon_writer.h"
#include "job/conversion_rules.h"
#include "job/image_set_builder.h"
#include "job/image_store.h"

namespace zentro {

// Whether the wizard reads more than the classic bitmap: the decoders are built in.
bool ReadsEveryPicture();

// Reads `path` into the store: its picture as the source, with its alpha when it
// has one; an icon's every image, or a vector picture, beside it. False after a
// message has told the user why.
bool LoadPictureFile(const std::string& path, ImageStore& store);

// Whether `path` is a classic bitmap, which the wizard converts by the classic
// rules; every other picture gets today's (always, on a build without decoders).
bool IsClassicBitmapFile(const std::string& path);

// The reader of the separate 16 x 16 picture that goes with LoadPictureFile.
PictureReader SixteenPictureReader();

// The PNG encoder of the decoders' build for pictures converted by `rules`, as the
// command line has it; empty without the decoders.
PngEncoder PngEncoderOfThisBuild(const ConversionRules& rules);

}  // namespace zentro
