#pragma once
// Which files make each platform's icons, at which sizes, under which names: the
// one place that knows what a set holds.
#include <string>
#include <vector>

namespace zentro::sets {

enum Platform : unsigned { kWindows = 1, kMac = 2, kLinux = 4, kWeb = 8, kAllPlatforms = 15 };

// "windows,mac", "all", ...: the platforms named, 0 when a word is none of them.
unsigned ParsePlatforms(const std::string& list);

// Whether `name` can stand as a file's name in the set's folders: not empty, not
// "." or "..", and without a folder separator or control character.
bool IsPlainFileName(const std::string& name);

enum class FileKind {
    Ico,       // the sizes as 32-bit entries, largest first
    Icns,      // the elements of Apple's layout
    Png,       // one size
    OnColour,  // one size laid on the background colour, opaque
    Document,  // the vector picture's document, as given
    Manifest,  // the web app manifest
    Html,      // the tags that name the web files
};

struct SetFile {
    Platform platform = kWindows;
    std::string path;  // within the output folder, '/' between folders
    FileKind kind = FileKind::Png;
    std::vector<int> sizes;  // Ico: every entry's; Png, OnColour: one; Icns: every element's
    bool png256 = false;     // Ico: the 256 x 256 entry stored as PNG
};

// The files of `platforms` for a set called `name`, in the order they are written:
// the manifest and the tags after the files they name. The documents come only
// with a vector picture.
std::vector<SetFile> SetLayout(unsigned platforms, const std::string& name, bool vector);

// Every size the files use, largest first, each once.
std::vector<int> SetSizes(const std::vector<SetFile>& files);
// The sizes that the files hold as PNG files of their own or inside icons, each once.
std::vector<int> PngSizes(const std::vector<SetFile>& files);

// The sizes of the web files, as the manifest and the tags name them.
constexpr int kFaviconPngSize = 96;
constexpr int kAppleTouchSize = 180;
extern const std::vector<int> kManifestSizes;

}  // namespace zentro::sets
