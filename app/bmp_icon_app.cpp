#include "app/bmp_icon_app.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "app/picture_file.h"
#include "app/wizard_command_line.h"
#include "icon/icon_writer.h"
#include "pages/format_page.h"
#include "pages/input_page.h"
#include "pages/output_page.h"
#include "pages/preview_page.h"
#include "pages/sizes_page.h"
#include "platform/executable_folder.h"
#include "platform/html_help.h"
#include "platform/property_sheet.h"
#include "platform/rect.h"
#include "platform/wizard_run.h"

namespace zentro {

namespace {

// Help topics by page index, in the order the pages are added.
constexpr std::array<const char*, 5> kHelpTopics = {"Input", "Format", "Sizes", "Preview", "Output"};

}  // namespace

CBmpIconApp::CBmpIconApp() = default;

CBmpIconApp::~CBmpIconApp() = default;

CBmpIconApp& CBmpIconApp::Get() {
    Application* current = Application::Current();
    if (current == nullptr) {
        std::fputs("zentro: no application object\n", stderr);
        std::abort();
    }
    return static_cast<CBmpIconApp&>(*current);
}

bool CBmpIconApp::InitInstance() {
    // Filled in by the sheet; every page moves there when it becomes active.
    Rect pageRect;

    // Built in the order in which they need each other; shown in wizard order.
    CFormatPage format(&pageRect);
    CSizesPage sizes(&pageRect, &format);
    COutputPage output(&pageRect);
    CInputPage input(&pageRect, &output.path, &output.png256, &format.choices, &sizes.choices.sizes);
    CPreviewPage preview(&pageRect);

    const CommandLineInfo commandLine = ParseCommandLine(Arguments());
    if (!commandLine.fileName.empty()) input.path = commandLine.fileName;

    if (RunBannerWizard(pageRect, {&input, &format, &sizes, &preview, &output}) == kWizardFinished)
        WriteIconFile(output.path, format.choices, sizes.choices, output.png256 != 0);
    return false;
}

void CBmpIconApp::WinHelp(unsigned long, unsigned) {
    if (store.currentPage >= kHelpTopics.size()) return;
    const std::string reference = ExecutableFolder() + "Zentro.chm::/" + kHelpTopics[store.currentPage] + ".html";
    HtmlHelpA(nullptr, reference.c_str(), kHelpDisplayTopic, 0);
}

bool CBmpIconApp::WriteIconFile(const std::string& path, const FormatChoices& format, const SizeChoices& sizes,
                                bool png256) {
    // Off, the classic bytes: the encoder is never asked.
    const PngChoice png{png256 ? PngImages::Only256 : PngImages::None, PngEncoderOfThisBuild(store.rules)};
    return zentro::WriteIconFile(store, path, format, sizes, png);
}

}  // namespace zentro
