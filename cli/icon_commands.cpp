#include "cli/icon_commands.h"

#include <cstdio>
#include <filesystem>
#include <new>
#include <vector>

#include "cli/icon_listing.h"
#ifdef ZENTRO_CLI_CODECS
#include "codecs/picture_rows.h"
#include "codecs/png_decoder.h"
#include "codecs/png_encoder.h"
#endif
#include "cli/convert.h"
#include "icon/icon_reader.h"
#include "image/rgba_image.h"
#include "platform/file.h"
#include "platform/message.h"
#include "platform/string_table.h"
#include "platform/utf8_path.h"

namespace zentro::cli {

namespace fs = std::filesystem;

namespace {

// No icon can place an image beyond two 32-bit numbers; far smaller in practice.
constexpr std::uintmax_t kLargestIcon = std::uintmax_t{1} << 30;

void Fail(const std::string& path, unsigned id, const std::vector<std::string>& facts = {}) {
    ShowMessageAbout(path, id, MessageIcon::Error, facts);
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    File file;
    if (!file.OpenForReading(path)) {
        Fail(path, IDS_CLI_ICON_CANNOT_OPEN, {FailureReason(file.Failure(), false)});
        return false;
    }
    try {
        std::uint8_t chunk[65536];
        for (std::size_t got; (got = file.Read(chunk, sizeof chunk)) != 0;) {
            if (bytes.size() + got > kLargestIcon) {
                Fail(path, IDS_CLI_ICON_TOO_LARGE);
                return false;
            }
            bytes.insert(bytes.end(), chunk, chunk + got);
        }
    } catch (const FileError& error) {
        Fail(path, IDS_CLI_ICON_CANNOT_READ, {FailureReason(error.Failure(), false)});
        return false;
    } catch (const std::bad_alloc&) {
        ShowMessage(IDS_NO_DIB_MEMORY, MessageIcon::Error);
        return false;
    }
    return true;
}

void List(const std::string& path, const IconFileInfo& icon, std::ostream& out) {
    out << path << ": " << (icon.type == 2 ? "cursor" : "icon") << ", " << icon.entries.size() << " images\n";
    for (std::size_t k = 0; k < icon.entries.size(); ++k) out << IconEntryLine(k, icon.entries[k]);
}

bool Check(const std::string& path, const IconFileInfo& icon, std::ostream& out) {
    std::size_t faults = 0;
    for (const IconFinding& finding : icon.findings) {
        out << path << ": " << (finding.fault ? "fault: " : "warning: ") << finding.text << "\n";
        faults += finding.fault ? 1 : 0;
    }
    const std::size_t warnings = icon.findings.size() - faults;
    out << path << ": " << faults << (faults == 1 ? " fault, " : " faults, ") << warnings
        << (warnings == 1 ? " warning\n" : " warnings\n");
    return faults == 0;
}

#ifdef ZENTRO_CLI_CODECS
// Decodes entry `k` and writes it as an RGBA PNG file into `folder`, adding its name to `written`.
bool ExtractEntry(const std::string& path, const std::vector<std::uint8_t>& bytes, const IconEntryInfo& entry,
                  std::size_t k, const std::string& folder, bool force, std::vector<std::string>& written) {
    const std::string index = std::to_string(k);
    if (!entry.readable) {
        Fail(path, IDS_CLI_ENTRY_UNREADABLE, {index});
        return false;
    }
    Picture picture;
    if (entry.format == IconImageFormat::Bmp) {
        if (!DecodeBmpIconEntry(bytes.data(), bytes.size(), entry, picture)) {
            ShowMessage(IDS_NO_DIB_MEMORY, MessageIcon::Error);
            return false;
        }
    } else {
        const unsigned failure =
            codecs::DecodePng(bytes.data() + entry.dir.imageOffset, entry.dir.bytesInResource, picture);
        if (failure == IDS_CANNOT_READ) {
            Fail(path, IDS_CLI_ENTRY_DAMAGED_PNG, {index});
            return false;
        }
        if (failure != 0) {
            const codecs::PictureSize size = codecs::RefusedSize();
            const std::string why = failure == IDS_PICTURE_TOO_LARGE
                                        ? FormatString(failure, TooLargeFacts(size.width, size.height))
                                        : LoadString(failure);
            Fail(path, IDS_CLI_ENTRY_FAILED, {index, why});
            return false;
        }
    }
    RgbaImage rgba;
    std::vector<std::uint8_t> png;
    if (!RgbaFromPicture(picture, rgba) || !codecs::EncodePng(rgba, png)) {
        ShowMessage(IDS_NO_DIB_MEMORY, MessageIcon::Error);
        return false;
    }
    char name[64];
    std::snprintf(name, sizeof name, "/%02zu-%dx%d-%d.png", k, rgba.width, rgba.height, entry.bitCount);
    const std::string target = folder + name;
    if (!force && PathTaken(target)) {
        Fail(target, IDS_CLI_EXISTS);
        return false;
    }
    ReplacingFile file;
    if (!file.Open(target)) {
        Fail(target, IDS_CLI_CANNOT_CREATE, {FailureReason(file.Failure(), true)});
        return false;
    }
    try {
        file.Write(png.data(), png.size());
        file.Commit();
    } catch (const FileError& error) {
        Fail(target, IDS_CLI_CANNOT_WRITE, {FailureReason(error.Failure(), true)});
        return false;
    }
    written.push_back(target);
    return true;
}

// The folders that making `folder` creates, the innermost first.
std::vector<fs::path> FoldersToMake(const fs::path& folder) {
    std::vector<fs::path> missing;
    std::error_code error;
    for (fs::path at = folder; !at.empty() && !fs::exists(fs::symlink_status(at, error)); at = at.parent_path()) {
        missing.push_back(at);
        if (at == at.parent_path()) break;
    }
    return missing;
}

// Unpacks every image, or, when one fails in a folder it made itself, leaves nothing
// behind: half an icon in a new folder is a result nobody asked for.
bool Extract(const std::string& path, const std::vector<std::uint8_t>& bytes, const IconFileInfo& icon,
             const Options& options, std::ostream& out) {
    const fs::path folder = PathFromUtf8(options.extract);
    const std::vector<fs::path> made = FoldersToMake(folder);
    const auto unmake = [&made] {
        std::error_code ignored;  // only an empty folder goes
        for (const fs::path& at : made) fs::remove(at, ignored);
    };
    std::error_code error, probe;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder, probe)) {
        const FileFailure failure =
            error ? FailureOfErrno(error.default_error_condition().value()) : FileFailure::PathNotAFolder;
        Fail(options.extract, IDS_CLI_EXTRACT_NOT_A_FOLDER, {FailureReason(failure, true)});
        unmake();
        return false;
    }
    std::vector<std::string> written;
    bool all = true;
    for (std::size_t k = 0; k < icon.entries.size(); ++k)
        all = ExtractEntry(path, bytes, icon.entries[k], k, options.extract, options.force, written) && all;
    if (all || made.empty()) {
        for (const std::string& file : written) out << file << "\n";
        return all;
    }
    for (const std::string& file : written) fs::remove(PathFromUtf8(file), error);
    unmake();
    return false;
}
#endif

}  // namespace

bool RunIconCommand(const std::string& path, const Options& options, std::ostream& out) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    const IconFileInfo icon = ReadIconFile(bytes.data(), bytes.size());
    bool sound = icon.IsIcon();
    if (!sound && !options.check) Fail(path, IDS_CLI_NOT_AN_ICON, {icon.findings.back().text});
    if (sound && options.list) List(path, icon, out);
    if (options.check) sound = Check(path, icon, out) && sound;
#ifdef ZENTRO_CLI_CODECS
    if (icon.IsIcon() && !options.extract.empty()) sound = Extract(path, bytes, icon, options, out) && sound;
#endif
    return sound;
}

}  // namespace zentro::cli
