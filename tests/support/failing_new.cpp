#include "support/failing_new.h"

#include <dlfcn.h>

#include <atomic>
#include <cstddef>
#include <new>

namespace {

std::atomic<unsigned> gFailAt{0};
std::atomic<std::size_t> gBytesAsked{0};

using PlainNew = void* (*)(std::size_t);

// The allocator this one stands in front of: the sanitizer's in a sanitizer build, so that
// its leak and mismatch checks still see every allocation.
PlainNew NextNew() {
    static const PlainNew next = reinterpret_cast<PlainNew>(dlsym(RTLD_NEXT, "_Znwm"));
    return next;
}

}  // namespace

void zentro::test::FailNthNew(unsigned nth) { gFailAt = nth; }

std::size_t zentro::test::NewBytesAsked() { return gBytesAsked.load(); }

void* operator new(std::size_t bytes) {
    gBytesAsked += bytes;
    unsigned left = gFailAt.load();
    while (left != 0 && !gFailAt.compare_exchange_weak(left, left - 1)) {
    }
    if (left == 1) throw std::bad_alloc();
    return NextNew()(bytes);
}
