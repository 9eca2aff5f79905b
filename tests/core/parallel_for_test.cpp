// Sharing pieces among threads: every piece once, and a piece that throws (memory
// running out) reaches the caller instead of ending the program.
#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <vector>

#include "image/parallel_for.h"

using zentro::ParallelFor;

TEST(ParallelFor, RunsEveryPieceExactlyOnce) {
    for (int count : {0, 1, 2, 7, 1000}) {
        std::vector<std::atomic<int>> runs(count);
        ParallelFor(count, [&](int i) { runs[i].fetch_add(1); });
        for (int i = 0; i < count; ++i) EXPECT_EQ(runs[i].load(), 1) << "piece " << i << " of " << count;
    }
}

TEST(ParallelFor, APieceThatThrowsIsThrownToTheCallerAfterEveryThreadStopped) {
    for (int thrower : {0, 1, 50, 199}) {
        std::atomic<int> running{0};
        std::atomic<int> started{0};
        EXPECT_THROW(ParallelFor(200,
                                 [&](int i) {
                                     running.fetch_add(1);
                                     started.fetch_add(1);
                                     if (i == thrower) {
                                         running.fetch_sub(1);
                                         throw std::bad_alloc();
                                     }
                                     running.fetch_sub(1);
                                 }),
                     std::bad_alloc)
            << "piece " << thrower;
        EXPECT_EQ(running.load(), 0) << "a piece still ran after the throw reached the caller";
        EXPECT_GT(started.load(), thrower) << "pieces before the one that threw were skipped";
    }
}
