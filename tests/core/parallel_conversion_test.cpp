// Conversions on threads of their own (as a command line with workers would run
// them) share nothing: each gives the bytes it gives alone, and each thread's
// messages reach that thread's own handler. The ThreadSanitizer build runs this.
#include <gtest/gtest.h>

#include <thread>

#include "icon/icon_writer.h"
#include "job/image_set_builder.h"
#include "platform/string_table.h"
#include "support/memory_sink.h"
#include "support/message_recorder.h"
#include "support/pictures.h"

using namespace zentro;
using namespace zentro::test;

namespace {

struct Job {
    int side;
    bool keyed;
    FormatChoices format;
    SizeChoices sizes;
};

struct Result {
    bool built = false;
    std::vector<std::uint8_t> icon;
    std::vector<unsigned> messages;
};

Result Convert(const Job& job) {
    MessageRecorder recorder;
    ImageStore store;
    if (job.keyed)
        DrawDisc(store.source, job.side, job.side);
    else
        DrawGradient(store.source, job.side, job.side, static_cast<std::uint32_t>(job.side));
    FormatChoices format = job.format;
    SizeChoices sizes = job.sizes;
    Result result;
    result.built = BuildImageSet(store, format, sizes);
    if (result.built) {
        MemorySink sink;
        WriteIcon(sink, store, format, sizes);
        result.icon = std::move(sink.bytes);
    }
    for (const Message& m : recorder.messages) result.messages.push_back(m.id);
    return result;
}

SizeChoices Sizes(std::array<int, kSizeCount> flags) {
    SizeChoices s;
    s.sizes = flags;
    return s;
}

}  // namespace

TEST(ParallelConversions, EachGivesWhatItGivesAloneAndHearsOnlyItsOwnMessages) {
    const std::vector<Job> jobs = {
        {64, true, {1, 1, 1, 1, 1}, Sizes({0, 1, 1, 1, 1})},
        {50, false, {0, 1, 1, 0, 0}, Sizes({0, 1, 1, 0, 1})},
        {40, true, {0, 0, 1, 1, 1}, Sizes({0, 0, 1, 1, 1})},
        {33, false, {1, 0, 0, 0, 0}, Sizes({0, 1, 0, 0, 1})},  // too small for 48: refused
    };
    std::vector<Result> alone;
    for (const Job& job : jobs) alone.push_back(Convert(job));
    ASSERT_TRUE(alone[0].built && alone[1].built && alone[2].built);
    ASSERT_FALSE(alone[3].built);
    EXPECT_EQ(alone[3].messages, (std::vector<unsigned>{IDS_TOO_SMALL}));

    for (int round = 0; round < 3; ++round) {
        std::vector<Result> together(jobs.size());
        std::vector<std::thread> threads;
        for (std::size_t i = 0; i < jobs.size(); ++i) threads.emplace_back([&, i] { together[i] = Convert(jobs[i]); });
        for (std::thread& t : threads) t.join();
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            EXPECT_EQ(together[i].built, alone[i].built) << "job " << i;
            EXPECT_EQ(together[i].icon, alone[i].icon) << "job " << i;
            EXPECT_EQ(together[i].messages, alone[i].messages) << "job " << i;
        }
    }
}
