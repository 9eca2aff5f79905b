#include "pages/sizes_page.h"

#include <algorithm>

#include "app/bmp_icon_app.h"
#include "app/picture_file.h"
#include "job/image_set_builder.h"
#include "pages/control_ids.h"
#include "pages/format_page.h"
#include "pages/open_bitmap_dialog.h"
#include "platform/file_drop.h"
#include "platform/message.h"
#include "platform/string_table.h"
#include "platform/worker_run.h"

namespace zentro {

namespace {

DialogTemplate SizesTemplate() {
    return {
        109,
        "Ikoblen - 大小",
        210,
        205,
        {
            {ControlKind::AutoCheckBox, kSize256Box, "2&56x256", 7, 22, 43, 10, kTabStop},
            {ControlKind::AutoCheckBox, kOnlyOne256Box, "仅包含一个 256x256 的设备图像(&O)", 17, 37, 141, 10, kTabStop},
            {ControlKind::AutoCheckBox, kSize48Box, "&48x48", 7, 52, 35, 10, kTabStop},
            {ControlKind::AutoCheckBox, kSize32Box, "&32x32", 7, 67, 35, 10, kTabStop},
            {ControlKind::AutoCheckBox, kSize24Box, "&24x24", 7, 82, 35, 10, kTabStop},
            {ControlKind::AutoCheckBox, kSize16Box, "&16x16", 7, 97, 35, 10, kTabStop},
            {ControlKind::Text, kStaticId, "选择你想要图片的大小：", 7, 7, 149, 8},
            {ControlKind::AutoCheckBox, kUse16BitmapBox, "以下为 16x16 大小的图片使用：(&I)", 17, 112, 141, 10,
             kTabStop},
            {ControlKind::Edit, kBitmapPathEdit, "", 17, 127, 131, 14, kTabStop},
            {ControlKind::PushButton, kBrowseButton, "浏览(&B)...", 153, 127, 50, 14, kTabStop},
        }};
}

}  // namespace

CSizesPage::CSizesPage(const Rect* pageRect, CFormatPage* formatPage)
    : CBmpPropertyPage(SizesTemplate(), pageRect), formatPage_(formatPage) {
    OnClicked(kSize256Box, [this] { UpdateEnabling(); });
    OnClicked(kSize16Box, [this] { UpdateEnabling(); });
    OnClicked(kUse16BitmapBox, [this] { UpdateEnabling(); });
    OnClicked(kBrowseButton, [this] { BrowseForBitmap(Handle(), pathEdit_); });
}

bool CSizesPage::OnSetActive() {
    // Back and Next stay as the neighbouring page set them.
    leavingForward_ = false;
    return CBmpPropertyPage::OnSetActive();
}

int CSizesPage::OnWizardBack() {
    leavingForward_ = false;
    return CBmpPropertyPage::OnWizardBack();
}

int CSizesPage::OnWizardNext() {
    leavingForward_ = true;
    return CBmpPropertyPage::OnWizardNext();
}

void CSizesPage::OnInitDialog() {
    CBmpPropertyPage::OnInitDialog();
    // The edit alone takes a drop: a file dropped beside the size boxes says
    // nothing about being meant for the 16 x 16 images.
    AcceptDroppedFile(pathEdit_.Handle(), pathEdit_);
}

void CSizesPage::DoDataExchange(DataExchange& dx) {
    DDX_Check(dx, kOnlyOne256Box, choices.onlyOne256);
    DDX_Check(dx, kUse16BitmapBox, choices.use16Bitmap);
    DDX_Text(dx, kBitmapPathEdit, choices.bitmap16Path);
    DDX_Control(dx, kSize16Box, box16_);
    DDX_Control(dx, kSize256Box, box256_);
    DDX_Control(dx, kOnlyOne256Box, onlyOne256Box_);
    DDX_Check(dx, kSize256Box, choices.sizes[0]);
    DDX_Check(dx, kSize48Box, choices.sizes[1]);
    DDX_Check(dx, kSize32Box, choices.sizes[2]);
    DDX_Check(dx, kSize24Box, choices.sizes[3]);
    DDX_Check(dx, kSize16Box, choices.sizes[4]);
    DDX_Control(dx, kUse16BitmapBox, use16BitmapBox_);
    DDX_Control(dx, kBitmapPathEdit, pathEdit_);
    DDX_Control(dx, kBrowseButton, browseButton_);

    if (!dx.SaveAndValidate()) {
        UpdateEnabling();
        return;
    }
    if (!leavingForward_) return;
    if (std::all_of(choices.sizes.begin(), choices.sizes.end(), [](int size) { return size == 0; })) {
        ShowMessage(IDS_NO_SIZE, MessageIcon::Exclamation);
        dx.Fail();
    }
    if (!BuildImages()) dx.Fail();
}

void CSizesPage::UpdateEnabling() {
    const bool with16 = box16_.IsChecked();
    // The second box counts only while the first allows it.
    const bool separate16 = with16 && use16BitmapBox_.IsChecked();
    onlyOne256Box_.Enable(box256_.IsChecked());
    use16BitmapBox_.Enable(with16);
    pathEdit_.Enable(separate16);
    browseButton_.Enable(separate16);
}

bool CSizesPage::BuildImages() {
    ImageStore& store = CBmpIconApp::Get().store;
    FormatChoices& format = formatPage_->choices;
    // Large sources take seconds: the sheet keeps painting meanwhile.
    return RunOnWorkerThread(Handle(),
                             [&] { return BuildImageSet(store, format, choices, {}, SixteenPictureReader()); });
}

}  // namespace zentro
