#include "cli/batch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <iostream>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

#include "cli/convert.h"
#include "cli/input_scan.h"
#include "cli/interrupt.h"
#include "cli/progress_line.h"
#include "image/parallel_for.h"
#include "platform/file.h"
#include "platform/message.h"
#include "platform/path.h"
#include "platform/stop_request.h"
#include "platform/string_table.h"
#include "platform/usable_cores.h"

namespace zentro::cli {

namespace fs = std::filesystem;

namespace {

enum class Outcome { Pending, Converted, Failed, Skipped, Interrupted };

// One file's share of the run: held back until every file before it has come out.
struct Slot {
    std::string output;  // the icon to write; "" = as Convert proposes
    std::string report;
    std::string messages;
    Outcome outcome = Outcome::Pending;
};

// Where each icon goes, and the files not to convert: in a batch, those whose icon is
// there already (run again over a folder, the icons made before are no failures), and
// those whose icon an earlier file takes already (with files converted side by side,
// the later one would otherwise overwrite it unseen).
void PlanOutputs(const Options& options, bool batch, const std::vector<BatchItem>& items, std::vector<Slot>& slots) {
    std::map<std::string, std::size_t> taken;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!items[i].skipped.empty()) continue;
        std::string icon = options.output;
        if (!options.outputDir.empty())
            icon = (fs::path(options.outputDir) / ProposeIconPath(items[i].relative)).string();
        slots[i].output = icon;
        const std::string key = icon.empty() ? ProposeIconPath(items[i].input) : icon;
        if (batch && !options.force && PathTaken(key)) {
            slots[i].messages = MessageLine(key, LoadString(IDS_CLI_EXISTS_SKIPPED));
            slots[i].outcome = Outcome::Skipped;
            continue;
        }
        const auto [earlier, fresh] = taken.emplace(fs::path(key).lexically_normal().string(), i);
        if (!fresh) {
            slots[i].messages =
                MessageLine(items[i].input, FormatString(IDS_CLI_SAME_ICON, {key, items[earlier->second].input}));
            slots[i].outcome = Outcome::Failed;
        }
    }
}

Outcome ConvertOne(const Options& options, const BatchItem& item, const std::vector<std::string>& together,
                   Slot& slot) {
    if (!item.skipped.empty()) {
        slot.messages = MessageLine(item.input, item.skipped);
        return Outcome::Skipped;
    }
    std::string messages;
    const ScopedMessageHandler handler([&messages, &item](const Message& m) {
        messages += MessageLine(item.input, m);
        return MessageReply::No;
    });
    Options own = options;
    own.output = slot.output;
    if (!options.outputDir.empty()) {
        std::error_code ignored;  // a folder that cannot be made shows as the icon not being created
        fs::create_directories(fs::path(slot.output).parent_path(), ignored);
    }
    std::ostringstream report;
    const bool converted = Convert(together.empty() ? std::vector<std::string>{item.input} : together, own, report);
    // Stopped midway, its file was not written: what it would say is of no use.
    if (!converted && StopRequested()) return Outcome::Interrupted;
    slot.report = report.str();
    slot.messages = std::move(messages);
    return converted ? Outcome::Converted : Outcome::Failed;
}

int JobCount(const Options& options, std::size_t items) {
    const int wanted = options.jobs > 0 ? options.jobs : UsableCores();
    return static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(wanted), std::max<std::size_t>(items, 1)));
}

}  // namespace

