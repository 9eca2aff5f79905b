#pragma once
// The web's text files of a set: the app manifest and the tags that point a
// page's head at every favicon.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "icon_sets/set_layout.h"

namespace zentro::sets {

struct WebDetails {
    std::string name;
    std::string colour;  // "#rrggbb": the background under the apple-touch icon, the manifest's colours
};

// site.webmanifest naming the PNG files of `written` (the set's files written so far) meant for it.
std::string WebManifest(const WebDetails& web, const std::vector<SetFile>& written);

// The tags for the web files among `written` and the manifest, ready to paste
// into a page's head; each names its file from the site's root.
std::string FaviconTags(const std::vector<SetFile>& written);

// "#rgb" or "#rrggbb" (either case) as "#rrggbb"; "" when `text` is neither.
std::string ParseColour(const std::string& text);
// The red, green and blue of a colour as ParseColour gives it.
std::array<std::uint8_t, 3> ColourBytes(const std::string& colour);

}  // namespace zentro::sets
