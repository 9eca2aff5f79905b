#include "platform/qt/wizard_sheet.h"

#include <QFrame>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>

#include "platform/application.h"
#include "platform/qt/dialog_units.h"
#include "platform/qt/window_handle.h"
#include "platform/wizard_page.h"

namespace zentro {

namespace {

// Layout of the sheet around the page area, in dialog units.
constexpr int kMargin = 7;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kButtonGap = 4;   // between Cancel and Help
constexpr int kCommandGap = 7;  // between Next/Finish and Cancel

void FocusFirstControl(QWidget* page, QWidget* fallback) {
    for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if ((child->focusPolicy() & Qt::TabFocus) && !child->isHidden() && child->isEnabled()) {
            child->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    fallback->setFocus(Qt::TabFocusReason);
}

}  // namespace

WizardSheet::WizardSheet(QWidget* parent)
    : QDialog(parent),
      tabControl_(new QWidget(this)),
      back_(new QPushButton(QString::fromUtf8(kBackText), this)),
      next_(new QPushButton(QString::fromUtf8(kNextText), this)),
      finish_(new QPushButton(QString::fromUtf8(kFinishText), this)),
      cancel_(new QPushButton(QString::fromUtf8(kCancelText), this)),
      help_(new QPushButton(QString::fromUtf8(kHelpText), this)) {
    setFont(DialogFont());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    tabControl_->hide();
    back_->setObjectName(QStringLiteral("back"));
    next_->setObjectName(QStringLiteral("next"));
    finish_->setObjectName(QStringLiteral("finish"));
    cancel_->setObjectName(QStringLiteral("cancel"));
    help_->setObjectName(QStringLiteral("help"));
    connect(back_, &QPushButton::clicked, this, &WizardSheet::Back);
    connect(next_, &QPushButton::clicked, this, &WizardSheet::Next);
    connect(finish_, &QPushButton::clicked, this, &WizardSheet::Finish);
    connect(cancel_, &QPushButton::clicked, this, &WizardSheet::reject);
    connect(help_, &QPushButton::clicked, this, &WizardSheet::Help);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, &WizardSheet::Help);
    SetWizardButtons(kWizBack | kWizNext);
}

WizardSheet::~WizardSheet() {
    // The pages belong to whoever created them, not to this window.
    for (const Entry& entry : pages_) {
        if (entry.window) {
            entry.window->hide();
            entry.window->setParent(nullptr);
        }
    }
}

void WizardSheet::AddPage(WizardPage* page) {
    pages_.push_back({page, AsWidget(page->Handle())});
    page->SetParentSheet(*this);
}

WizardPage* WizardSheet::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() && pages_[index].window ? pages_[index].page : nullptr;
}

int WizardSheet::GetPageIndex(const WizardPage* page) const {
    const auto found =
        std::find_if(pages_.begin(), pages_.end(), [page](const Entry& entry) { return entry.page == page; });
    return found == pages_.end() ? -1 : static_cast<int>(found - pages_.begin());
}

QPushButton* WizardSheet::Button(WizardCommand command) const {
    switch (command) {
        case WizardCommand::Back: return back_;
        case WizardCommand::Next: return next_;
        case WizardCommand::Finish: return finish_;
        case WizardCommand::Cancel: return cancel_;
        case WizardCommand::Help: return help_;
    }
    return nullptr;
}

void WizardSheet::SetWizardButtons(unsigned flags) {
    const bool finish = (flags & (kWizFinish | kWizDisabledFinish)) != 0;
    back_->setEnabled((flags & kWizBack) != 0);
    next_->setEnabled((flags & kWizNext) != 0);
    next_->setVisible(!finish);
    finish_->setEnabled((flags & kWizFinish) != 0);
    finish_->setVisible(finish);
    (finish ? finish_ : next_)->setDefault(true);
}

void WizardSheet::PressButton(WizardCommand command) {
    QPushButton* button = Button(command);
    if (!button->isHidden() && button->isEnabled()) button->click();
}

