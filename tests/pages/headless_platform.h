#pragma once
// The platform layer with no windows, so that the pages' logic is tested once
// for every toolkit and in every build. A control is a plain record; the sheet
// runs the wizard protocol as a test presses its buttons; the open and folder
// dialogs answer from a script, work runs inline and help requests are recorded.
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/property_sheet.h"
#include "platform/window_handle.h"

namespace zentro {

struct NativeWindow {
    ControlKind kind = ControlKind::Text;
    int id = kStaticId;
    std::string text;
    int check = 0;
    bool enabled = true;
    bool visible = true;
    int maximum = 0, position = 0;  // a scroll bar's, from 0
    bool warningIcon = false;
    NativeWindow* page = nullptr;
    std::vector<std::function<void()>> clicked;
    // A page's window: its controls and the one the user or a failed exchange put the focus on.
    std::vector<std::unique_ptr<NativeWindow>> children;
    NativeWindow* focus = nullptr;
};

}  // namespace zentro

namespace zentro::test {

class HeadlessSheet;

// What the platform's dialogs, help viewer and wizard runs meet; reset before each test.
struct HeadlessWorld {
    // One reply per open or folder dialog, in order: a path confirms, nullopt cancels.
    std::deque<std::optional<std::string>> dialogReplies;
    // Each dialog shown: "EXTENSION:FILTER" for an open dialog, "folder" for the folder dialog.
    std::vector<std::string> dialogsShown;
    std::vector<std::string> helpShown;
    // Run by RunBannerWizard on its sheet; a sheet it leaves open is cancelled.
    std::function<void(HeadlessSheet&)> wizardScript;
};
HeadlessWorld& World();

// A user's clicks and typing; a control the user could not reach fails the test.
void Click(WindowHandle control);
void Type(WindowHandle edit, const std::string& text);

class HeadlessSheet final : public PropertySheet {
public:
    // Adds the pages and activates the first that accepts.
    explicit HeadlessSheet(const std::vector<WizardPage*>& pages);

    void SetWizardButtons(unsigned flags) override { buttons_ = flags; }
    int GetPageIndex(const WizardPage* page) const override;

    // A button pressed as the user would: a disabled or hidden one does nothing.
    void Press(WizardCommand command);
    int ActiveIndex() const { return active_; }
    WizardPage& Active() const { return *pages_[active_]; }
    // The active page's control `id`; throws when there is none.
    NativeWindow& Control(int id) const;
    // kWizardFinished or kWizardCancelled once ended, 0 while running.
    int Result() const { return result_; }

private:
    bool ActivateFrom(int index, int step);

    std::vector<WizardPage*> pages_;
    int active_ = -1;
    unsigned buttons_ = 0;
    int result_ = 0;
};

}  // namespace zentro::test
