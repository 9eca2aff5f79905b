#pragma once
#include "image/dib.h"

namespace zentro {

// The conversions read 24-bit pixels straight from memory, and the reader always
// leaves 24 bits. Any other picture is first read pixel by pixel into `copy`.
// Null when that copy cannot be created.
const CDib* TrueColour(const CDib& picture, CDib& copy);

}  // namespace zentro
