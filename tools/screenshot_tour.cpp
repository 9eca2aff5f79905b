// Walks the wizard headless and saves a picture of every page, of the help
// viewer and of a Yes/No message box: zentro_screenshot_tour OUTDIR [BITMAP].
// With --preview FILE.png PICTURE [--palettes] it saves only the picture the
// Preview page shows first, as the page draws it, for the Windows build to be
// held against; --palettes clicks the 8- and 4-bit boxes on the Format page.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "app/bmp_icon_app.h"
#include "pages/control_ids.h"
#include "pages/preview_page.h"
#include "platform/message.h"
#include "platform/qt/application.h"
#include "platform/qt/dib_drawing.h"
#include "platform/qt/html_help.h"
#include "platform/qt/window_handle.h"
#include "platform/qt/wizard_sheet.h"
#include "platform/string_table.h"
#include "platform/wizard_page.h"

namespace {

QString gFolder;
// Set by --preview: the file the Preview page's first picture goes to.
QString gPreviewFile;
bool gClickPalettes = false;

// File names of the pages, in wizard order.
constexpr std::array<const char*, 5> kPageNames = {"1-input", "2-format", "3-sizes", "4-preview", "5-output"};
constexpr int kFormatPage = 1;
constexpr int kPreviewPage = 3;

void Save(QWidget* window, const QString& name) {
    const QString path = gFolder + QLatin1Char('/') + name + QStringLiteral(".png");
    // The pictures are committed: the strongest compression keeps them small.
    if (window->grab().save(path, "PNG", 0))
        std::printf("%s\n", qPrintable(path));
    else
        std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
}

// Shows message 110 and saves it once it is on screen.
void SaveQuestion() {
    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            Save(box, QStringLiteral("message-110"));
            box->done(QMessageBox::No);
        }
    });
    zentro::ShowMessage(zentro::IDS_OVERWRITE, zentro::MessageIcon::Exclamation, zentro::MessageButtons::YesNo);
}

// Steps the preview, as the user would with the scroll bar, to the largest
// image with alpha, whose soft edges show the keying best (the entry list
// starts with the 4-bit images). Without alpha images it stays at the first.
void ScrollToLargestAlphaImage(zentro::WizardSheet& sheet) {
    const std::vector<std::uint8_t>& entries = zentro::CBmpIconApp::Get().store.entries;
    const auto alpha = std::find_if(entries.begin(), entries.end(),
                                    [](std::uint8_t code) { return code / zentro::kSizeCount == zentro::kKind32; });
    auto* scrollBar =
        qobject_cast<QScrollBar*>(zentro::AsWidget(sheet.GetActivePage()->GetDlgItem(zentro::kPreviewScrollBar)));
    if (alpha == entries.end() || scrollBar == nullptr) return;
    for (auto step = entries.begin(); step != alpha; ++step)
        scrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
}

// Saves the picture of the Preview page, drawn as the page draws it, and leaves.
void SavePreview(zentro::WizardSheet& sheet) {
    const auto* page = dynamic_cast<const zentro::CPreviewPage*>(sheet.GetActivePage());
    const zentro::CDib& shown = page->Preview().PreviewBitmap();
    QImage image(shown.Width(), shown.Height(), QImage::Format_RGB888);
    QPainter painter(&image);
    const QSize drawn = zentro::DrawDib(painter, shown, shown.Height());
    painter.end();
    if (drawn.isEmpty() || !image.save(gPreviewFile, "PNG"))
        std::fprintf(stderr, "cannot save %s\n", qPrintable(gPreviewFile));
    else
        std::printf("%s\n", qPrintable(gPreviewFile));
    sheet.PressButton(zentro::WizardCommand::Cancel);
}

void Step(int shot) {
    auto* sheet = qobject_cast<zentro::WizardSheet*>(QApplication::activeModalWidget());
    if (sheet == nullptr) return;
    const int index = sheet->GetActiveIndex();
    if (!gPreviewFile.isEmpty() && index == kPreviewPage) {
        SavePreview(*sheet);
        return;
    }
    if (!gPreviewFile.isEmpty() && index == kFormatPage && gClickPalettes)
        for (const int box : {zentro::kPalette8Box, zentro::kPalette4Box})
            qobject_cast<QCheckBox*>(zentro::AsWidget(sheet->GetActivePage()->GetDlgItem(box)))->click();
    if (!gPreviewFile.isEmpty()) {
        // A page that refuses to go on ends the walk without a picture.
        sheet->PressButton(zentro::WizardCommand::Next);
        if (sheet->GetActiveIndex() == index)
            sheet->PressButton(zentro::WizardCommand::Cancel);
        else
            QTimer::singleShot(0, [shot] { Step(shot + 1); });
        return;
    }
    if (index == kPreviewPage) ScrollToLargestAlphaImage(*sheet);
    Save(sheet, QLatin1String(kPageNames.at(index)));
    if (shot == 0) {
        sheet->PressButton(zentro::WizardCommand::Help);
        if (zentro::HelpViewer* viewer = zentro::HelpViewer::Instance()) {
            Save(viewer, QStringLiteral("help"));
            viewer->close();
        }
    }
    sheet->PressButton(zentro::WizardCommand::Next);
    if (sheet->GetActiveIndex() == index) {
        SaveQuestion();
        sheet->PressButton(zentro::WizardCommand::Cancel);
        return;
    }
    QTimer::singleShot(0, [shot] { Step(shot + 1); });
}

}  // namespace

int main(int argc, char** argv) {
    const bool preview = argc >= 4 && std::string(argv[1]) == "--preview";
    gClickPalettes = preview && argc == 5 && std::string(argv[4]) == "--palettes";
    if (argc < 2 || argc > 3 + int(preview) + int(gClickPalettes)) {
        std::fprintf(stderr,
                     "usage: zentro_screenshot_tour OUTDIR [BITMAP]\n"
                     "       zentro_screenshot_tour --preview FILE.png PICTURE [--palettes]\n");
        return 2;
    }
    if (preview) {
        gPreviewFile = QString::fromLocal8Bit(argv[2]);
        argv[2] = argv[3];
        argc = 3;
    } else {
        gFolder = QString::fromLocal8Bit(argv[1]);
        QDir().mkpath(gFolder);
    }
    zentro::CBmpIconApp app;
    if (argc == 3) app.SetArguments({argv[2]});
    int qtArgc = 1;
    QApplication qt(qtArgc, argv);
    zentro::PrepareGui(qt);
    QTimer::singleShot(0, [] { Step(0); });
    app.InitInstance();
    return 0;
}
