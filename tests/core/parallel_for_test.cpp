// Sharing pieces among threads: every piece once, and a piece that throws (memory
// running out) reaches the caller instead of ending the program.
#include <gtest/gtest.h>
#include <sched.h>

#include <atomic>
#include <mutex>
#include <new>
#include <set>
#include <thread>
#include <vector>

#include "image/parallel_for.h"
#include "platform/usable_cores.h"

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

TEST(ParallelFor, HelpersComeOnlyFromSpareCoresAndGoBackAfterwards) {
    const int spare = zentro::UsableCores() - 1;
    std::mutex lock;
    std::set<std::thread::id> threads;
    const auto record = [&](int) {
        const std::lock_guard<std::mutex> hold(lock);
        threads.insert(std::this_thread::get_id());
    };
    {
        const zentro::CoreReservation all(1000);
        EXPECT_EQ(all.Count(), spare);
        EXPECT_EQ(zentro::CoreReservation(1).Count(), 0);
        ParallelFor(500, record);
        EXPECT_EQ(threads, std::set<std::thread::id>{std::this_thread::get_id()});
        // Jobs on threads of their own, each taking pieces side by side, ask for no more.
        std::vector<std::thread> jobs;
        for (int j = 0; j < 3; ++j) jobs.emplace_back([&] { ParallelFor(100, record); });
        for (std::thread& job : jobs) job.join();
        EXPECT_EQ(threads.size(), 4u) << "a job's pieces ran on helpers of their own";
    }
    EXPECT_EQ(zentro::CoreReservation(1000).Count(), spare) << "cores were not given back";
}

// Held to one core (as taskset or a container's CPU set does), the process counts one.
TEST(UsableCores, FollowTheCoresTheProcessMayUse) {
    cpu_set_t all;
    ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
    cpu_set_t one;
    CPU_ZERO(&one);
    int first = 0;
    while (!CPU_ISSET(first, &all)) ++first;
    CPU_SET(first, &one);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    EXPECT_EQ(zentro::UsableCores(), 1);
    ASSERT_EQ(sched_setaffinity(0, sizeof all, &all), 0);
    EXPECT_EQ(zentro::UsableCores(), CPU_COUNT(&all));
}
