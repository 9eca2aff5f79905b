#include "platform/pixel_memory.h"

#include <atomic>

namespace zentro {

namespace {
std::atomic<unsigned> gFailAt{0};
}

void InjectAllocationFailure(unsigned nth) { gFailAt = nth; }

PixelMemory AllocatePixelMemory(std::size_t bytes) {
    unsigned left = gFailAt.load();
    while (left != 0) {
        if (gFailAt.compare_exchange_weak(left, left - 1)) {
            if (left == 1) return PixelMemory();
            break;
        }
    }
    // calloc hands out pages that are already zero, so large pictures cost no clearing.
    return PixelMemory(static_cast<std::uint8_t*>(std::calloc(bytes == 0 ? 1 : bytes, 1)));
}

}  // namespace zentro
