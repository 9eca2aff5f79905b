#pragma once
// In-memory source pictures for the conversion tests.
#include <cstdint>

#include "image/dib.h"

namespace zentro::test {

// A 24-bit picture of one colour (0xRRGGBB).
void FillPicture(CDib& dib, int width, int height, std::uint32_t colour);
// A keyed background (the bottom-left colour) with a shaded disc: every corner keyed.
void DrawDisc(CDib& dib, int width, int height);
// A picture with many colours and no key: a smooth two-axis gradient with noise.
void DrawGradient(CDib& dib, int width, int height, std::uint32_t seed = 1);

}  // namespace zentro::test
