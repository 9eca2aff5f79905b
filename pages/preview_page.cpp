#include "pages/preview_page.h"

#include "platform/qt/wizard_sheet.h"

namespace zentro {

namespace {

enum : int { kPreview = 1043, kScrollBar = 1044 };

DialogTemplate PreviewTemplate() {
    return {110, "Ikoblen - 预览", 245, 248,
            {
                {ControlKind::Text, kStaticId, "预览：", 9, 2, 28, 11},
                {ControlKind::Text, kPreview, "", 8, 12, 183, 180},
                {ControlKind::HScrollBar, kScrollBar, "", 7, 195, 184, 12},
            }};
}

}  // namespace

CPreviewPage::CPreviewPage(const QRect* pageRect) : CBmpPropertyPage(PreviewTemplate(), pageRect) {}

bool CPreviewPage::OnSetActive() {
    GetParentSheet()->SetWizardButtons(kWizBack | kWizNext);
    return CBmpPropertyPage::OnSetActive();
}

}  // namespace zentro
