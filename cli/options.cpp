#include "cli/options.h"

#include <algorithm>
#include <sstream>

namespace zentro::cli {

const char* const kVersion = "1.5.0.1";

const char* const kUsage =
    "Usage: zentro-cli [options] INPUT|FOLDER...\n"
    "Converts each picture into a Windows icon (.ico) beside it. A folder stands\n"
    "for every picture in it.\n"
#ifdef ZENTRO_CLI_CODECS
    "Reads PNG, JPEG, WebP, GIF, BMP of every kind, ICO and CUR, told by their first\n"
    "bytes. A picture with alpha keeps it: its transparent parts stay transparent.\n"
#else
    "This build reads classic BMP files only (uncompressed, 1, 4, 8 or 24 bits).\n"
#endif
    "\n"
    "Options (before or after the inputs):\n"
    "  -o, --output FILE   icon to write (one input only; default: INPUT with .ico)\n"
    "      --depths LIST   colour depths from 32,24,8,4 (default: 8,4, and 32 when\n"
    "                      the picture's corners share the key colour)\n"
    "      --sizes LIST    sizes from 256,48,32,24,16 (default: 256,48,32,16)\n"
    "      --transparent   make the key colour transparent (default: when the\n"
    "                      bottom-left, top-left and bottom-right pixels match;\n"
    "                      a picture with alpha below 255 uses its alpha instead)\n"
    "      --opaque        make nothing transparent; a picture with alpha is laid on white\n"
    "      --all-256       every depth keeps its 256x256 image (default: only the deepest)\n"
    "      --icon16 FILE   take the 16x16 images from this picture\n"
    "      --previews DIR  also write each image on white as DIR/00.bmp, 01.bmp, ...\n"
    "  -f, --force         replace an existing icon file\n"
    "  -r, --recursive     folders given as inputs: their subfolders too\n"
    "      --output-dir DIR  put the icons into DIR, mirroring the subfolders\n"
    "  -j, --jobs N        convert N files at once (default: one per core)\n"
    "      --classic       read with the classic bitmap reader only, as the wizard does\n"
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
    "  zentro-cli -f -- -logo.bmp\n"
    "      an input whose name starts with '-'\n"
    "  zentro-cli --help\n"
    "      this text\n"
    "  zentro-cli --version\n"
    "      \"zentro-cli\" and the version number\n"
    "\n"
    "With more than one input, a summary line follows on standard error, and a\n"
    "progress line while converting when standard error is a terminal.\n"
    "\n"
    "Exit status: 0 when every icon was written, 1 when a conversion failed, 2 on a usage error,\n"
    "130 when interrupted (icons already written stay; the one in progress is not written).\n";

namespace {

// Parses "a,b,c" against the allowed numbers; "" is a valid empty list.
bool ParseList(const std::string& text, const std::vector<int>& allowed, std::vector<int>& out) {
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
        if (std::find(allowed.begin(), allowed.end(), value) == allowed.end()) return false;
        out.push_back(value);
    }
    return text.back() != ',';
}

bool ParseJobs(const std::string& text, int& jobs) {
    std::vector<int> allowed(256);
    for (int n = 0; n < 256; ++n) allowed[n] = n + 1;
    std::vector<int> list;
    if (!ParseList(text, allowed, list) || list.size() != 1) return false;
    jobs = list[0];
    return true;
}

}  // namespace

ParseResult ParseOptions(const std::vector<std::string>& args) {
    ParseResult result;
    Options& o = result.options;
    bool onlyInputs = false;
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
                result.error = "option " + name + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        auto flag = [&](bool& into) {
            if (inlineValue) {
                result.error = "option " + name + " takes no value";
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
            ok = value(o.output);
        } else if (name == "--depths") {
            std::vector<int> depths;
            ok = value(text) && ParseList(text, {32, 24, 8, 4}, depths);
            if (ok) o.depths = depths;
            else if (result.error.empty()) result.error = "--depths takes a list from 32,24,8,4";
        } else if (name == "--sizes") {
            std::vector<int> sizes;
            ok = value(text) && ParseList(text, {256, 48, 32, 24, 16}, sizes);
            if (ok) {
                for (int t = 0; t < kSizeCount; ++t)
                    o.sizes[t] = std::find(sizes.begin(), sizes.end(), kSizeTable[t]) != sizes.end();
            } else if (result.error.empty()) {
                result.error = "--sizes takes a list from 256,48,32,24,16";
            }
        } else if (name == "--transparent" || name == "--opaque") {
            bool given = false;
            ok = flag(given);
            o.transparent = name == "--transparent";
        } else if (name == "--all-256") {
            ok = flag(o.all256);
        } else if (name == "--icon16") {
            ok = value(o.icon16);
        } else if (name == "--previews") {
            ok = value(o.previews);
        } else if (name == "-f" || name == "--force") {
            ok = flag(o.force);
        } else if (name == "-r" || name == "--recursive") {
            ok = flag(o.recursive);
        } else if (name == "--output-dir") {
            ok = value(o.outputDir);
            if (ok && o.outputDir.empty()) result.error = "--output-dir needs a folder", ok = false;
        } else if (name == "-j" || name == "--jobs") {
            ok = value(text) && ParseJobs(text, o.jobs);
            if (!ok && result.error.empty()) result.error = "--jobs takes a number from 1 to 256";
        } else if (name == "--classic") {
            ok = flag(o.classic);
        } else if (name == "-h" || name == "--help") {
            ok = flag(o.help);
        } else if (name == "--version") {
            ok = flag(o.version);
        } else {
            result.error = "unknown option " + arg;
            ok = false;
        }
        if (!ok) return result;
    }
    if (o.help || o.version) return result;
    if (o.inputs.empty())
        result.error = "no input bitmap";
    else if (o.inputs.size() > 1 && !o.output.empty())
        result.error = "--output goes with one input only";
    else if (o.inputs.size() > 1 && !o.previews.empty())
        result.error = "--previews goes with one input only";
    else if (!o.output.empty() && !o.outputDir.empty())
        result.error = "--output and --output-dir do not go together";
    return result;
}

}  // namespace zentro::cli
