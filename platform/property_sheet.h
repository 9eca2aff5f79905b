#pragma once
// What a wizard page sees of the sheet it was added to. The sheet itself, a
// window with its buttons and the pages' area, belongs to the platform.

namespace zentro {

class WizardPage;

// Wizard buttons a page asks for.
enum WizardButtons : unsigned {
    kWizBack = 0x1,
    kWizNext = 0x2,
    kWizFinish = 0x4,          // Finish in place of Next
    kWizDisabledFinish = 0x8,  // Finish in place of Next, greyed
};

// How a wizard run ended.
enum WizardResult : int {
    kWizardCancelled = 2,
    kWizardFinished = 0x3025,
};

// The sheet's buttons, for PressButton and for finding them.
enum class WizardCommand { Back, Next, Finish, Cancel, Help };

// What the sheet's buttons say (UTF-8), on every platform.
constexpr const char* kBackText = "< 上一步(&B)";
constexpr const char* kNextText = "下一步(&N) >";
constexpr const char* kFinishText = "完成";
constexpr const char* kCancelText = "取消";
constexpr const char* kHelpText = "帮助";

class PropertySheet {
public:
    // Enables Back and Next and shows Finish in place of Next, by kWiz* flags.
    virtual void SetWizardButtons(unsigned flags) = 0;
    // The page's position, or -1 for a page not in this sheet.
    virtual int GetPageIndex(const WizardPage* page) const = 0;

protected:
    PropertySheet() = default;
    ~PropertySheet() = default;
    PropertySheet(const PropertySheet&) = default;
    PropertySheet& operator=(const PropertySheet&) = default;
};

}  // namespace zentro
