#include "cli/input_scan.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifdef ZENTRO_CLI_CODECS
#include "codecs/picture_format.h"
#include "codecs/svg_sniff.h"
#endif
#include "platform/file_failure.h"
#include "platform/string_table.h"

namespace zentro::cli {

namespace fs = std::filesystem;

namespace {

#ifdef ZENTRO_CLI_CODECS
// Enough to tell every format: an SVG's root element may stand anywhere in its
// first kSvgProbeSize bytes of text, and a .svgz holds those in fewer bytes than
// twice that.
constexpr std::size_t kProbeSize = 2 * codecs::kSvgProbeSize;
#else
constexpr std::size_t kProbeSize = 2;
#endif

// Forward slashes, so that mirrored output paths are built the same way everywhere.
std::string PathText(const fs::path& path) { return path.generic_string(); }

void ScanFolder(const std::string& folder, bool recursive, bool classicOnly, ScanResult& result) {
    std::vector<fs::path> files;
    std::error_code error;
    const auto collect = [&](auto iterator) {
        for (auto end = decltype(iterator){}; iterator != end; iterator.increment(error)) {
            if (error) break;
            std::error_code typeError;
            if (iterator->is_regular_file(typeError)) files.push_back(iterator->path());
        }
    };
    if (recursive)
        collect(fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied, error));
    else
        collect(fs::directory_iterator(folder, fs::directory_options::skip_permission_denied, error));
    if (error)
        result.errors.push_back(
            folder + ": " +
            FormatString(IDS_CLI_FOLDER_UNREADABLE,
                         {FailureReason(FailureOfErrno(error.default_error_condition().value()), false)}));
    std::sort(files.begin(), files.end());
    bool anyTaken = false;
    for (const fs::path& file : files) {
        BatchItem item{PathText(file), PathText(file.lexically_relative(folder)), ""};
        if (!IsTakenPicture(item.input, classicOnly)) item.skipped = LoadString(IDS_CLI_NOT_A_PICTURE_SKIPPED);
        anyTaken = anyTaken || item.skipped.empty();
        result.items.push_back(std::move(item));
    }
    // Most likely the wrong folder: said, and the run fails.
    if (!anyTaken && !error) result.errors.push_back(folder + ": " + LoadString(IDS_CLI_NO_PICTURE_IN_FOLDER));
}

}  // namespace

bool IsTakenPicture(const std::string& path, bool classicOnly) {
    std::vector<std::uint8_t> bytes(kProbeSize);
    std::ifstream file(fs::path(path), std::ios::binary);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const std::size_t size = static_cast<std::size_t>(file.gcount());
    const bool bmp = size >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
#ifdef ZENTRO_CLI_CODECS
    if (!classicOnly) {
        const codecs::PictureFormat format = codecs::DetectFormat(bytes.data(), size);
        return format != codecs::PictureFormat::Unknown && format != codecs::PictureFormat::Ico &&
               format != codecs::PictureFormat::Cur;
    }
#else
    (void)classicOnly;  // without the codecs, BMP is all the reader takes anyway
#endif
    return bmp;
}

ScanResult ScanInputs(const std::vector<std::string>& inputs, const ScanRules& rules) {
    ScanResult result;
    for (const std::string& input : inputs) {
        std::error_code error;
        if (rules.openFolders && fs::is_directory(input, error)) {
            ScanFolder(input, rules.recursive, rules.classicOnly, result);
        } else {
            result.items.push_back({input, fs::path(input).filename().string(), ""});
        }
    }
    return result;
}

}  // namespace zentro::cli
