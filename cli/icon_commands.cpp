#include "cli/icon_commands.h"

#include <cstdio>
#include <filesystem>
#include <new>
#include <vector>

#include "cli/icon_listing.h"
#ifdef ZENTRO_CLI_CODECS
#include "codecs/png_decoder.h"
#include "codecs/png_encoder.h"
#endif
#include "icon/icon_reader.h"
#include "image/rgba_image.h"
#include "platform/file.h"
#include "platform/message.h"
#include "platform/string_table.h"

namespace zentro::cli {

namespace {

// No icon can place an image beyond two 32-bit numbers; far smaller in practice.
constexpr std::uintmax_t kLargestIcon = std::uintmax_t{1} << 30;

void Fail(const std::string& path, const std::string& why) {
    ShowMessageText(0, path + ": " + why, MessageIcon::Error);
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    File file;
    if (!file.OpenForReading(path)) {
        Fail(path, "cannot be opened for reading");
        return false;
    }
    try {
        std::uint8_t chunk[65536];
        for (std::size_t got; (got = file.Read(chunk, sizeof chunk)) != 0;) {
            if (bytes.size() + got > kLargestIcon) {
                Fail(path, "is larger than 1 GiB, too large for an icon");
                return false;
            }
            bytes.insert(bytes.end(), chunk, chunk + got);
        }
    } catch (const FileError&) {
        Fail(path, "could not be read");
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
// Decodes entry `k` and writes it as an RGBA PNG file into `folder`.
bool ExtractEntry(const std::string& path, const std::vector<std::uint8_t>& bytes, const IconEntryInfo& entry,
                  std::size_t k, const std::string& folder, bool force, std::ostream& out) {
    const std::string where = "entry " + std::to_string(k);
    if (!entry.readable) {
        Fail(path, where + " cannot be unpacked: --check tells why");
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
        if (failure != 0) {
            Fail(path, where + ": " + (failure == IDS_NO_DIB_MEMORY ? LoadString(failure) : "damaged PNG image"));
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
    std::error_code error;
    if (!force && std::filesystem::exists(std::filesystem::symlink_status(target, error))) {
        Fail(target, "exists already; use --force to replace it");
        return false;
    }
    ReplacingFile file;
    if (!file.Open(target)) {
        Fail(target, "cannot be created");
        return false;
    }
    try {
        file.Write(png.data(), png.size());
        file.Commit();
    } catch (const FileError&) {
        Fail(target, "could not be written");
        return false;
    }
    out << target << "\n";
    return true;
}

bool Extract(const std::string& path, const std::vector<std::uint8_t>& bytes, const IconFileInfo& icon,
             const Options& options, std::ostream& out) {
    std::error_code error;
    std::filesystem::create_directories(options.extract, error);
    if (!std::filesystem::is_directory(options.extract, error)) {
        Fail(options.extract, "is not a folder and cannot be made one");
        return false;
    }
    bool all = true;
    for (std::size_t k = 0; k < icon.entries.size(); ++k)
        all = ExtractEntry(path, bytes, icon.entries[k], k, options.extract, options.force, out) && all;
    return all;
}
#endif

}  // namespace

bool RunIconCommand(const std::string& path, const Options& options, std::ostream& out) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    const IconFileInfo icon = ReadIconFile(bytes.data(), bytes.size());
    bool sound = icon.IsIcon();
    if (!sound && !options.check) Fail(path, "is not an icon or cursor file: " + icon.findings.back().text);
    if (sound && options.list) List(path, icon, out);
    if (options.check) sound = Check(path, icon, out) && sound;
#ifdef ZENTRO_CLI_CODECS
    if (icon.IsIcon() && !options.extract.empty()) sound = Extract(path, bytes, icon, options, out) && sound;
#endif
    return sound;
}

}  // namespace zentro::cli
