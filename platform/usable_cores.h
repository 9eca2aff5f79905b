#pragma once
// How many cores this process may run on.

namespace zentro {

// The cores the process is allowed to use (its affinity, as taskset or a container's
// CPU set leaves it), at least 1. The machine may have more; threads beyond these
// would only take turns on the same cores.
int UsableCores();

}  // namespace zentro