int WizardSheet::DoModal() {
    Build();
    return exec();
}

void WizardSheet::Create() {
    Build();
    show();
}

void WizardSheet::Build() {
    if (built_) return;
    built_ = true;
    const DialogUnits units(font());
    int pageWidth = 0;
    int pageHeight = 0;
    for (const Entry& entry : pages_) {
        pageWidth = std::max(pageWidth, units.ToPixelsX(entry.page->Template().width));
        pageHeight = std::max(pageHeight, units.ToPixelsY(entry.page->Template().height));
    }
    const int marginX = units.ToPixelsX(kMargin);
    const int marginY = units.ToPixelsY(kMargin);
    const int width = pageWidth + 2 * marginX;
    tabControl_->setGeometry(marginX, marginY, pageWidth, pageHeight);

    auto* line = new QFrame(this);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    const int lineTop = marginY + pageHeight + units.ToPixelsY(kMargin);
    line->setGeometry(marginX, lineTop, pageWidth, 2);

    const int buttonTop = lineTop + 2 + units.ToPixelsY(kMargin);
    const int buttonWidth = units.ToPixelsX(kButtonWidth);
    const int buttonHeight = units.ToPixelsY(kButtonHeight);
    const int helpLeft = width - marginX - buttonWidth;
    const int cancelLeft = helpLeft - units.ToPixelsX(kButtonGap) - buttonWidth;
    const int nextLeft = cancelLeft - units.ToPixelsX(kCommandGap) - buttonWidth;
    help_->setGeometry(helpLeft, buttonTop, buttonWidth, buttonHeight);
    cancel_->setGeometry(cancelLeft, buttonTop, buttonWidth, buttonHeight);
    next_->setGeometry(nextLeft, buttonTop, buttonWidth, buttonHeight);
    finish_->setGeometry(nextLeft, buttonTop, buttonWidth, buttonHeight);
    back_->setGeometry(nextLeft - buttonWidth, buttonTop, buttonWidth, buttonHeight);
    setFixedSize(width, buttonTop + buttonHeight + marginY);

    OnInitDialog();
}

bool WizardSheet::OnInitDialog() { return ActivateFrom(0, 1); }

bool WizardSheet::ActivateFrom(int index, int step) {
    for (int i = index; i >= 0 && i < GetPageCount(); i += step) {
        WizardPage* page = pages_[i].page;
        QWidget* window = AsWidget(page->Handle());
        if (!page->IsCreated()) {
            window->setParent(this);
            window->setGeometry(tabControl_->geometry());
            page->Create();
        }
        if (!page->OnSetActive()) continue;
        if (WizardPage* previous = GetActivePage(); previous != nullptr && previous != page)
            AsWidget(previous->Handle())->hide();
        active_ = i;
        window->show();
        setWindowTitle(QString::fromStdString(page->Caption()));
        FocusFirstControl(window, next_);
        return true;
    }
    return false;
}

void WizardSheet::Back() {
    WizardPage* page = GetActivePage();
    if (page == nullptr || active_ == 0) return;
    if (page->OnWizardBack() == -1 || !page->OnKillActive()) return;
    ActivateFrom(active_ - 1, -1);
}

void WizardSheet::Next() {
    WizardPage* page = GetActivePage();
    if (page == nullptr || active_ + 1 >= GetPageCount()) return;
    // The page checks first; only then is it asked to give up activation,
    // which saves its data exchange.
    if (page->OnWizardNext() == -1 || !page->OnKillActive()) return;
    ActivateFrom(active_ + 1, 1);
}

void WizardSheet::Finish() {
    WizardPage* page = GetActivePage();
    if (page != nullptr && page->OnWizardFinish()) done(kWizardFinished);
}

void WizardSheet::Help() {
    if (Application* application = Application::Current()) application->OnHelp();
}

void WizardSheet::reject() { done(kWizardCancelled); }

}  // namespace zentro
