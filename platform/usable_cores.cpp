#include "platform/usable_cores.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sched.h>
#endif

#include <bit>
#include <thread>

namespace zentro {

int UsableCores() {
    int cores = 0;
#ifdef _WIN32
    DWORD_PTR process = 0, system = 0;
    if (GetProcessAffinityMask(GetCurrentProcess(), &process, &system) != 0) cores = std::popcount(process);
#else
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) cores = CPU_COUNT(&set);
#endif
    // Unknown: every core of the machine.
    if (cores <= 0) cores = static_cast<int>(std::thread::hardware_concurrency());
    return cores > 0 ? cores : 1;
}

}  // namespace zentro
