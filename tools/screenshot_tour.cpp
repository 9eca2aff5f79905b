// Walks the wizard headless and saves a picture of every page, of the help
// viewer and of a Yes/No message box: zentro_screenshot_tour OUTDIR [BITMAP]
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "app/bmp_icon_app.h"
#include "platform/qt/html_help.h"
#include "platform/qt/wizard_page.h"
#include "platform/qt/wizard_sheet.h"
#include "platform/message.h"
#include "platform/string_table.h"

namespace {

QString gFolder;

void Save(QWidget* window, const QString& name) {
    const QString path = gFolder + QLatin1Char('/') + name + QStringLiteral(".png");
    if (window->grab().save(path))
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

void Step(int shot) {
    auto* sheet = qobject_cast<zentro::WizardSheet*>(QApplication::activeModalWidget());
    if (sheet == nullptr) return;
    const int index = sheet->GetActiveIndex();
    Save(sheet, QStringLiteral("page-%1").arg(shot));
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
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: zentro_screenshot_tour OUTDIR [BITMAP]\n");
        return 2;
    }
    gFolder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(gFolder);
    zentro::CBmpIconApp app;
    if (argc == 3) app.SetArguments({QString::fromLocal8Bit(argv[2])});
    int qtArgc = 1;
    QApplication qt(qtArgc, argv);
    zentro::PrepareGui(qt);
    QTimer::singleShot(0, [] { Step(0); });
    app.InitInstance();
    return 0;
}
