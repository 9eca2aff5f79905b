#include "cli/options.h"

#include <algorithm>
#include <sstream>

#include "icon_sets/set_layout.h"
#include "icon_sets/web_files.h"
#include "job/source_choice.h"
#include "platform/string_table.h"
#include "platform/utf8_path.h"

namespace zentro::cli {

const char* const kVersion = "1.5.0.1";

const char* const kUsage =
    "Usage: zentro-cli [options] INPUT|FOLDER...\n"
    "       zentro-cli --list|--check|--extract DIR ICON...\n"
    "       zentro-cli --set LIST -o FOLDER [--name NAME] PICTURE...\n"
    "Converts each picture into a Windows icon (.ico) beside it, reads icons, or\n"
    "makes every platform's icons of one design. A folder stands for every picture\n"
    "in it.\n"
#ifdef ZENTRO_CLI_CODECS
    "Reads PNG, JPEG, WebP, GIF, BMP of every kind, ICO, CUR and SVG (drawn afresh at\n"
    "each size), told by their first bytes. A picture with alpha keeps it: its\n"
    "transparent parts stay transparent.\n"
#ifdef _WIN32
    "This build reads no SVG: vector pictures are read on Linux only.\n"
#endif
#else
    "This build reads classic BMP files only (uncompressed, 1, 4, 8 or 24 bits).\n"
#endif
    "\n"
    "Options (before or after the inputs):\n"
    "  -o, --output FILE   icon to write (default: INPUT with .ico); with several\n"
    "                      inputs, one icon made of them all (see below)\n"
    "      --depths LIST   colour depths from 32,24,8,4 (default: 32; a 32-bit image\n"
    "                      of a picture with nothing transparent is opaque)\n"
    "      --sizes LIST    sizes from 1 to 256, or a preset: windows =\n"
    "                      16,20,24,32,40,48,64,96,256; favicon = 16,32,48. Default:\n"
    "                      those of 256,48,32,16 the pictures make without being\n"
    "                      enlarged (a line on standard error names the others), or\n"
    "                      a smaller picture's own size; a size named here that no\n"
    "                      picture makes is refused\n"
    "      --png WHICH     store 32-bit images as PNG: none, 256 (default: the\n"
    "                      256x256 ones) or all; other depths stay BMP\n"
    "      --fit HOW       a picture that is not square: pad (default: scaled whole,\n"
    "                      centred, the rest transparent) or stretch\n"
    "      --transparent   key the colour of the bottom-left pixel on any picture\n"
    "                      without alpha. Default: a picture with alpha below 255\n"
    "                      uses its alpha; a lossless raster picture whose\n"
    "                      bottom-left, top-left and bottom-right pixels match is\n"
    "                      keyed; vector and lossy (JPEG, lossy WebP) pictures are\n"
    "                      not. A key that would leave nothing opaque is not used\n"
    "      --key WHERE     which pixels of the key colour: border (default: those\n"
    "                      joined to the picture's border) or everywhere\n"
    "      --opaque        make nothing transparent; a picture with alpha is laid on white\n"
    "      --all-256       every depth keeps its 256x256 image (default: only the deepest)\n"
    "      --icon16 FILE   take the 16x16 images from this picture\n"
    "      --previews DIR  also write each image on white as DIR/00.bmp, 01.bmp, ...\n"
    "                      (one icon only)\n"
    "  -f, --force         replace an existing icon file\n"
    "  -r, --recursive     folders given as inputs: their subfolders too\n"
    "      --output-dir DIR  put the icons into DIR, mirroring the subfolders\n"
    "  -j, --jobs N        convert N files at once (default: one per core)\n"
    "      --classic       the classic conversion, as the wizard makes it of a\n"
    "                      classic bitmap: the classic reader alone; default depths\n"
    "                      8,4 (and 32 with the key when the corners match); no\n"
    "                      PNG; the key everywhere; pictures stretched; a size\n"
    "                      larger than the picture refused\n"
    "      --set LIST      every platform's icons into the folder of -o, from any of\n"
    "                      windows, mac, linux, web, or all (see below)\n"
    "      --name NAME     with --set: the files' name (default: the first picture's\n"
    "                      file name without its extension)\n"
    "      --background COLOUR  with --set: the colour (#RRGGBB or #RGB) under the\n"
    "                      apple-touch icon and in the manifest (default: #ffffff)\n"
    "      --list          list each image of the icons (ICO or CUR) given\n"
    "      --check         check the icons given; exit status 1 on a fault\n"
    "      --extract DIR   write each image of the icon as DIR/NN-WxH-BITS.png\n"
    "  -h, --help          show this help\n"
    "      --version       show the version\n"
    "      --              end of the options: every later argument is an input\n"
    "\n"
    "Examples:\n"
    "  zentro-cli logo.bmp\n"
    "      logo.ico beside logo.bmp, with the default depths and sizes\n"
    "  zentro-cli --depths 32,8 --sizes 48,32,16 -o app.ico logo.bmp\n"
    "      app.ico with 32-bit and 8-bit images at three sizes\n"
    "  zentro-cli --transparent --depths 32,24,8,4 --all-256 logo.bmp\n"
    "      every depth, each with its own 256x256 image, the key colour transparent\n"
    "  zentro-cli --opaque --icon16 logo16.bmp --previews previews logo.bmp\n"
    "      nothing transparent, the 16x16 images drawn from logo16.bmp, and\n"
    "      each image also written on white into previews/\n"
    "  zentro-cli --opaque --force pictures/*.bmp\n"
    "      an icon beside every picture, replacing icons that are there already\n"
    "  zentro-cli -r -j 2 --output-dir icons pictures\n"
    "      an icon for every picture under pictures/, two at a time, into icons/\n"
    "  zentro-cli --classic logo.bmp\n"
    "      the wizard's reader: uncompressed 1-, 4-, 8- and 24-bit BMP files only\n"
    "  zentro-cli --fit stretch --transparent --key everywhere photo.png\n"
    "      the photo stretched to squares, every pixel of its key colour transparent\n"
    "  zentro-cli --png 256 --sizes windows --depths 32,8,4 logo.bmp\n"
    "      the sizes Windows asks for, the 256x256 image compressed as PNG\n"
    "  zentro-cli -o app.ico app-256.png app-32.png app-16.png\n"
    "      one icon of the three pictures, each used as it is at its own size\n"
    "  zentro-cli --sizes windows --png all logo.svg\n"
    "      logo.ico with the sizes Windows asks for, each drawn from the SVG\n"
    "  zentro-cli --set all -o icons logo.svg\n"
    "      every platform's icons of logo.svg in icons/ (see below)\n"
    "  zentro-cli --set web,windows --name site --background=#203040 -o www app.png\n"
    "      the web's icons and site.ico, the apple-touch icon on #203040\n"
    "  zentro-cli --list --check app.ico\n"
    "      each image of app.ico, then every fault and warning found in it\n"
    "  zentro-cli --extract images app.ico\n"
    "      each image of app.ico as a PNG file in images/\n"
    "  zentro-cli -f -- -logo.bmp\n"
    "      an input whose name starts with '-'\n"
    "  zentro-cli --help\n"
    "      this text\n"
    "  zentro-cli --version\n"
    "      \"zentro-cli\" and the version number\n"
    "\n"
    "Several pictures with -o make one icon. Each size is made from the picture of\n"
    "exactly that size (square), else from a vector picture drawn at that size, else\n"
    "averaged down from the picture whose longer side (shorter side with --fit\n"
    "stretch) is the nearest above it. An icon given as input brings each of its\n"
    "images. Without --sizes, the sizes are those of the square pictures (when more\n"
    "than one raster picture is given), as far as the pictures make them.\n"
    "\n"
    "--set writes, by the same rule, NAME.ico (windows: 16 to 256, 32-bit, 256 as\n"
    "PNG), NAME.icns (mac: 16 to 1024), hicolor/SxS/apps/NAME.png (linux: 16 to 512,\n"
    "and hicolor/scalable/apps/NAME.svg from an SVG) and, for the web, favicon.ico\n"
    "(48, 32, 16), favicon.svg, favicon-96x96.png, apple-touch-icon.png (180,\n"
    "opaque), web-app-manifest-192x192.png and -512x512.png, site.webmanifest and\n"
    "favicon.html (the tags for a page's head). A size that would need a picture\n"
    "enlarged is left out and named on standard error. Files already there stop the\n"
    "run before anything is written, unless --force.\n"
    "\n"
    "Otherwise, with more than one input, a summary line follows on standard error,\n"
    "and a progress line while converting when standard error is a terminal.\n"
    "\n"
    "Exit status: 0 when every icon was written (or read), 1 when a conversion failed\n"
    "(or an icon has a fault or could not be read), 2 on a usage error, 130 when\n"
    "interrupted (icons already written stay; the one in progress is not written).\n";

namespace {

// Parses "a,b,c" against the allowed numbers (from `lowest` to `highest` when `allowed`
// is empty); "" is a valid empty list.
bool ParseList(const std::string& text, const std::vector<int>& allowed, std::vector<int>& out, int lowest = 0,
               int highest = 0) {
    out.clear();
    if (text.empty()) return true;
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ',')) {
        if (item.empty() || item.find_first_not_of("0123456789") != std::string::npos) return false;
        int value = 0;
        try {
            value = std::stoi(item);
        } catch (const std::exception&) {
            return false;
        }
        if (allowed.empty() ? value < lowest || value > highest
                            : std::find(allowed.begin(), allowed.end(), value) == allowed.end())
            return false;
        out.push_back(value);
    }
    return text.back() != ',';
}

