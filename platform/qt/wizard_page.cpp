#include "platform/qt/wizard_page.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "platform/qt/dialog_units.h"
#include "platform/qt/wizard_sheet.h"

namespace zentro {

WizardPage::WizardPage(DialogTemplate dialog) : template_(std::move(dialog)) {
    // Only the sheet shows a page, when it becomes active.
    hide();
}

WizardPage::~WizardPage() = default;

QWidget* WizardPage::GetDlgItem(int id) const {
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

void WizardPage::DoDataExchange(DataExchange&) {}

void WizardPage::OnInitDialog() { UpdateData(false); }

void WizardPage::OnClicked(int id, std::function<void()> handler) {
    clickHandlers_.emplace_back(id, std::move(handler));
}

void WizardPage::ReplaceControl(int id, QWidget& replacement) {
    QWidget* control = GetDlgItem(id);
    if (control == nullptr) qFatal("page %d has no control with id %d to replace", template_.id, id);
    replacement.setParent(this);
    replacement.setObjectName(control->objectName());
    replacement.setGeometry(control->geometry());
    replacement.setEnabled(control->isEnabled());
    replacement.setVisible(!control->isHidden());
    replacement.stackUnder(control);
    controls_[id] = &replacement;
    delete control;
}

void WizardPage::Create(WizardSheet& sheet, const QRect& where) {
    setParent(&sheet);
    setGeometry(where);
    const DialogUnits units(font());
    for (const ControlTemplate& control : template_.controls) {
        QWidget* widget = CreateControl(control);
        widget->setGeometry(units.ToPixels(control.x, control.y, control.width, control.height));
        widget->setEnabled((control.style & kDisabled) == 0);
        widget->setVisible((control.style & kHidden) == 0);
        if (control.id == kStaticId) continue;
        // The id as the object name lets tests and tools find the control.
        widget->setObjectName(QString::number(control.id));
        controls_.emplace(control.id, widget);
    }
    for (const auto& [id, handler] : clickHandlers_)
        if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id)))
            connect(button, &QAbstractButton::clicked, this, handler);
    created_ = true;
    OnInitDialog();
}

QWidget* WizardPage::CreateControl(const ControlTemplate& control) {
    const QString text = QString::fromStdString(control.text);
    QWidget* widget = nullptr;
    switch (control.kind) {
        case ControlKind::Text: {
            auto* label = new QLabel(text, this);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            break;
        }
        case ControlKind::Icon: widget = new QLabel(this); break;
        case ControlKind::Edit: widget = new QLineEdit(this); break;
        case ControlKind::PushButton: widget = new QPushButton(text, this); break;
        case ControlKind::AutoCheckBox: widget = new QCheckBox(text, this); break;
        case ControlKind::HScrollBar: widget = new QScrollBar(Qt::Horizontal, this); break;
    }
    const bool takesFocus = control.kind != ControlKind::Text && control.kind != ControlKind::Icon;
    widget->setFocusPolicy(!takesFocus ? Qt::NoFocus : (control.style & kTabStop) ? Qt::StrongFocus : Qt::ClickFocus);
    return widget;
}

}  // namespace zentro
