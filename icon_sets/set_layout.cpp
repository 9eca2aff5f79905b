#include "icon_sets/set_layout.h"

#include <algorithm>
#include <functional>
#include <sstream>

#include "icon/icns_writer.h"

namespace zentro::sets {

const std::vector<int> kManifestSizes = {192, 512};

namespace {

// The sizes Windows asks of an application's icon, from the shell's small icons
// to its largest view; those of a favicon, as browsers pick them.
const std::vector<int> kWindowsSizes = {256, 96, 64, 48, 40, 32, 24, 20, 16};
const std::vector<int> kFaviconSizes = {48, 32, 16};
// The freedesktop icon theme's fixed-size folders of hicolor, its fallback theme.
const std::vector<int> kHicolorSizes = {16, 22, 24, 32, 48, 64, 128, 256, 512};

std::string Square(int size) { return std::to_string(size) + "x" + std::to_string(size); }

}  // namespace

unsigned ParsePlatforms(const std::string& list) {
    unsigned platforms = 0;
    std::stringstream stream(list);
    std::string word;
    while (std::getline(stream, word, ',')) {
        if (word == "windows")
            platforms |= kWindows;
        else if (word == "mac")
            platforms |= kMac;
        else if (word == "linux")
            platforms |= kLinux;
        else if (word == "web")
            platforms |= kWeb;
        else if (word == "all")
            platforms |= kAllPlatforms;
        else
            return 0;
    }
    return list.empty() || list.back() == ',' ? 0 : platforms;
}

bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
}

std::vector<SetFile> SetLayout(unsigned platforms, const std::string& name, bool vector) {
    std::vector<SetFile> files;
    if ((platforms & kWindows) != 0) files.push_back({kWindows, name + ".ico", FileKind::Ico, kWindowsSizes, true});
    if ((platforms & kMac) != 0) {
        SetFile icns{kMac, name + ".icns", FileKind::Icns, {}, false};
        for (const IcnsType& type : kIcnsLayout) icns.sizes.push_back(type.side);
        files.push_back(icns);
    }
    if ((platforms & kLinux) != 0) {
        for (int size : kHicolorSizes)
            files.push_back(
                {kLinux, "hicolor/" + Square(size) + "/apps/" + name + ".png", FileKind::Png, {size}, false});
        if (vector) files.push_back({kLinux, "hicolor/scalable/apps/" + name + ".svg", FileKind::Document, {}, false});
    }
    if ((platforms & kWeb) != 0) {
        files.push_back({kWeb, "favicon.ico", FileKind::Ico, kFaviconSizes, false});
        if (vector) files.push_back({kWeb, "favicon.svg", FileKind::Document, {}, false});
        files.push_back({kWeb, "favicon-" + Square(kFaviconPngSize) + ".png", FileKind::Png, {kFaviconPngSize}, false});
        files.push_back({kWeb, "apple-touch-icon.png", FileKind::OnColour, {kAppleTouchSize}, false});
        for (int size : kManifestSizes)
            files.push_back({kWeb, "web-app-manifest-" + Square(size) + ".png", FileKind::Png, {size}, false});
        files.push_back({kWeb, "site.webmanifest", FileKind::Manifest, {}, false});
        files.push_back({kWeb, "favicon.html", FileKind::Html, {}, false});
    }
    return files;
}

std::vector<int> SetSizes(const std::vector<SetFile>& files) {
    std::vector<int> sizes;
    for (const SetFile& file : files) sizes.insert(sizes.end(), file.sizes.begin(), file.sizes.end());
    std::sort(sizes.begin(), sizes.end(), std::greater<>());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    return sizes;
}

std::vector<int> PngSizes(const std::vector<SetFile>& files) {
    std::vector<SetFile> holders;
    for (const SetFile& file : files) {
        if (file.kind == FileKind::Png) holders.push_back(file);
        if (file.kind == FileKind::Ico && file.png256) holders.push_back({file.platform, file.path, file.kind, {256}});
    }
    if (std::any_of(files.begin(), files.end(), [](const SetFile& file) { return file.kind == FileKind::Icns; })) {
        SetFile icns{kMac, "", FileKind::Icns, {}};
        for (const IcnsType& type : kIcnsLayout)
            if (type.data == IcnsData::Png) icns.sizes.push_back(type.side);
        holders.push_back(icns);
    }
    return SetSizes(holders);
}

}  // namespace zentro::sets
