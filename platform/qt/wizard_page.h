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
// base last, so that the reload follows its own work.
#include <QWidget>
#include <functional>
#include <map>
#include <vector>

#include "platform/qt/data_exchange.h"
#include "platform/qt/dialog_template.h"

namespace zentro {

class WizardSheet;

class WizardPage : public QWidget {
    Q_OBJECT

public:
    explicit WizardPage(DialogTemplate dialog);
    ~WizardPage() override;

    const DialogTemplate& Template() const { return template_; }
    QString Caption() const { return QString::fromStdString(template_.caption); }
    // The sheet the page was added to; null before.
    WizardSheet* GetParentSheet() const { return sheet_; }
    // The control with this id; null before the page is created or for an unknown id.
    QWidget* GetDlgItem(int id) const;
    bool IsCreated() const { return created_; }

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

    // Used by DDX_Control: `replacement` takes the place of control `id`.
    void ReplaceControl(int id, QWidget& replacement);

protected:
    // Moves values between members and controls; the base exchanges nothing.
    virtual void DoDataExchange(DataExchange& dx);
    // Runs once, right after the controls are created; the base loads them.
    virtual void OnInitDialog();
    // Message map: `handler` runs when button or box `id` is clicked. Declare
    // entries in the constructor; they are connected when the controls exist.
    void OnClicked(int id, std::function<void()> handler);

private:
    friend class WizardSheet;
    // Called by the sheet when the page is first activated.
    void Create(WizardSheet& sheet, const QRect& where);
    QWidget* CreateControl(const ControlTemplate& control);

    DialogTemplate template_;
    WizardSheet* sheet_ = nullptr;
    bool created_ = false;
    bool firstSetActive_ = true;
    std::map<int, QWidget*> controls_;
    std::vector<std::pair<int, std::function<void()>>> clickHandlers_;
};

}  // namespace zentro
