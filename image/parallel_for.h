#pragma once
// Shares independent pieces of one job out among the machine's cores.
#include <cstdint>
#include <functional>

namespace zentro {

// Calls body(i) once for every i in [0, count), on the calling thread and on helper
// threads, and returns when every call has returned. Pieces are taken in increasing
// order by whichever thread is free, so each must write only what belongs to it alone;
// then the result does not depend on how they were shared out. When a call throws, no
// further pieces are started, and the first exception thrown is thrown again on the
// calling thread after every thread has stopped.
//
// Helpers are drawn from the process's spare cores (see CoreReservation): with none
// spare, every piece runs on the calling thread.
void ParallelFor(int count, const std::function<void(int)>& body);

// Below this many pixels of work, starting a thread costs about what it saves.
constexpr std::int64_t kPixelsWorthAThread = std::int64_t{1} << 18;

// Calls body(first, stop) for bands of the rows [0, height) of a picture `width` pixels
// wide, as ParallelFor pieces. A band is at least 64 rows and holds enough pixels that
// its work outweighs starting a thread: a small picture is one band, on the calling thread.
void ParallelForRows(int width, int height, const std::function<void(int first, int stop)>& body);

// Holds up to `wanted` of the process's spare cores (the cores beyond the one the
// program started on) until it is destroyed. ParallelFor takes its helpers this way;
// a caller that runs jobs on threads of its own takes one per extra thread, so that
// the jobs and their pieces together never run more threads than there are cores.
class CoreReservation {
public:
    explicit CoreReservation(int wanted);
    ~CoreReservation();
    CoreReservation(const CoreReservation&) = delete;
    CoreReservation& operator=(const CoreReservation&) = delete;

    int Count() const { return count_; }

private:
    int count_;
};

}  // namespace zentro
