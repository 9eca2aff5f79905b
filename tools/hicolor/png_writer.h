#pragma once
// A PNG writer just big enough for the desktop icons: 8-bit RGB, no filtering,
// and deflate in stored blocks, so no compression library is needed. The
// icons are small enough that their size does not matter.
#include "image/dib.h"
#include "platform/file.h"

namespace zentro::tools {

// Writes a 24-bit picture; PNG rows run top-down, so the stored rows are
// written last to first.
void WritePng(ByteSink& sink, const CDib& picture);

}  // namespace zentro::tools
