#pragma once
#include "image/dib.h"
#include "platform/file.h"

namespace zentro {

// Writes a 24-bit picture as a plain BMP file: 54-byte header, then the rows as stored.
void WriteBmp24(ByteSink& sink, const CDib& picture);

}  // namespace zentro
