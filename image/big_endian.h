#pragma once
// The big-endian byte sequences of PNG chunks and Apple's icon files.
#include <cstdint>

namespace zentro::be {

inline void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

}  // namespace zentro::be
