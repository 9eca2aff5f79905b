#include "platform/wizard_page.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "platform/qt/dialog_units.h"
#include "platform/qt/window_handle.h"

namespace zentro {

namespace {

QWidget* CreateControl(const ControlTemplate& control, QWidget* page) {
    const QString text = QString::fromStdString(control.text);
    QWidget* widget = nullptr;
    switch (control.kind) {
        case ControlKind::Text: {
            auto* label = new QLabel(text, page);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            break;
        }
        case ControlKind::Icon: widget = new QLabel(page); break;
        case ControlKind::Edit: widget = new QLineEdit(page); break;
        case ControlKind::PushButton: widget = new QPushButton(text, page); break;
        case ControlKind::AutoCheckBox: widget = new QCheckBox(text, page); break;
        case ControlKind::HScrollBar: widget = new QScrollBar(Qt::Horizontal, page); break;
    }
    const bool takesFocus = control.kind != ControlKind::Text && control.kind != ControlKind::Icon;
    widget->setFocusPolicy(!takesFocus ? Qt::NoFocus : (control.style & kTabStop) ? Qt::StrongFocus : Qt::ClickFocus);
    return widget;
}

// The scroll code an action on a scroll bar stands for; -1 for none.
int ScrollCodeOf(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub: return SB_LINELEFT;
        case QAbstractSlider::SliderSingleStepAdd: return SB_LINERIGHT;
        case QAbstractSlider::SliderPageStepSub: return SB_PAGELEFT;
        case QAbstractSlider::SliderPageStepAdd: return SB_PAGERIGHT;
        case QAbstractSlider::SliderToMinimum: return SB_LEFT;
        case QAbstractSlider::SliderToMaximum: return SB_RIGHT;
        // Qt has already moved the thumb: that is where a drag or the wheel took it.
        case QAbstractSlider::SliderMove: return SB_THUMBTRACK;
        default: return -1;
    }
}

}  // namespace

WizardPage::WizardPage(DialogTemplate dialog) : template_(std::move(dialog)), window_(HandleOf(new QWidget)) {
    // Only the sheet shows a page, when it becomes active.
    AsWidget(window_)->hide();
}

// The controls, and widgets put in their place, go with the page's window.
WizardPage::~WizardPage() { delete AsWidget(window_); }

void WizardPage::MoveWindow(const Rect& where) { AsWidget(window_)->setGeometry(ToQRect(where)); }

void WizardPage::ReplaceControl(int id, WindowHandle replacement) {
    QWidget* control = AsWidget(GetDlgItem(id));
    if (control == nullptr) qFatal("page %d has no control with id %d to replace", template_.id, id);
    QWidget* widget = AsWidget(replacement);
    widget->setParent(AsWidget(window_));
    widget->setObjectName(control->objectName());
    widget->setGeometry(control->geometry());
    widget->setEnabled(control->isEnabled());
    widget->setVisible(!control->isHidden());
    widget->stackUnder(control);
    controls_[id] = replacement;
    delete control;
}

void WizardPage::Create() {
    QWidget* page = AsWidget(window_);
    const DialogUnits units(page->font());
    for (const ControlTemplate& control : template_.controls) {
        QWidget* widget = CreateControl(control, page);
        widget->setGeometry(units.ToPixels(control.x, control.y, control.width, control.height));
        widget->setEnabled((control.style & kDisabled) == 0);
        widget->setVisible((control.style & kHidden) == 0);
        if (control.id == kStaticId) continue;
        // The id as the object name lets tests and tools find the control.
        widget->setObjectName(QString::number(control.id));
        controls_.emplace(control.id, HandleOf(widget));
        if (auto* bar = qobject_cast<QScrollBar*>(widget)) {
            QObject::connect(bar, &QAbstractSlider::actionTriggered, page, [this, bar](int action) {
                if (const int code = ScrollCodeOf(action); code >= 0) OnHScroll(code, bar->sliderPosition());
            });
            // Letting go of the thumb ends a drag where it was let go.
            QObject::connect(bar, &QAbstractSlider::sliderReleased, page, [this, bar] {
                OnHScroll(SB_THUMBPOSITION, bar->sliderPosition());
                OnHScroll(SB_ENDSCROLL, 0);
            });
        }
    }
    for (const auto& [id, handler] : clickHandlers_)
        if (auto* button = qobject_cast<QAbstractButton*>(AsWidget(GetDlgItem(id))))
            QObject::connect(button, &QAbstractButton::clicked, page, handler);
    created_ = true;
    OnInitDialog();
}

}  // namespace zentro
