#pragma once
// Shares independent pieces of one job out among the machine's cores.
#include <functional>

namespace zentro {

// Calls body(i) once for every i in [0, count), on the calling thread and up to one
// more thread per further core, and returns when every call has returned. Pieces are
// taken in increasing order by whichever thread is free, so each must write only what
// belongs to it alone; then the result does not depend on how they were shared out.
// When a call throws, no further pieces are started, and the first exception thrown
// is thrown again on the calling thread after every thread has stopped.
void ParallelFor(int count, const std::function<void(int)>& body);

}  // namespace zentro
