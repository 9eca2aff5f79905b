#include "pages/input_page.h"

#include "app/bmp_icon_app.h"
#include "app/picture_file.h"
#include "job/source_choice.h"
#include "pages/control_ids.h"
#include "pages/open_bitmap_dialog.h"
#include "platform/file_drop.h"
#include "platform/message.h"
#include "platform/path.h"
#include "platform/string_table.h"

namespace zentro {

namespace {

DialogTemplate InputTemplate() {
    return {106,
            "Ikoblen - 输入文件",
            210,
            205,
            {
                {ControlKind::Text, kStaticId, "选择您希望创建图标的位图文件：", 7, 7, 178, 8},
                {ControlKind::Edit, kBitmapPathEdit, "", 7, 17, 196, 14, kTabStop},
                {ControlKind::PushButton, kBrowseButton, "浏览(&B)...", 7, 36, 50, 14, kTabStop},
            }};
}

}  // namespace

CInputPage::CInputPage(const Rect* pageRect, std::string* outputPath, int* png256, FormatChoices* format,
                       std::array<int, kSizeCount>* sizes)
    : CBmpPropertyPage(InputTemplate(), pageRect),
      outputPath_(outputPath),
      png256_(png256),
      format_(format),
      sizes_(sizes) {
    OnClicked(kBrowseButton, [this] { BrowseForBitmap(Handle(), pathEdit_); });
}

bool CInputPage::OnSetActive() {
    GetParentSheet()->SetWizardButtons(kWizNext);
    return CBmpPropertyPage::OnSetActive();
}

int CInputPage::OnWizardNext() {
    // The exchange stores the edit only after this handler: read the control.
    const std::string text = pathEdit_.Text();
    if (text.empty()) {
        ShowMessage(IDS_NO_FILE_NAME, MessageIcon::Exclamation);
        return -1;
    }
    ImageStore& store = CBmpIconApp::Get().store;
    if (!LoadPictureFile(text, store)) return -1;

    *outputPath_ = ProposeIconPath(text);
    if (!IsClassicBitmapFile(text)) {
        PresetToday(store);
        return CBmpPropertyPage::OnWizardNext();
    }
    store.rules = {};
    if (todaysPresets_) {
        // Back to the classic wizard's own presets.
        const FormatChoices classic;
        format_->use24 = classic.use24;
        format_->use4 = classic.use4;
        format_->use8 = classic.use8;
        *sizes_ = SizeChoices{}.sizes;
        *png256_ = 0;
        todaysPresets_ = false;
    }
    // A picture with alpha, or one framed in one colour and so meant to be keyed,
    // is worth its 32-bit images with alpha. The picture of the largest size tells.
    format_->transparent = TransparentByDefault(store, kSizeTable.front()) ? 1 : 0;
    format_->use32 = format_->transparent;
    // An icon of several sizes gives its own sizes, as on the command line,
    // where the Sizes page has a box for each of them.
    if (const std::vector<int> own = SizesOfPictures(store); !own.empty()) {
        std::array<int, kSizeCount> flags = *sizes_;
        std::vector<int> others;
        ChooseSizes(own, flags, others);
        if (others.empty()) *sizes_ = flags;
    }
    return CBmpPropertyPage::OnWizardNext();
}

void CInputPage::PresetToday(ImageStore& store) {
    store.rules = ConversionRules::Today();
    // The command line's default sizes: those the pictures make of the ones they
    // suggest, or of the usual ones, as far as the Sizes page has boxes for them.
    std::array<int, kSizeCount> flags = SizeChoices{}.sizes;
    std::vector<int> others;
    if (const std::vector<int> own = SizesOfPictures(store); !own.empty()) ChooseSizes(own, flags, others);
    std::vector<int> chosen;
    for (int t = 0; t < kSizeCount; ++t)
        if (flags[t] != 0) chosen.push_back(kSizeTable[t]);
    // A picture smaller than every box keeps the boxes as they are: the build then says why.
    const std::vector<int> made = SizesThatFit(store, chosen);
    if (others.empty()) ChooseSizes(made, flags, others);
    if (others.empty()) *sizes_ = flags;
    const int largest = made.empty() ? kSizeTable.front() : made.front();
    // Transparent as far as the picture calls for it, as on the command line; a box
    // checked by hand on a picture that does not call for it asks for the key.
    const bool byDefault = TransparentByDefault(store, largest);
    store.rules.keyed = byDefault ? ConversionRules::Keyed::Framed : ConversionRules::Keyed::Every;
    *format_ = FormatChoices{0, 0, 0, 1, byDefault ? 1 : 0};
    *png256_ = 1;
    todaysPresets_ = true;
}

void CInputPage::OnInitDialog() {
    CBmpPropertyPage::OnInitDialog();
    // A bitmap dropped anywhere on the page counts as its path typed in.
    AcceptDroppedFile(Handle(), pathEdit_);
}

void CInputPage::DoDataExchange(DataExchange& dx) {
    DDX_Text(dx, kBitmapPathEdit, path);
    DDX_Control(dx, kBitmapPathEdit, pathEdit_);
}

}  // namespace zentro
