#pragma once
// Sixteen bytes (or eight or four wider lanes) handled as one value, with GCC's
// vector extensions: loads from any address, and the test of a whole comparison.
#include <cstdint>
#include <cstring>

namespace zentro {

using U8x16 = std::uint8_t __attribute__((vector_size(16)));
using U16x8 = std::uint16_t __attribute__((vector_size(16)));
using U32x4 = std::uint32_t __attribute__((vector_size(16)));

inline U8x16 Load16(const std::uint8_t* p) {
    U8x16 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void Store16(std::uint8_t* p, U8x16 v) { std::memcpy(p, &v, sizeof v); }

// Whether all sixteen lanes of a comparison hold true.
inline bool AllLanes(U8x16 comparison) {
    std::uint64_t halves[2];
    std::memcpy(halves, &comparison, sizeof halves);
    return (halves[0] & halves[1]) == ~std::uint64_t{0};
}

inline void AddTo(std::uint32_t* total, U32x4 v) {
    U32x4 t;
    std::memcpy(&t, total, sizeof t);
    t += v;
    std::memcpy(total, &t, sizeof t);
}

}  // namespace zentro
