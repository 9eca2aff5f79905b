#include "app/bmp_property_page.h"

#include <cstdint>

#include "app/bmp_icon_app.h"

namespace zentro {

CBmpPropertyPage::CBmpPropertyPage(DialogTemplate dialog, const Rect* pageRect)
    : WizardPage(std::move(dialog)), pageRect_(pageRect) {}

bool CBmpPropertyPage::OnSetActive() {
    // The first page is activated before the sheet has made its rectangle;
    // the sheet moves that one itself.
    if (!pageRect_->IsNull()) MoveWindow(*pageRect_);
    CBmpIconApp::Get().store.currentPage = static_cast<std::uint8_t>(GetParentSheet()->GetPageIndex(this));
    return WizardPage::OnSetActive();
}

}  // namespace zentro
