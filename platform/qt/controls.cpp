#include "platform/controls.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "platform/qt/window_handle.h"

namespace zentro {

namespace {

template <class W>
W* Widget(WindowHandle window) {
    return static_cast<W*>(AsWidget(window));
}

}  // namespace

void Control::Enable(bool enabled) { AsWidget(window_)->setEnabled(enabled); }

void Control::Show(bool visible) { AsWidget(window_)->setVisible(visible); }

std::string Edit::Text() const { return Widget<QLineEdit>(Handle())->text().toStdString(); }

void Edit::SetText(const std::string& text) { Widget<QLineEdit>(Handle())->setText(QString::fromStdString(text)); }

int CheckBox::Check() const {
    const Qt::CheckState state = Widget<QCheckBox>(Handle())->checkState();
    return state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
}

void CheckBox::SetCheck(int state) {
    Widget<QCheckBox>(Handle())->setCheckState(state == 1   ? Qt::Checked
                                               : state == 2 ? Qt::PartiallyChecked
                                                            : Qt::Unchecked);
}

void ScrollBar::SetRange(int minimum, int maximum) {
    auto* bar = Widget<QScrollBar>(Handle());
    bar->setRange(minimum, maximum);
    bar->setPageStep(1);
    bar->setSingleStep(1);
}

int ScrollBar::Maximum() const { return Widget<QScrollBar>(Handle())->maximum(); }

void ScrollBar::SetPos(int position) { Widget<QScrollBar>(Handle())->setValue(position); }

void Static::SetWarningIcon() {
    auto* label = Widget<QLabel>(Handle());
    const int side = std::min(label->width(), label->height());
    label->setPixmap(label->style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(side, side));
}

}  // namespace zentro
