#include "image/parallel_for.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace zentro {

void ParallelFor(int count, const std::function<void(int)>& body) {
    std::atomic<int> next{0};
    std::mutex failureLock;
    std::exception_ptr failure;
    const auto work = [&] {
        for (int i = next.fetch_add(1); i < count; i = next.fetch_add(1)) {
            try {
                body(i);
            } catch (...) {
                // Usually memory running out: no piece after this one is worth doing,
                // and the caller hears of it once every thread has stopped.
                next.store(count);
                const std::lock_guard<std::mutex> lock(failureLock);
                if (!failure) failure = std::current_exception();
            }
        }
    };
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    std::vector<std::thread> helpers;
    for (int h = 1; h < cores && h < count; ++h) {
        try {
            helpers.emplace_back(work);
        } catch (const std::exception&) {
            break;  // no more threads to be had: the ones running share the rest
        }
    }
    work();
    for (std::thread& helper : helpers) helper.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace zentro
