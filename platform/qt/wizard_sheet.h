#pragma once
// A modal property sheet in wizard mode: the pages one at a time above a row
// of buttons "< 上一步(&B)", "下一步(&N) >" (or "完成" when a page asks for
// Finish), "取消" and "帮助". The window title is the active page's caption.
// Enter presses Next or Finish, Escape and closing the window cancel, F1 and
// the Help button ask the application for help. See wizard_page.h for the
// order in which pages are called.
#include <QDialog>
#include <QPointer>
#include <vector>

#include "platform/property_sheet.h"

class QPushButton;

namespace zentro {

class WizardSheet : public QDialog, public PropertySheet {
    Q_OBJECT

public:
    explicit WizardSheet(QWidget* parent = nullptr);
    ~WizardSheet() override;

    // Pages appear in the order they are added; the first added is shown first.
    // The sheet does not own them; they must outlive the wizard run.
    void AddPage(WizardPage* page);
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    WizardPage* GetPage(int index) const;
    // The page's position, or -1 for a page not in this sheet.
    int GetPageIndex(const WizardPage* page) const override;
    WizardPage* GetActivePage() const { return GetPage(active_); }
    int GetActiveIndex() const { return active_; }
    // Hidden in wizard mode; it marks where pages are placed when they are created.
    QWidget* GetTabControl() const { return tabControl_; }
    QPushButton* Button(WizardCommand command) const;

    void SetWizardButtons(unsigned flags) override;
    // Acts as if the button were clicked (nothing when it is hidden or disabled).
    void PressButton(WizardCommand command);

    // Runs the wizard modally: kWizardFinished or kWizardCancelled.
    int DoModal();
    // Shows the wizard without a modal loop; result() tells how it ended.
    void Create();
    // Cancel: ends the wizard with kWizardCancelled.
    void reject() override;

protected:
    // Lays out the sheet and activates the first page. Overrides call the
    // base first and add their own windows afterwards.
    virtual bool OnInitDialog();

private:
    void Build();
    void Back();
    void Next();
    void Finish();
    void Help();
    // Activates the first page from `index` on, stepping by `step`, that
    // accepts; false when none does.
    bool ActivateFrom(int index, int step);

    struct Entry {
        WizardPage* page;
        // Null once the page is gone: the sheet then leaves it alone.
        QPointer<QWidget> window;
    };
    std::vector<Entry> pages_;
    int active_ = -1;
    bool built_ = false;
    QWidget* tabControl_;
    QPushButton* back_;
    QPushButton* next_;
    QPushButton* finish_;
    QPushButton* cancel_;
    QPushButton* help_;
};

}  // namespace zentro
