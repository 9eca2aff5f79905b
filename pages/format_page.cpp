#include "pages/format_page.h"

#include "app/bmp_icon_app.h"
#include "pages/control_ids.h"
#include "platform/message.h"
#include "platform/string_table.h"

namespace zentro {

namespace {

DialogTemplate FormatTemplate() {
    return {108,
            "Ikoblen - 格式",
            210,
            205,
            {
                {ControlKind::Text, kStaticId, "选择您希望包括的颜色的深度：", 7, 7, 156, 8},
                {ControlKind::AutoCheckBox, kAlpha32Box, "32-位 用透明通道(&A)", 7, 22, 95, 10, kTabStop},
                {ControlKind::AutoCheckBox, kTrueColour24Box, "&24-位 (真彩色)", 7, 37, 73, 10, kTabStop},
                {ControlKind::AutoCheckBox, kPalette8Box, "&8-位 (256-色 调色板)", 7, 52, 92, 10, kTabStop},
                {ControlKind::AutoCheckBox, kPalette4Box, "&4-位 (16-色 调色板)", 7, 67, 88, 10, kTabStop},
                {ControlKind::AutoCheckBox, kTransparentBox, "透明(&T)", 7, 97, 59, 10, kTabStop},
                {ControlKind::Icon, kWarningIcon, "", 107, 17, 21, 20, kHidden},
                {ControlKind::Text, kWarningText, "否则将无法生成", 133, 23, 70, 8, kHidden},
                {ControlKind::Text, kStaticId, "精灵应该使部分图标变得透明吗?", 7, 82, 170, 8},
            }};
}

}  // namespace

CFormatPage::CFormatPage(const Rect* pageRect) : CBmpPropertyPage(FormatTemplate(), pageRect) {
    OnClicked(kAlpha32Box, [this] { UpdateWarning(); });
    OnClicked(kTransparentBox, [this] { UpdateWarning(); });
}

bool CFormatPage::OnSetActive() {
    GetParentSheet()->SetWizardButtons(kWizBack | kWizNext);
    return CBmpPropertyPage::OnSetActive();
}

int CFormatPage::OnWizardNext() {
    const bool canMakeOne = (box32_.IsChecked() && (transparentBox_.IsChecked() || Opaque32())) || box4_.IsChecked() ||
                            box8_.IsChecked() || box24_.IsChecked();
    if (!canMakeOne) {
        ShowMessage(IDS_NO_DEPTH, MessageIcon::Exclamation);
        return -1;
    }
    return CBmpPropertyPage::OnWizardNext();
}

void CFormatPage::DoDataExchange(DataExchange& dx) {
    DDX_Control(dx, kWarningText, warningText_);
    DDX_Control(dx, kWarningIcon, warningIcon_);
    DDX_Check(dx, kTrueColour24Box, choices.use24);
    DDX_Check(dx, kPalette4Box, choices.use4);
    DDX_Check(dx, kPalette8Box, choices.use8);
    DDX_Check(dx, kAlpha32Box, choices.use32);
    DDX_Check(dx, kTransparentBox, choices.transparent);
    DDX_Control(dx, kTransparentBox, transparentBox_);
    DDX_Control(dx, kAlpha32Box, box32_);
    DDX_Control(dx, kTrueColour24Box, box24_);
    DDX_Control(dx, kPalette8Box, box8_);
    DDX_Control(dx, kPalette4Box, box4_);
    UpdateWarning();
}

bool CFormatPage::Opaque32() { return CBmpIconApp::Get().store.rules.opaque32; }

void CFormatPage::UpdateWarning() {
    const bool show = box32_.IsChecked() && !transparentBox_.IsChecked() && !Opaque32();
    if (show) warningIcon_.SetWarningIcon();
    warningIcon_.Show(show);
    warningText_.Show(show);
}

}  // namespace zentro
