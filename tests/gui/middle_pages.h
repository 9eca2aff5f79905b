#pragma once
// The middle of the wizard, Format, Sizes and Preview, with the source picture
// put straight into the image store, as the Input page would have loaded it.
// Every message goes to `messages`.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/bmp_icon_app.h"
#include "page_widgets.h"
#include "pages/control_ids.h"
#include "pages/format_page.h"
#include "pages/preview_page.h"
#include "pages/sizes_page.h"
#include "platform/qt/banner_sheet.h"
#include "support/message_recorder.h"

namespace zentro::test {

struct MiddlePages {
    enum : int { kFormat = 0, kSizes = 1, kPreview = 2 };

    CBmpIconApp application;
    MessageRecorder messages;
    Rect pageRect;
    BannerSheet sheet{pageRect};
    CFormatPage format{&pageRect};
    CSizesPage sizes{&pageRect, &format};
    CPreviewPage preview{&pageRect};

    MiddlePages() {
        sheet.AddPage(&format);
        sheet.AddPage(&sizes);
        sheet.AddPage(&preview);
    }

    ImageStore& Store() { return application.store; }

    // Shows the sheet and goes on to the Sizes page.
    void OpenAtSizes() {
        sheet.Create();
        sheet.PressButton(WizardCommand::Next);
    }
    void Next() { sheet.PressButton(WizardCommand::Next); }
    void Back() { sheet.PressButton(WizardCommand::Back); }
    int ActiveIndex() const { return sheet.GetActiveIndex(); }

    QCheckBox* Box(int id) const { return DlgItem<QCheckBox>(sizes, id); }
    QLineEdit* PathEdit() const { return DlgItem<QLineEdit>(sizes, kBitmapPathEdit); }
    QPushButton* BrowseButton() const { return DlgItem<QPushButton>(sizes, kBrowseButton); }
    // Sets the size boxes 256, 48, 32, 24, 16 as a user would, by clicking.
    void ChooseSizes(std::array<bool, kSizeCount> wanted) const {
        constexpr std::array<int, kSizeCount> kIds = {kSize256Box, kSize48Box, kSize32Box, kSize24Box, kSize16Box};
        for (int t = 0; t < kSizeCount; ++t)
            if (Box(kIds[t])->isChecked() != wanted[t]) Box(kIds[t])->click();
    }
};

}  // namespace zentro::test
