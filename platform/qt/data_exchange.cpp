#include "platform/qt/data_exchange.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "platform/qt/window_handle.h"
#include "platform/wizard_page.h"

namespace zentro {

namespace {

// A page that names a control it does not have is a programming error that
// no user can recover from: say which one and stop.
QWidget* RequireControl(const WizardPage& page, int id, const char* expectedType) {
    QWidget* control = AsWidget(page.GetDlgItem(id));
    if (control == nullptr || !control->inherits(expectedType))
        qFatal("page %d has no %s with id %d", page.Template().id, expectedType, id);
    return control;
}

void Bind(DataExchange& dx, int id, Control& control, const char* expectedType) {
    if (!control.IsBound()) control.Attach(HandleOf(RequireControl(dx.Page(), id, expectedType)));
}

}  // namespace

WindowHandle DataExchange::PrepareControl(int id) {
    lastControl_ = HandleOf(RequireControl(page_, id, "QWidget"));
    return lastControl_;
}

void DataExchange::Fail() {
    if (saveAndValidate_ && lastControl_ != nullptr) {
        QWidget* control = AsWidget(lastControl_);
        control->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
    }
    throw DataExchangeFailure{};
}

void DDX_Check(DataExchange& dx, int id, int& value) {
    CheckBox box;
    box.Attach(HandleOf(RequireControl(dx.Page(), id, "QCheckBox")));
    dx.PrepareControl(id);
    if (dx.SaveAndValidate()) {
        value = box.Check();
        return;
    }
    if (value < 0 || value > 2) value = 0;
    box.SetCheck(value);
}

void DDX_Text(DataExchange& dx, int id, std::string& value) {
    Edit edit;
    edit.Attach(HandleOf(RequireControl(dx.Page(), id, "QLineEdit")));
    dx.PrepareControl(id);
    if (dx.SaveAndValidate())
        value = edit.Text();
    else
        edit.SetText(value);
}

void DDX_Control(DataExchange& dx, int id, Edit& control) { Bind(dx, id, control, "QLineEdit"); }
void DDX_Control(DataExchange& dx, int id, CheckBox& control) { Bind(dx, id, control, "QCheckBox"); }
void DDX_Control(DataExchange& dx, int id, PushButton& control) { Bind(dx, id, control, "QPushButton"); }
void DDX_Control(DataExchange& dx, int id, ScrollBar& control) { Bind(dx, id, control, "QScrollBar"); }
void DDX_Control(DataExchange& dx, int id, Static& control) { Bind(dx, id, control, "QLabel"); }

QWidget* BoundControl(DataExchange& dx, int id, const char* expectedType) {
    return RequireControl(dx.Page(), id, expectedType);
}

void DDX_Control(DataExchange& dx, int id, QWidget& replacement) {
    if (replacement.parentWidget() == AsWidget(dx.Page().Handle())) return;
    dx.Page().ReplaceControl(id, HandleOf(&replacement));
}

}  // namespace zentro