int RunBatch(const Options& options, std::ostream& out, std::ostream& err) {
    // An icon named with --output, or previews, belong to one picture: a folder is then
    // taken as a file, and refused as one.
    const bool single = !options.output.empty() || !options.previews.empty();
    const bool folderNamed =
        !single && std::any_of(options.inputs.begin(), options.inputs.end(), [](const std::string& in) {
            std::error_code error;
            return fs::is_directory(in, error);
        });
    ClearStopRequest();
    const InterruptGuard interrupts;
    const auto start = std::chrono::steady_clock::now();

    ScanRules rules;
    rules.openFolders = !single;
    rules.recursive = options.recursive;
    rules.classicOnly = options.classic;
    const ScanResult scan = ScanInputs(options.inputs, rules);
    for (const std::string& line : scan.errors) err << "zentro-cli: " << line << "\n";
    std::vector<BatchItem> items = scan.items;
    // With --output, the pictures make one icon together: one piece of work.
    std::vector<std::string> together;
    if (!options.output.empty() && items.size() > 1) {
        for (const BatchItem& item : items) together.push_back(item.input);
        items = {BatchItem{InputsLabel(together), "", ""}};
    }
    const bool many = items.size() > 1 || folderNamed;
    std::vector<Slot> slots(items.size());
    PlanOutputs(options, many, items, slots);

    std::optional<BatchedSync> batchedSync;  // one file keeps its own flush, as it always had
    if (many) batchedSync.emplace();
    const bool onTerminal = &err == &std::cerr && IsTerminal(stderr);
    ProgressLine progress(err, many && onTerminal, static_cast<int>(items.size()));
    // The line is taken off only for what would land on the same screen.
    const bool reportOnScreen = &out == &std::cout && IsTerminal(stdout);

    std::mutex lock;
    std::condition_variable changed;
    std::atomic<std::size_t> next{0};
    std::size_t current = 0;  // the file most recently started, for the progress line
    int jobCount = JobCount(options, items.size());
    int running = jobCount;
    const auto work = [&](int worker) {
        {
            // The first worker runs on the core the program started on; the others take a spare one.
            const CoreReservation core(worker == 0 ? 0 : 1);
            for (std::size_t i = next.fetch_add(1); i < items.size() && !StopRequested(); i = next.fetch_add(1)) {
                {
                    const std::lock_guard<std::mutex> hold(lock);
                    current = std::max(current, i);
                }
                Slot& slot = slots[i];
                const Outcome outcome =
                    slot.outcome == Outcome::Pending ? ConvertOne(options, items[i], together, slot) : slot.outcome;
                {
                    const std::lock_guard<std::mutex> hold(lock);
                    slot.outcome = outcome;
                }
                changed.notify_one();
            }
        }
        const std::lock_guard<std::mutex> hold(lock);
        --running;
        changed.notify_one();
    };
    std::vector<std::thread> workers;
    for (int w = 0; w < jobCount; ++w) {
        try {
            workers.emplace_back(work, w);
        } catch (const std::exception&) {
            const std::lock_guard<std::mutex> hold(lock);
            running -= jobCount - w;  // no more threads to be had: the ones running share the files
            break;
        }
    }
    if (workers.empty()) work(0);

    int counts[5] = {};
    const auto emit = [&](Slot& slot) {
        if (!slot.messages.empty() || (reportOnScreen && !slot.report.empty())) progress.Clear();
        err << slot.messages << std::flush;
        out << slot.report << std::flush;
        ++counts[static_cast<int>(slot.outcome)];
        std::string().swap(slot.messages);  // a thousand files need not keep a thousand reports
        std::string().swap(slot.report);
    };
    std::size_t shown = 0;
    {
        std::unique_lock<std::mutex> hold(lock);
        while (shown < items.size()) {
            // Woken now and then, so the time left keeps counting down on a long file.
            changed.wait_for(hold, std::chrono::milliseconds(250),
                             [&] { return slots[shown].outcome != Outcome::Pending || running == 0; });
            while (shown < items.size() && slots[shown].outcome != Outcome::Pending) emit(slots[shown++]);
            if (running == 0) break;
            if (shown < items.size()) progress.Show(static_cast<int>(shown), items[current].input);
        }
    }
    for (std::thread& worker : workers) worker.join();
    // Stopped: files taken before the stop may have finished after one that never started.
    for (; shown < items.size(); ++shown)
        if (slots[shown].outcome != Outcome::Pending) emit(slots[shown]);
    progress.Clear();
    batchedSync.reset();  // everything on the disk before the summary says it is done

    const int converted = counts[static_cast<int>(Outcome::Converted)];
    const int failed = counts[static_cast<int>(Outcome::Failed)];
    const int skipped = counts[static_cast<int>(Outcome::Skipped)];
    const bool stopped = StopRequested();
    if (many || stopped) {
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::ostringstream time;
        time << std::fixed;
        time.precision(1);
        time << seconds;
        std::string line =
            "zentro-cli: " +
            FormatString(IDS_CLI_SUMMARY, {std::to_string(converted), std::to_string(failed), std::to_string(skipped)});
        // Only for a person watching: what a script captures stays the same from run to run.
        if (onTerminal) line += FormatString(IDS_CLI_SUMMARY_TIME, {time.str()});
        if (stopped)
            line += FormatString(IDS_CLI_SUMMARY_INTERRUPTED,
                                 {std::to_string(items.size() - converted - failed - skipped)});
        err << line << "\n" << std::flush;
    }
    if (stopped) return kInterruptedStatus;
    return failed > 0 || !scan.errors.empty() ? 1 : 0;
}

}  // namespace zentro::cli
