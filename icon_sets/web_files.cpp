#include "icon_sets/web_files.h"

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>

namespace zentro::sets {

namespace {

std::string Square(int size) { return std::to_string(size) + "x" + std::to_string(size); }

bool IsManifestIcon(const SetFile& file) {
    return file.platform == kWeb && file.kind == FileKind::Png &&
           std::find(kManifestSizes.begin(), kManifestSizes.end(), file.sizes.front()) != kManifestSizes.end();
}

// The tag for one web file, "" for a file that no tag names.
std::string Tag(const SetFile& file) {
    const std::string href = "\"/" + file.path + "\"";
    switch (file.kind) {
        case FileKind::Png:
            return file.sizes.front() == kFaviconPngSize ? "<link rel=\"icon\" type=\"image/png\" href=" + href +
                                                               " sizes=\"" + Square(kFaviconPngSize) + "\" />"
                                                         : "";
        case FileKind::Document: return "<link rel=\"icon\" type=\"image/svg+xml\" href=" + href + " />";
        case FileKind::Ico: return "<link rel=\"shortcut icon\" href=" + href + " />";
        case FileKind::OnColour:
            return "<link rel=\"apple-touch-icon\" sizes=\"" + Square(kAppleTouchSize) + "\" href=" + href + " />";
        case FileKind::Manifest: return "<link rel=\"manifest\" href=" + href + " />";
        default: return "";
    }
}

}  // namespace

std::string WebManifest(const WebDetails& web, const std::vector<SetFile>& written) {
    nlohmann::ordered_json icons = nlohmann::ordered_json::array();
    for (const SetFile& file : written) {
        if (!IsManifestIcon(file)) continue;
        // No "maskable" purpose: the artwork is the user's, drawn to the edge, not
        // kept inside the safe zone that a maskable icon's mask may crop to.
        icons.push_back({{"src", "/" + file.path}, {"sizes", Square(file.sizes.front())}, {"type", "image/png"}});
    }
    const nlohmann::ordered_json manifest = {
        {"name", web.name},          {"short_name", web.name},         {"icons", icons},
        {"theme_color", web.colour}, {"background_color", web.colour}, {"display", "standalone"}};
    return manifest.dump(2) + "\n";
}

std::string FaviconTags(const std::vector<SetFile>& written) {
    // In the order browsers are best served: the sharpest choices first.
    static constexpr FileKind kOrder[] = {FileKind::Png, FileKind::Document, FileKind::Ico, FileKind::OnColour,
                                          FileKind::Manifest};
    std::string tags;
    for (FileKind kind : kOrder)
        for (const SetFile& file : written)
            if (file.platform == kWeb && file.kind == kind && !Tag(file).empty()) tags += Tag(file) + "\n";
    return tags;
}

std::string ParseColour(const std::string& text) {
    const bool shape = (text.size() == 4 || text.size() == 7) && text[0] == '#' &&
                       std::all_of(text.begin() + 1, text.end(),
                                   [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
    if (!shape) return "";
    std::string colour = "#";
    for (std::size_t i = 1; i < text.size(); ++i)
        colour.append(text.size() == 4 ? 2 : 1, static_cast<char>(std::tolower(static_cast<unsigned char>(text[i]))));
    return colour;
}

std::array<std::uint8_t, 3> ColourBytes(const std::string& colour) {
    std::array<std::uint8_t, 3> rgb{};
    for (std::size_t c = 0; c < rgb.size(); ++c)
        rgb[c] = static_cast<std::uint8_t>(std::stoi(colour.substr(1 + 2 * c, 2), nullptr, 16));
    return rgb;
}

}  // namespace zentro::sets