bool ParseJobs(const std::string& text, int& jobs) {
    std::vector<int> list;
    if (!ParseList(text, {}, list, 1, 256) || list.size() != 1) return false;
    jobs = list[0];
    return true;
}

// --sizes: a preset or any list of sizes from 1 to 256. Sizes all among the
// classic five go through their flags, as they always have.
std::string ParseSizes(const std::string& text, Options& o) {
    std::vector<int> sizes;
    if (text == "windows")
        sizes = {16, 20, 24, 32, 40, 48, 64, 96, 256};
    else if (text == "favicon")
        sizes = {16, 32, 48};
    else if (!ParseList(text, {}, sizes, 1, 256))
        return LoadString(IDS_USAGE_SIZES);
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    if (sizes.size() > static_cast<std::size_t>(kMaxSizes))
        return FormatString(IDS_USAGE_TOO_MANY_SIZES, {std::to_string(kMaxSizes)});
    ChooseSizes(sizes, o.sizes, o.anySizes);
    o.sizesGiven = true;
    return "";
}

// The first picture's file name without its extension.
std::string SetNameOf(const std::string& input) { return Utf8FromPath(PathFromUtf8(input).filename().stem()); }

}  // namespace

ParseResult ParseOptions(const std::vector<std::string>& args) {
    ParseResult result;
    Options& o = result.options;
    bool onlyInputs = false;
    bool converting = false;  // an option that only a conversion uses
    bool oneIcon = false;     // an option that only the making of icons one by one uses
    bool setDetail = false;   // an option that only a set uses
    o.background = "#ffffff";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyInputs || arg.empty() || arg[0] != '-' || arg == "-") {
            o.inputs.push_back(arg);
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
            name = arg.substr(0, arg.find('='));
            inlineValue = arg.substr(arg.find('=') + 1);
        }
        auto value = [&](std::string& into) {
            if (inlineValue) {
                into = *inlineValue;
                return true;
            }
            if (i + 1 >= args.size()) {
                result.error = FormatString(IDS_USAGE_NEEDS_VALUE, {name});
                return false;
            }
            into = args[++i];
            return true;
        };
        auto flag = [&](bool& into) {
            if (inlineValue) {
                result.error = FormatString(IDS_USAGE_TAKES_NO_VALUE, {name});
                return false;
            }
            into = true;
            return true;
        };
        std::string text;
        bool ok = true;
        if (name == "--") {
            onlyInputs = true;
        } else if (name == "-o" || name == "--output") {
            converting = true;
            ok = value(o.output);
        } else if (name == "--depths") {
            converting = oneIcon = true;
            std::vector<int> depths;
            ok = value(text) && ParseList(text, {32, 24, 8, 4}, depths);
            if (ok)
                o.depths = depths;
            else if (result.error.empty())
                result.error = LoadString(IDS_USAGE_DEPTHS);
        } else if (name == "--sizes") {
            converting = oneIcon = true;
            ok = value(text);
            if (ok) result.error = ParseSizes(text, o);
            ok = ok && result.error.empty();
        } else if (name == "--png") {
            converting = oneIcon = true;
            ok = value(text);
            if (ok && (text == "none" || text == "256" || text == "all"))
                o.png = text == "none" ? PngImages::None : text == "256" ? PngImages::Only256 : PngImages::All;
            else if (ok)
                result.error = LoadString(IDS_USAGE_PNG);
            ok = ok && result.error.empty();
        } else if (name == "--fit") {
            converting = true;
            ok = value(text);
            if (ok && (text == "pad" || text == "stretch"))
                o.fit = text == "pad" ? Fit::Pad : Fit::Stretch;
            else if (ok)
                result.error = LoadString(IDS_USAGE_FIT);
            ok = ok && result.error.empty();
        } else if (name == "--key") {
            converting = true;
            ok = value(text);
            if (ok && (text == "border" || text == "everywhere"))
                o.keyEverywhere = text == "everywhere";
            else if (ok)
                result.error = LoadString(IDS_USAGE_KEY);
            ok = ok && result.error.empty();
        } else if (name == "--extract") {
            ok = value(o.extract);
            if (ok && o.extract.empty()) {
                result.error = LoadString(IDS_USAGE_EXTRACT_FOLDER);
                ok = false;
            }
        } else if (name == "--list") {
            ok = flag(o.list);
        } else if (name == "--check") {
            ok = flag(o.check);
        } else if (name == "--transparent" || name == "--opaque") {
            converting = true;
            bool given = false;
            ok = flag(given);
            o.transparent = name == "--transparent";
        } else if (name == "--all-256") {
            converting = oneIcon = true;
            ok = flag(o.all256);
        } else if (name == "--icon16") {
            converting = oneIcon = true;
            ok = value(o.icon16);
        } else if (name == "--previews") {
            converting = oneIcon = true;
            ok = value(o.previews);
        } else if (name == "-f" || name == "--force") {
            ok = flag(o.force);
        } else if (name == "-r" || name == "--recursive") {
            converting = oneIcon = true;
            ok = flag(o.recursive);
        } else if (name == "--output-dir") {
            converting = oneIcon = true;
            ok = value(o.outputDir);
            if (ok && o.outputDir.empty()) result.error = LoadString(IDS_USAGE_OUTPUT_DIR_FOLDER), ok = false;
        } else if (name == "-j" || name == "--jobs") {
            converting = oneIcon = true;
            ok = value(text) && ParseJobs(text, o.jobs);
            if (!ok && result.error.empty()) result.error = LoadString(IDS_USAGE_JOBS);
        } else if (name == "--set") {
            converting = true;
            ok = value(text);
            if (ok) o.set = sets::ParsePlatforms(text);
            if (ok && o.set == 0) result.error = LoadString(IDS_USAGE_SET), ok = false;
        } else if (name == "--name") {
            converting = setDetail = true;
            ok = value(o.name);
            if (ok && !sets::IsPlainFileName(o.name)) result.error = LoadString(IDS_USAGE_NAME), ok = false;
        } else if (name == "--background") {
            converting = setDetail = true;
            ok = value(text);
            if (ok) o.background = sets::ParseColour(text);
            if (ok && o.background.empty()) result.error = LoadString(IDS_USAGE_BACKGROUND), ok = false;
        } else if (name == "--classic") {
            converting = true;
            ok = flag(o.classic);
        } else if (name == "-h" || name == "--help") {
            ok = flag(o.help);
        } else if (name == "--version") {
            ok = flag(o.version);
        } else {
            result.error = FormatString(IDS_USAGE_UNKNOWN_OPTION, {arg});
            ok = false;
        }
        if (!ok) return result;
    }
    if (o.help || o.version) return result;
    if (o.inputs.empty())
        result.error = LoadString(o.ReadsIcons() ? IDS_USAGE_NO_ICON : IDS_USAGE_NO_INPUT);
    else if (o.ReadsIcons() && converting)
        result.error = LoadString(IDS_USAGE_ICONS_TAKE_NO_CONVERSION);
    else if (o.inputs.size() > 1 && o.output.empty() && !o.previews.empty())
        result.error = LoadString(IDS_USAGE_PREVIEWS_ONE_ICON);
    else if (!o.output.empty() && !o.outputDir.empty())
        result.error = LoadString(IDS_USAGE_OUTPUT_AND_OUTPUT_DIR);
    else if (o.inputs.size() > 1 && !o.extract.empty())
        result.error = LoadString(IDS_USAGE_EXTRACT_ONE_ICON);
    else if (o.classic && o.fit == Fit::Pad)
        result.error = LoadString(IDS_USAGE_CLASSIC_STRETCHES);
    else if (o.set != 0 && o.classic)
        result.error = LoadString(IDS_USAGE_SET_NOT_CLASSIC);
    else if (o.set != 0 && oneIcon)
        result.error = LoadString(IDS_USAGE_SET_MAKES_ITS_OWN);
    else if (o.set == 0 && setDetail)
        result.error = LoadString(IDS_USAGE_GO_WITH_SET);
    else if (o.set != 0 && o.output.empty())
        result.error = LoadString(IDS_USAGE_SET_NEEDS_FOLDER);
    else if (o.set != 0 && o.name.empty() && !sets::IsPlainFileName(o.name = SetNameOf(o.inputs.front())))
        result.error = FormatString(IDS_USAGE_SET_NAME, {o.name});
#ifndef ZENTRO_CLI_CODECS
    else if (o.png.value_or(PngImages::None) != PngImages::None || !o.extract.empty() || o.set != 0)
        result.error = LoadString(IDS_USAGE_NO_PNG_IN_BUILD);
#endif
    return result;
}

}  // namespace zentro::cli
