// zentro-bench: times the whole job (load, BuildImageSet with every size and
// depth, transparency on, every kind keeping its 256 image, write) on generated
// square sources, each size in a process of its own so that the peak memory is
// that size's alone. With --default-job, the job is the command line's default
// instead (today's rules: 32 bits alone at 256, 48, 32 and 16, the 256 image as PNG).
// It measures; it asserts nothing.
//
//   zentro-bench [--repeat N] [--keep DIR] [--default-job] [--picture FILE]... [SIDE...]
//
// Sides default to 256 1024 4096 unless pictures are given. Every source is read
// as the command line reads it by default (any format the codecs know), so that
// the load stage is what people get. "cpu ms" is the processor time of the job alone, all threads
// together: its cost on one core, waits for the disk left out.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_picture.h"
#include "cli/picture_input.h"
#ifdef ZENTRO_BENCH_PNG
#include "codecs/png_encoder.h"
#endif
#include "icon/icon_writer.h"
#include "job/image_set_builder.h"
#include "job/image_store.h"
#include "platform/message.h"

namespace {

using namespace zentro;
using bench::WriteBenchPicture;
using Clock = std::chrono::steady_clock;

enum Stage { kLoad, kKeyMasks, kResampling, kQuantizing, kWriting, kStageCount };
const char* const kStageNames[kStageCount] = {"load", "key masks", "resampling", "quantizing", "writing"};

struct Timings {
    double stageMs[kStageCount] = {};
    double wallMs = 0;
    double cpuMs = 0;  // processor time of the job, every thread's
    double pixels = 0;
    bool ok = false;
};

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Processor time of the whole process, every thread's, in microsecond steps.
double ProcessCpuMs() { return static_cast<double>(std::clock()) * 1000.0 / CLOCKS_PER_SEC; }

bool gDefaultJob = false;

// The measured job, in the child process.
Timings RunJob(const std::string& source, const std::string& icon) {
    SetMessageHandler([](const Message& m) {
        std::fprintf(stderr, "zentro-bench: %s\n", m.text.c_str());
        return MessageReply::Ok;
    });
    Timings t;
    const double cpuStart = ProcessCpuMs();
    const Clock::time_point start = Clock::now();
    ImageStore store;
    if (!cli::LoadSources({source}, false, store)) return t;
    t.stageMs[kLoad] = MsSince(start);
    t.pixels = static_cast<double>(store.source.Width()) * store.source.Height();

    FormatChoices format{1, 1, 1, 1, 1};
    SizeChoices sizes;
    sizes.sizes = {1, 1, 1, 1, 1};
    sizes.onlyOne256 = 0;
    PngChoice png;
    if (gDefaultJob) {
        store.rules = ConversionRules::Today();
        format = FormatChoices{0, 0, 0, 1, 1};
        sizes.sizes = {1, 1, 1, 0, 1};
        sizes.onlyOne256 = 1;
#ifdef ZENTRO_BENCH_PNG
        png = {PngImages::Only256, codecs::EncodePngQuickly};
#endif
    }
    Stage current = kKeyMasks;
    Clock::time_point since = Clock::now();
    const auto turn = [&](Stage next) {
        t.stageMs[current] += MsSince(since);
        since = Clock::now();
        current = next;
    };
    const bool built = BuildImageSet(store, format, sizes, [&](BuildStage s) {
        turn(s == BuildStage::KeyMasks ? kKeyMasks : s == BuildStage::Resampling ? kResampling : kQuantizing);
    });
    turn(kWriting);
    if (!built) return t;

    t.ok = WriteIconFile(store, icon, format, sizes, png);
    t.stageMs[kWriting] = MsSince(since);
    t.wallMs = MsSince(start);
    t.cpuMs = ProcessCpuMs() - cpuStart;
    return t;
}

struct Measured {
    Timings timings;
    long peakKb = 0;
};

// Runs the job in a child process; its own peak resident memory comes back with it.
bool MeasureInChild(const std::string& source, const std::string& icon, Measured& result) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return false;
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        close(pipeFds[0]);
        const Timings t = RunJob(source, icon);
        const bool sent = write(pipeFds[1], &t, sizeof t) == static_cast<ssize_t>(sizeof t);
        _exit(sent && t.ok ? 0 : 1);
    }
    close(pipeFds[1]);
    const bool got = read(pipeFds[0], &result.timings, sizeof result.timings) == static_cast<ssize_t>(sizeof(Timings));
    close(pipeFds[0]);
    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid) return false;
    result.peakKb = usage.ru_maxrss;
    return got && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Measures the job `repeat` times and prints its row; false when every run failed.
