#include "pages/input_page.h"

#include "platform/qt/wizard_sheet.h"

namespace zentro {

namespace {

enum : int { kPathEdit = 1014, kBrowseButton = 1002 };

DialogTemplate InputTemplate() {
    return {106, "Ikoblen - 输入文件", 210, 205,
            {
                {ControlKind::Text, kStaticId, "选择您希望创建图标的位图文件：", 7, 7, 178, 8},
                {ControlKind::Edit, kPathEdit, "", 7, 17, 196, 14, kTabStop},
                {ControlKind::PushButton, kBrowseButton, "浏览(&B)...", 7, 36, 50, 14, kTabStop},
            }};
}

}  // namespace

CInputPage::CInputPage(const QRect* pageRect, std::string* outputPath, int* use32, int* transparent)
    : CBmpPropertyPage(InputTemplate(), pageRect), outputPath_(outputPath), use32_(use32), transparent_(transparent) {}

bool CInputPage::OnSetActive() {
    GetParentSheet()->SetWizardButtons(kWizNext);
    return CBmpPropertyPage::OnSetActive();
}

void CInputPage::DoDataExchange(DataExchange& dx) {
    DDX_Text(dx, kPathEdit, path);
    DDX_Control(dx, kPathEdit, pathEdit_);
}

}  // namespace zentro
