#pragma once
// Zero-filled pixel memory, owned by one bitmap at a time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace zentro {

struct FreeDeleter {
    void operator()(std::uint8_t* bytes) const noexcept { std::free(bytes); }
};

using PixelMemory = std::unique_ptr<std::uint8_t[], FreeDeleter>;

// Empty when the memory cannot be had (or a test planned this call to fail).
PixelMemory AllocatePixelMemory(std::size_t bytes);

// Test hook: the nth allocation from now on (1 = the next) fails. 0 clears it.
void InjectAllocationFailure(unsigned nth);

}  // namespace zentro
