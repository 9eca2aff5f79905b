#include "cli/convert.h"

#include <cstdio>
#include <filesystem>
#include <iomanip>
#include <sstream>

#include "cli/batch.h"
#include "cli/icon_commands.h"
#include "cli/icon_listing.h"
#include "cli/icon_set_command.h"
#include "cli/picture_input.h"
#include "job/image_store.h"
#ifdef ZENTRO_CLI_CODECS
#include "codecs/png_encoder.h"
#endif
#include "icon/icon_writer.h"
#include "image/bmp_writer.h"
#include "job/image_set_builder.h"
#include "job/source_choice.h"
#include "platform/message.h"
#include "platform/path.h"
#include "platform/string_table.h"
#include "platform/utf8_path.h"

namespace zentro::cli {

namespace {

bool Contains(const std::vector<int>& list, int value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

// The format choices, settled as the Format page would leave them. Today's rules make
// every picture transparent as far as it calls for it, and 32-bit images alone.
FormatChoices ChooseFormat(const Options& options, const ImageStore& store, int largestSize) {
    FormatChoices format;
    const bool byDefault = options.classic ? TransparentByDefault(store, largestSize) : true;
    format.transparent = options.transparent.value_or(byDefault) ? 1 : 0;
    const std::vector<int> classicDepths = format.transparent ? std::vector<int>{32, 8, 4} : std::vector<int>{8, 4};
    const std::vector<int> depths = options.depths.value_or(options.classic ? classicDepths : std::vector<int>{32});
    format.use32 = Contains(depths, 32);
    format.use24 = Contains(depths, 24);
    format.use8 = Contains(depths, 8);
    format.use4 = Contains(depths, 4);
    return format;
}

bool CanMakeADepth(const FormatChoices& f, const ConversionRules& rules) {
    return (f.use32 != 0 && (f.transparent != 0 || rules.opaque32)) || f.use4 != 0 || f.use8 != 0 || f.use24 != 0;
}

// Without --sizes, today's rules leave out the sizes that no picture makes without
// being enlarged, and say so.
void FitSizes(const ImageStore& store, SizeChoices& sizes) {
    const SizeTable table = ResolveSizes(sizes);
    std::vector<int> wanted;
    for (std::size_t t = 0; t < table.pixels.size(); ++t)
        if (table.chosen[t]) wanted.push_back(table.pixels[t]);
    const std::vector<int> made = SizesThatFit(store, wanted);
    std::string left;
    for (int size : wanted)
        if (!Contains(made, size)) left += (left.empty() ? "" : ",") + std::to_string(size);
    if (left.empty()) return;
    const bool several = StoreRasters(store).size() > 1;
    ShowMessageAbout("", several ? IDS_CLI_SIZES_LEFT_OUT_OF_SEVERAL : IDS_CLI_SIZES_LEFT_OUT, MessageIcon::Exclamation,
                     {left});
    ChooseSizes(made, sizes.sizes, sizes.anySizes);
}

// Composed before anything is written, so that a lack of memory leaves no file behind.
bool ComposePreviews(const ImageStore& store, std::vector<CDib>& previews) {
    for (std::size_t i = 0; i < previews.size(); ++i) {
        const std::uint8_t code = store.entries[i];
        if (!store.EntryImage(code).ComposePreview(previews[i], store.EntryMask(code))) {
            ShowMessage(IDS_NO_DIB_MEMORY, MessageIcon::Error);
            return false;
        }
    }
    return true;
}

bool WritePreviews(const std::vector<CDib>& previews, const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(PathFromUtf8(folder), error);
    for (std::size_t i = 0; i < previews.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/%02zu.bmp", i);
        const std::string path = folder + name;
        ReplacingFile file;
        if (!file.Open(path)) {
            ShowMessageAbout(path, IDS_CANNOT_CREATE, MessageIcon::Error, {FailureReason(file.Failure(), true)});
            return false;
        }
        try {
            WriteBmp24(file, previews[i]);
            file.Commit();
        } catch (const FileError& error) {
            ShowMessageAbout(path, IDS_CANNOT_WRITE, MessageIcon::Error, {FailureReason(error.Failure(), true)});
            return false;
        }
    }
    return true;
}

void Report(std::ostream& report, const std::string& input, const std::string& output,
            const std::vector<IconEntryInfo>& written) {
    std::ostringstream lines;
    lines << input << " -> " << output << " (" << written.size() << " images)\n";
    for (std::size_t i = 0; i < written.size(); ++i) lines << IconEntryLine(i, written[i]);
    report << lines.str();
}

}  // namespace

ConversionRules ChooseRules(const Options& options) {
    if (options.classic) return {};
    ConversionRules rules = ConversionRules::Today();
    rules.fit = options.fit.value_or(Fit::Pad);
    rules.keyFromBorder = !options.keyEverywhere;
    if (options.transparent == true) rules.keyed = ConversionRules::Keyed::Every;
    return rules;
}

bool PathTaken(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(PathFromUtf8(path), error));
}

std::string MessageLine(const std::string& about, const std::string& text) {
    return "zentro-cli: " + about + ": " + text + "\n";
}

std::string MessageLine(const std::string& about, const Message& message) {
    return MessageLine(message.subject.empty() ? about : message.subject, message.text);
}

std::string InputsLabel(const std::vector<std::string>& inputs) {
    std::string label;
    for (const std::string& input : inputs) label += (label.empty() ? "" : ", ") + input;
    return label;
}

bool Convert(const std::vector<std::string>& inputs, const Options& options, std::ostream& report) {
    const std::string output = options.output.empty() ? ProposeIconPath(inputs.front()) : options.output;
    ImageStore store;
    if (!LoadSources(inputs, options.classic, store)) return false;
    store.rules = ChooseRules(options);

    SizeChoices sizes;
    sizes.sizes = options.sizes;
    sizes.anySizes = options.anySizes;
    if (!options.sizesGiven) {
        if (const std::vector<int> own = SizesOfPictures(store); !own.empty())
            ChooseSizes(own, sizes.sizes, sizes.anySizes);
        if (!options.classic) FitSizes(store, sizes);
    }
    const SizeTable table = ResolveSizes(sizes);
    const auto largest = std::find(table.chosen.begin(), table.chosen.end(), true);
    const int largestSize = largest == table.chosen.end() ? 0 : table.pixels[largest - table.chosen.begin()];
    FormatChoices format = ChooseFormat(options, store, largestSize);
    if (!CanMakeADepth(format, store.rules)) {
        ShowMessage(IDS_NO_DEPTH, MessageIcon::Exclamation);
        return false;
    }
    if (sizes.anySizes.empty() &&
        std::all_of(sizes.sizes.begin(), sizes.sizes.end(), [](int flag) { return flag == 0; })) {
        ShowMessage(IDS_NO_SIZE, MessageIcon::Exclamation);
        return false;
    }
    sizes.onlyOne256 = options.all256 ? 0 : 1;
    sizes.use16Bitmap = options.icon16.empty() ? 0 : 1;
    sizes.bitmap16Path = options.icon16;

    std::error_code error;
    if (std::filesystem::is_directory(PathFromUtf8(output), error)) {
        ShowMessageAbout(output, IDS_CLI_OUTPUT_IS_FOLDER, MessageIcon::Error);
        return false;
    }
    if (!options.force && PathTaken(output)) {
        ShowMessageAbout(output, IDS_CLI_EXISTS, MessageIcon::Error);
        return false;
    }
    if (!BuildImageSet(store, format, sizes, {}, SixteenReader(options.classic))) return false;
    std::vector<CDib> previews(options.previews.empty() ? 0 : store.entries.size());
    if (!ComposePreviews(store, previews)) return false;
    std::vector<IconEntryInfo> written;
    PngChoice png{options.png.value_or(PngImages::None), {}};
#ifdef ZENTRO_CLI_CODECS
    png.encode = options.classic ? codecs::EncodePng : codecs::EncodePngQuickly;
    // A 256 x 256 image as PNG is a fifth of its bitmap, and every reader since Vista takes it.
    if (!options.png && !options.classic) png.images = PngImages::Only256;
#endif
    if (!WriteIconFile(store, output, format, sizes, png, &written)) return false;
    if (!options.previews.empty() && !WritePreviews(previews, options.previews)) return false;
    Report(report, InputsLabel(inputs), output, written);
    return true;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ParseResult parsed = ParseOptions(args);
    if (!parsed.error.empty()) {
        err << "zentro-cli: " << parsed.error << "\n" << LoadString(IDS_USAGE_TRY_HELP) << "\n";
        return 2;
    }
    const Options& options = parsed.options;
    if (options.help) {
        out << kUsage;
        return 0;
    }
    if (options.version) {
        out << "zentro-cli " << kVersion << "\n";
        return 0;
    }
    if (options.set != 0) return RunIconSet(options, out, err);
    if (!options.ReadsIcons()) return RunBatch(options, out, err);
    int status = 0;
    for (const std::string& input : options.inputs) {
        ScopedMessageHandler messages([&err, &input](const Message& m) {
            err << MessageLine(input, m);
            return MessageReply::No;
        });
        if (!RunIconCommand(input, options, out)) status = 1;
    }
    return status;
}

}  // namespace zentro::cli
