#pragma once
// The benchmark's source picture, written straight to a BMP file row by row so
// that making it costs the measured process no memory.
#include <string>

namespace zentro::bench {

// A square 24-bit picture: a keyed magenta background (every corner keyed) and a
// round shape filled with a gradient of far more than 240 colours. False when the
// file cannot be written.
bool WriteBenchPicture(const std::string& path, int side);

}  // namespace zentro::bench