bool MeasureRow(const std::string& name, const std::string& source, const std::string& icon, int repeat) {
    Measured best;
    long peakKb = 0;
    bool any = false;
    for (int r = 0; r < repeat; ++r) {
        Measured m;
        if (!MeasureInChild(source, icon, m)) continue;
        if (!any || m.timings.wallMs < best.timings.wallMs) best = m;
        peakKb = std::max(peakKb, m.peakKb);
        any = true;
    }
    if (!any) {
        std::printf("%-11s failed\n", name.c_str());
        return false;
    }
    std::printf("%-11s %9.1f %9.2f %8.1f %8.1f", name.c_str(), best.timings.wallMs,
                best.timings.wallMs * 1e6 / best.timings.pixels, peakKb / 1024.0, best.timings.cpuMs);
    for (double ms : best.timings.stageMs) std::printf(" %11.1f", ms);
    std::printf("\n");
    std::fflush(stdout);
    return true;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: zentro-bench [--repeat N] [--keep DIR] [--default-job] [--picture FILE]... [SIDE...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    int repeat = 1;
    std::string keep;
    std::vector<int> sides;
    std::vector<std::string> pictures;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--repeat" && i + 1 < argc) {
            repeat = std::atoi(argv[++i]);
        } else if (arg == "--default-job") {
            gDefaultJob = true;
        } else if (arg == "--keep" && i + 1 < argc) {
            keep = argv[++i];
        } else if (arg == "--picture" && i + 1 < argc) {
            pictures.push_back(argv[++i]);
        } else if (!arg.empty() && arg[0] != '-' && std::atoi(arg.c_str()) >= 256) {
            sides.push_back(std::atoi(arg.c_str()));
        } else {
            return Usage();
        }
    }
    if (repeat < 1) return Usage();
    if (sides.empty() && pictures.empty()) sides = {256, 1024, 4096};

    namespace fs = std::filesystem;
    const fs::path folder =
        keep.empty() ? fs::temp_directory_path() / ("zentro-bench-" + std::to_string(getpid())) : fs::path(keep);
    fs::create_directories(folder);

    std::printf("%-11s %9s %9s %8s %8s", "source", "wall ms", "ns/pixel", "peak MB", "cpu ms");
    for (const char* name : kStageNames) std::printf(" %11s", name);
    std::printf("   (stages in ms; best of %d)\n", repeat);
    int status = 0;
    for (int side : sides) {
        const std::string source = (folder / ("source-" + std::to_string(side) + ".bmp")).string();
        const std::string icon = (folder / ("icon-" + std::to_string(side) + ".ico")).string();
        if (!WriteBenchPicture(source, side)) {
            std::fprintf(stderr, "zentro-bench: cannot write %s\n", source.c_str());
            return 1;
        }
        if (!MeasureRow(std::to_string(side) + "x" + std::to_string(side), source, icon, repeat)) status = 1;
    }
    for (const std::string& picture : pictures) {
        const std::string icon = (folder / (fs::path(picture).stem().string() + ".ico")).string();
        if (!MeasureRow(fs::path(picture).filename().string(), picture, icon, repeat)) status = 1;
    }
    if (keep.empty()) fs::remove_all(folder);
    return status;
}
