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

CInputPage::CInputPage(const Rect* pageRect, std::string* outputPath, int* use32, int* transparent,
                       std::array<int, kSizeCount>* sizes)
    : CBmpPropertyPage(InputTemplate(), pageRect),
      outputPath_(outputPath),
      use32_(use32),
      transparent_(transparent),
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
    // A picture with alpha, or one framed in one colour and so meant to be keyed,
    // is worth its 32-bit images with alpha. The picture of the largest size tells.
    *transparent_ = TransparentByDefault(store, kSizeTable.front()) ? 1 : 0;
    *use32_ = *transparent_;
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
