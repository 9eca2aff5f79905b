#include "platform/wizard_page.h"

namespace zentro {

WindowHandle WizardPage::GetDlgItem(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

bool WizardPage::UpdateData(bool saveAndValidate) {
    DataExchange dx(*this, saveAndValidate);
    try {
        DoDataExchange(dx);
    } catch (const DataExchangeFailure&) {
        return false;
    }
    return true;
}

bool WizardPage::OnSetActive() {
    // Creation has just loaded the controls; later activations load them again.
    if (firstSetActive_)
        firstSetActive_ = false;
    else
        UpdateData(false);
    return true;
}

bool WizardPage::OnKillActive() { return UpdateData(true); }

void WizardPage::OnHScroll(int, int) {}

void WizardPage::DoDataExchange(DataExchange&) {}

void WizardPage::OnInitDialog() { UpdateData(false); }

void WizardPage::OnClicked(int id, std::function<void()> handler) {
    clickHandlers_.emplace_back(id, std::move(handler));
}

}  // namespace zentro
