#include "image/parallel_for.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/usable_cores.h"

namespace zentro {

namespace {

std::atomic<int>& SpareCores() {
    static std::atomic<int> spare{UsableCores() - 1};
    return spare;
}

}  // namespace

CoreReservation::CoreReservation(int wanted) : count_(0) {
    std::atomic<int>& spare = SpareCores();
    int available = spare.load();
    while (wanted > 0 && available > 0) {
        const int take = std::min(wanted, available);
        if (spare.compare_exchange_weak(available, available - take)) {
            count_ = take;
            break;
        }
    }
}

CoreReservation::~CoreReservation() { SpareCores().fetch_add(count_); }

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
    const CoreReservation cores(count - 1);
    std::vector<std::thread> helpers;
    for (int h = 0; h < cores.Count(); ++h) {
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

void ParallelForRows(int width, int height, const std::function<void(int first, int stop)>& body) {
    constexpr int kMinRows = 64;
    const int rows = static_cast<int>(std::max<std::int64_t>(kMinRows, kPixelsWorthAThread / std::max(1, width)));
    const int bands = static_cast<int>((std::int64_t{height} + rows - 1) / rows);
    ParallelFor(bands, [&](int band) {
        const int first = band * rows;
        body(first, first + std::min(rows, height - first));
    });
}

}  // namespace zentro
