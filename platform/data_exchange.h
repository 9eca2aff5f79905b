#pragma once
// Dialog data exchange: one DoDataExchange per page moves values between its
// members and its controls, loading (members -> controls) or saving
// (controls -> members, with checks). A check that fails calls Fail(), which
// ends the exchange at once, puts the focus on the last control exchanged by
// value and keeps the user on the page.
#include <string>

#include "platform/controls.h"
#include "platform/window_handle.h"

namespace zentro {

class WizardPage;

class DataExchange {
public:
    DataExchange(WizardPage& page, bool saveAndValidate) : page_(page), saveAndValidate_(saveAndValidate) {}

    bool SaveAndValidate() const { return saveAndValidate_; }
    WizardPage& Page() const { return page_; }

    // The control `id`, remembered as the one to focus if the exchange fails.
    WindowHandle PrepareControl(int id);
    // Ends the exchange as failed; never returns.
    [[noreturn]] void Fail();

private:
    WizardPage& page_;
    bool saveAndValidate_;
    WindowHandle lastControl_ = nullptr;
};

// Thrown by DataExchange::Fail and caught by WizardPage::UpdateData.
struct DataExchangeFailure {};

// Check box `id` <-> value (0 clear, 1 checked, 2 indeterminate).
void DDX_Check(DataExchange& dx, int id, int& value);
// Edit `id` <-> value (UTF-8).
void DDX_Text(DataExchange& dx, int id, std::string& value);

// Binds `control` to the template's control `id` on the first exchange; later
// exchanges leave it as it is. The template's control must be of that kind.
void DDX_Control(DataExchange& dx, int id, Edit& control);
void DDX_Control(DataExchange& dx, int id, CheckBox& control);
void DDX_Control(DataExchange& dx, int id, PushButton& control);
void DDX_Control(DataExchange& dx, int id, ScrollBar& control);
void DDX_Control(DataExchange& dx, int id, Static& control);

// What a data exchange expects of a template's control.
enum class ControlClass { Any, Edit, CheckBox, PushButton, ScrollBar, Static };

// Each platform gives the page's control `id`, which must be of `kind`. A page
// that names a control it does not have is a programming error that no user can
// recover from: the platform says which control and stops the program.
WindowHandle RequireControl(const WizardPage& page, int id, ControlClass kind);

}  // namespace zentro
