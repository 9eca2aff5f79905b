#pragma once
// What a zentro-cli command line asks for.
#include <optional>
#include <string>
#include <vector>

#include "icon/icon_writer.h"
#include "job/choices.h"
#include "job/conversion_rules.h"

namespace zentro::cli {

struct Options {
    std::vector<std::string> inputs;
    std::string output;                      // only with one input; "" = next to the input
    std::optional<std::vector<int>> depths;  // unset = 32 alone; with --classic, as the wizard presets them
    std::array<int, kSizeCount> sizes = SizeChoices{}.sizes;
    std::vector<int> anySizes;     // set when --sizes names a size outside the classic five
    bool sizesGiven = false;       // false: the sizes of several pictures may choose instead
    std::optional<PngImages> png;  // unset = the 256 x 256 image; with --classic, none
    // Reading icons instead of converting pictures.
    bool list = false;
    bool check = false;
    std::string extract;  // folder; "" = no extraction
    bool ReadsIcons() const { return list || check || !extract.empty(); }
    std::optional<bool> transparent;  // unset = by the picture: its alpha, or a key where its corners call for one
    std::optional<Fit> fit;           // unset = padded; with --classic, stretched
    bool keyEverywhere = false;       // every pixel of the key colour, not only those joined to the border
    bool all256 = false;
    std::string icon16;
    std::string previews;
    bool force = false;
    bool classic = false;    // the classic bitmap reader alone
    int jobs = 0;            // files converted at once; 0 = one per core
    bool recursive = false;  // folders given as inputs: their subfolders too
    std::string outputDir;   // "" = each icon beside its picture
    // Every platform's icons into the folder named by --output, in place of one icon.
    unsigned set = 0;        // the platforms (icon_sets/set_layout.h); 0 = no set
    std::string name;        // the set's files' name: --name, else the first input's
    std::string background;  // "#rrggbb" under the opaque web icons
    bool help = false;
    bool version = false;
};

struct ParseResult {
    Options options;
    std::string error;  // non-empty: a usage error
};

ParseResult ParseOptions(const std::vector<std::string>& args);

extern const char* const kUsage;
extern const char* const kVersion;

}  // namespace zentro::cli
