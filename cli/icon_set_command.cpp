#include "cli/icon_set_command.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>

#include "cli/convert.h"
#include "cli/interrupt.h"
#include "cli/picture_input.h"
#include "cli/progress_line.h"
#include "icon_sets/set_images.h"
#include "icon_sets/set_writer.h"
#include "platform/message.h"
#include "platform/stop_request.h"
#include "platform/string_table.h"
#include "platform/utf8_path.h"
#ifdef ZENTRO_CLI_CODECS
#include "codecs/png_encoder.h"
#endif

namespace zentro::cli {

namespace {

using sets::SetFile;

std::string InFolder(const std::string& folder, const std::string& path) {
    return Utf8FromPath(PathFromUtf8(folder) / PathFromUtf8(path));
}

// The files that hold at least one size the pictures can make (and the text files).
std::vector<SetFile> FilesToWrite(const std::vector<SetFile>& layout, const std::vector<int>& missing) {
    std::vector<SetFile> files;
    for (const SetFile& file : layout) {
        const bool any = file.sizes.empty() || std::any_of(file.sizes.begin(), file.sizes.end(), [&](int size) {
                             return std::find(missing.begin(), missing.end(), size) == missing.end();
                         });
        if (any) files.push_back(file);
    }
    return files;
}

// Refuses before anything is written: a folder where a file goes, or any file
// already there without --force.
bool FolderIsClear(const Options& options, const std::vector<SetFile>& files, std::ostream& err) {
    std::error_code error;
    const std::filesystem::path folder = PathFromUtf8(options.output);
    if (std::filesystem::exists(folder, error) && !std::filesystem::is_directory(folder, error)) {
        err << MessageLine(options.output, LoadString(IDS_CLI_SET_NOT_A_FOLDER));
        return false;
    }
    bool clear = true;
    for (const std::string& path : sets::FilesInTheWay(options.output, files)) {
        const std::string where = InFolder(options.output, path);
        if (std::filesystem::is_directory(std::filesystem::symlink_status(PathFromUtf8(where), error))) {
            err << MessageLine(where, LoadString(IDS_CLI_SET_FOLDER_IN_THE_WAY));
            clear = false;
        } else if (!options.force) {
            err << MessageLine(where, LoadString(IDS_CLI_EXISTS));
            clear = false;
        }
    }
    return clear;
}

void TellLeftOut(const Options& options, const sets::SetOutcome& outcome, std::ostream& err,
                 const std::vector<SetFile>& layout, const std::vector<SetFile>& files) {
    for (const SetFile& file : layout)
        if (std::none_of(files.begin(), files.end(), [&](const SetFile& f) { return f.path == file.path; }))
            err << MessageLine(InFolder(options.output, file.path), LoadString(IDS_CLI_SET_FILE_LEFT_OUT));
    for (const sets::SetOutcome::LeftOut& left : outcome.leftOut) {
        std::string parts;
        for (const std::string& part : left.parts) parts += (parts.empty() ? "" : ", ") + part;
        err << MessageLine(InFolder(options.output, left.path),
                           parts.empty() ? LoadString(IDS_CLI_SET_FILE_LEFT_OUT)
                                         : FormatString(IDS_CLI_SIZES_LEFT_OUT_OF_SEVERAL, {parts}));
    }
}

}  // namespace

int RunIconSet(const Options& options, std::ostream& out, std::ostream& err) {
    const std::string label = InputsLabel(options.inputs);
    // The sizes and their compression take most of the time: the line says so, then
    // counts the files, its time left measured from the first one.
    const bool onTerminal = &err == &std::cerr && IsTerminal(stderr);
    std::optional<ProgressLine> progress;
    ScopedMessageHandler messages([&](const Message& m) {
        if (progress) progress->Clear();
        err << MessageLine(label, m);
        return MessageReply::No;
    });
    ClearStopRequest();
    const InterruptGuard interrupts;
    ImageStore store;
    if (!LoadSources(options.inputs, options.classic, store)) return 1;
    store.rules = ChooseRules(options);
    const VectorPicture* vector = store.moreSources.vector.get();

    const std::vector<SetFile> layout = sets::SetLayout(options.set, options.name, vector != nullptr);
    const std::vector<int> missing = sets::SizesNeedingEnlargement(store, sets::SetSizes(layout));
    std::vector<int> sizes;
    for (int size : sets::SetSizes(layout))
        if (std::find(missing.begin(), missing.end(), size) == missing.end()) sizes.push_back(size);
    if (sizes.empty()) {
        err << MessageLine(label, FormatString(IDS_CLI_SET_TOO_SMALL, {std::to_string(sets::SetSizes(layout).back())}));
        return 1;
    }
    const std::vector<SetFile> files = FilesToWrite(layout, missing);
    if (!FolderIsClear(options, files, err)) return 1;

    // As far as each picture calls for it, as an icon's default.
    const bool transparent = options.transparent.value_or(true);
    PngEncoder encode;
#ifdef ZENTRO_CLI_CODECS
    encode = codecs::EncodePngQuickly;  // the PNG writer of the icons made by default
#endif
    progress.emplace(err, onTerminal, static_cast<int>(files.size()));
    progress->Show(0, "making " + std::to_string(sizes.size()) + " sizes");
    sets::SetImages images;
    if (!images.Make(store, sizes, transparent, sets::PngSizes(files), encode)) return 1;
    progress.emplace(err, onTerminal, static_cast<int>(files.size()));
    const sets::SetOutcome outcome =
        sets::WriteSet(options.output, files, images, {options.name, options.background}, vector, encode,
                       [&](int done, const std::string& path) { progress->Show(done, path); });
    progress.reset();

    std::ostringstream report;
    report << label << " -> " << options.output << " (" << outcome.written.size() << " files)\n";
    for (const SetFile& file : outcome.written) report << "  " << file.path << "\n";
    out << report.str();
    TellLeftOut(options, outcome, err, layout, files);
    if (outcome.stopped) {
        err << "zentro-cli: " << LoadString(IDS_CLI_SET_INTERRUPTED) << "\n";
        return kInterruptedStatus;
    }
    if (outcome.failure != 0) {
        err << MessageLine(InFolder(options.output, outcome.failedPath),
                           FormatString(outcome.failure, {FailureReason(outcome.failedBecause, true)}));
        return 1;
    }
    return 0;
}

}  // namespace zentro::cli
