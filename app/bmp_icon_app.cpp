#include "app/bmp_icon_app.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "app/bmp_property_sheet.h"
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
    CBmpPropertySheet sheet;

    // Built in the order in which they need each other; added in wizard order.
    CFormatPage format(&sheet.pageRect);
    CSizesPage sizes(&sheet.pageRect, &format);
    COutputPage output(&sheet.pageRect);
    CInputPage input(&sheet.pageRect, &output.path, &format.choices.use32, &format.choices.transparent);
    CPreviewPage preview(&sheet.pageRect);

    const CommandLineInfo commandLine = ParseCommandLine(Arguments());
    if (!commandLine.fileName.empty()) input.path = commandLine.fileName;

    sheet.AddPage(&input);
    sheet.AddPage(&format);
    sheet.AddPage(&sizes);
    sheet.AddPage(&preview);
    sheet.AddPage(&output);

    if (sheet.DoModal() == kWizardFinished)
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
    const PngChoice png{png256 ? PngImages::Only256 : PngImages::None, PngEncoderOfThisBuild()};
    return zentro::WriteIconFile(store, path, format, sizes, png);
}

}  // namespace zentro
