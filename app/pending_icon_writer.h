#pragma once
// The core's icon writer, declared here until icon/icon_writer.h reaches this
// branch. When it does, this header and pending_icon_writer.cpp go, and
// bmp_icon_app.cpp includes icon/icon_writer.h instead.
#include <string>

#include "app/choices.h"
#include "app/image_store.h"

namespace zentro {

bool WriteIconFile(const ImageStore& store, const std::string& path, const FormatChoices& format,
                   const SizeChoices& sizes);

}  // namespace zentro
