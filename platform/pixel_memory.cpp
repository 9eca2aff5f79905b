#include "platform/pixel_memory.h"

#ifndef _WIN32
#include <sys/mman.h>
#endif

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
    PixelMemory memory(static_cast<std::uint8_t*>(std::calloc(bytes == 0 ? 1 : bytes, 1)));
#ifdef MADV_HUGEPAGE
    // A large picture is touched page by page as it is read or drawn; in pages of 2 MB
    // that is a few hundred faults of the memory system instead of tens of thousands.
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    if (memory != nullptr && bytes >= 4 * kHugePage) {
        const auto start = (reinterpret_cast<std::uintptr_t>(memory.get()) + kHugePage - 1) & ~(kHugePage - 1);
        const auto end = (reinterpret_cast<std::uintptr_t>(memory.get()) + bytes) & ~(kHugePage - 1);
        // The advice wants whole pages: the address is rounded as a number, then made a pointer again.
        // NOLINTNEXTLINE(performance-no-int-to-ptr)
        if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    }
#endif
    return memory;
}

}  // namespace zentro
