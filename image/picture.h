#pragma once
// A picture as a decoder hands it over: its colours as a 24-bit bitmap and, when
// the file has an alpha channel (or a transparent colour), its alpha values.
#include "image/dib.h"

namespace zentro {

struct Picture {
    // 24-bit, rows bottom-up as every CDib.
    CDib colour;
    // 8-bit plane of the colour's size holding one alpha value per pixel (0 clear,
    // 255 opaque), rows bottom-up; holds no picture when the file has no alpha.
    CDib alpha;
    // The file's codec dropped detail (JPEG, lossy WebP): its plain grounds carry
    // noise, and a colour key would leave a speckled fringe.
    bool lossy = false;

    bool HasAlpha() const { return alpha.HasPicture(); }
};

}  // namespace zentro
