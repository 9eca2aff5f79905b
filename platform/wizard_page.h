#pragma once
// One page of a wizard. A page is built from its template the first time it
// becomes active, and takes part in the sheet's protocol through the virtual
// members below:
//
//   Next:   OnWizardNext (-1 stays), then OnKillActive, which saves the data
//           exchange (a failed exchange stays), then the next page's OnSetActive.
//   Back:   OnWizardBack (-1 stays), then OnKillActive as for Next.
//   Finish: OnWizardFinish (false stays); no data exchange is run.
//   Activation: on first creation OnInitDialog loads the controls from the
//           members; every later OnSetActive loads them again, so values
//           written into a page's members from outside show when it is shown.
//
// A page that overrides OnSetActive sets its wizard buttons and then calls the
// base last, so that the reload follows its own work. The page's window and
// controls belong to the platform; the page reaches them through handles.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/data_exchange.h"
#include "platform/dialog_template.h"
#include "platform/property_sheet.h"
#include "platform/rect.h"
#include "platform/window_handle.h"

namespace zentro {

class WizardPage {
public:
    explicit WizardPage(DialogTemplate dialog);
    virtual ~WizardPage();
    WizardPage(const WizardPage&) = delete;
    WizardPage& operator=(const WizardPage&) = delete;

    const DialogTemplate& Template() const { return template_; }
    const std::string& Caption() const { return template_.caption; }
    // The page's own window. Use it once the page is created: a platform may
    // make the window only then (on Qt it exists from construction on, hidden).
    WindowHandle Handle() const { return window_; }
    // The sheet the page was added to; null before.
    PropertySheet* GetParentSheet() const { return sheet_; }
    // The control with this id; null before the page is created or for an unknown id.
    WindowHandle GetDlgItem(int id) const;
    bool IsCreated() const { return created_; }
    // Moves the page within its sheet.
    void MoveWindow(const Rect& where);

    // Runs DoDataExchange; false when it failed (the focus is then on the failing control).
    bool UpdateData(bool saveAndValidate = true);

    // --- the wizard protocol, called by the sheet ---
    // False refuses the activation: the sheet goes on to the next page in the same direction.
    virtual bool OnSetActive();
    // False keeps the page. The base saves the data exchange.
    virtual bool OnKillActive();
    // 0 goes on, -1 stays.
    virtual int OnWizardNext() { return 0; }
    virtual int OnWizardBack() { return 0; }
    // False stays on the page; true ends the wizard with Finish.
    virtual bool OnWizardFinish() { return true; }

    // What the user did to a horizontal scroll bar of the page, as a scroll
    // code (controls.h); `thumbPosition` counts for the thumb codes only.
    virtual void OnHScroll(int code, int thumbPosition);

    // Used by DDX_Control: `replacement` takes the place of control `id`,
    // with its place, visibility, enabled state and id.
    void ReplaceControl(int id, WindowHandle replacement);

    // --- called by the sheet ---
    // When the page is added to it.
    void SetParentSheet(PropertySheet& sheet) { sheet_ = &sheet; }
    // When the page is first activated, once the page's window sits in the
    // sheet: gives every control of the template a handle (making the controls
    // where the platform has not) and runs OnInitDialog.
    void Create();

protected:
    // Moves values between members and controls; the base exchanges nothing.
    virtual void DoDataExchange(DataExchange& dx);
    // Runs once, right after the controls are created; the base loads them.
    virtual void OnInitDialog();
    // Message map: `handler` runs when button or box `id` is clicked. Declare
    // entries in the constructor; they are connected when the controls exist.
    void OnClicked(int id, std::function<void()> handler);

private:
    // Where a platform's sheet makes the page's window itself (Windows), it
    // hands the window over and routes the page's notifications through this.
    friend struct WizardPageWindow;

    DialogTemplate template_;
    WindowHandle window_;
    PropertySheet* sheet_ = nullptr;
    bool created_ = false;
    bool firstSetActive_ = true;
    std::map<int, WindowHandle> controls_;
    std::vector<std::pair<int, std::function<void()>>> clickHandlers_;
};

}  // namespace zentro
