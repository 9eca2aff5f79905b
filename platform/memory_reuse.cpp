#include "platform/memory_reuse.h"

#include <cstdlib>  // names the C library: __GLIBC__

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace zentro {

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
    // Fixing either value stops glibc from raising them itself, so both are set:
    // blocks below 4 MiB come from the heap, and up to 8 MiB of free heap is kept.
    mallopt(M_MMAP_THRESHOLD, 4 << 20);
    mallopt(M_TRIM_THRESHOLD, 8 << 20);
#endif
}

}  // namespace zentro
