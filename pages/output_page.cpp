#include "pages/output_page.h"

#include "platform/qt/wizard_sheet.h"

namespace zentro {

namespace {

enum : int { kPathEdit = 1019, kBrowseFolderButton = 1002 };

DialogTemplate OutputTemplate() {
    return {107, "Ikoblen - 输出文件", 210, 205,
            {
                {ControlKind::Text, kStaticId, "为新图标选择一个名称：", 7, 7, 101, 8},
                {ControlKind::Edit, kPathEdit, "", 7, 17, 196, 14, kTabStop},
                {ControlKind::PushButton, kBrowseFolderButton, "浏览文件夹(&B)...", 7, 36, 70, 14, kTabStop},
                {ControlKind::Text, kStaticId, "点击 \"完成\" 创建图标。", 7, 57, 102, 8},
            }};
}

}  // namespace

COutputPage::COutputPage(const QRect* pageRect) : CBmpPropertyPage(OutputTemplate(), pageRect) {}

bool COutputPage::OnSetActive() {
    GetParentSheet()->SetWizardButtons(kWizBack | kWizFinish);
    return CBmpPropertyPage::OnSetActive();
}

bool COutputPage::OnWizardFinish() {
    // Finish runs no data exchange: take the name from the edit itself.
    path = pathEdit_->text().toStdString();
    return CBmpPropertyPage::OnWizardFinish();
}

void COutputPage::DoDataExchange(DataExchange& dx) {
    DDX_Text(dx, kPathEdit, path);
    DDX_Control(dx, kPathEdit, pathEdit_);
}

}  // namespace zentro
