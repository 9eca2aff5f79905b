#include "platform/qt/data_exchange.h"

#include <QLineEdit>

#include "platform/qt/window_handle.h"
#include "platform/wizard_page.h"

namespace zentro {

namespace {

const char* QtClassOf(ControlClass kind) {
    switch (kind) {
        case ControlClass::Any: break;
        case ControlClass::Edit: return "QLineEdit";
        case ControlClass::CheckBox: return "QCheckBox";
        case ControlClass::PushButton: return "QPushButton";
        case ControlClass::ScrollBar: return "QScrollBar";
        case ControlClass::Static: return "QLabel";
    }
    return "QWidget";
}

QWidget* RequireWidget(const WizardPage& page, int id, const char* expectedType) {
    QWidget* control = AsWidget(page.GetDlgItem(id));
    if (control == nullptr || !control->inherits(expectedType))
        qFatal("page %d has no %s with id %d", page.Template().id, expectedType, id);
    return control;
}

}  // namespace

WindowHandle RequireControl(const WizardPage& page, int id, ControlClass kind) {
    return HandleOf(RequireWidget(page, id, QtClassOf(kind)));
}

void DataExchange::Fail() {
    if (saveAndValidate_ && lastControl_ != nullptr) {
        QWidget* control = AsWidget(lastControl_);
        control->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
    }
    throw DataExchangeFailure{};
}

QWidget* BoundControl(DataExchange& dx, int id, const char* expectedType) {
    return RequireWidget(dx.Page(), id, expectedType);
}

void DDX_Control(DataExchange& dx, int id, QWidget& replacement) {
    if (replacement.parentWidget() == AsWidget(dx.Page().Handle())) return;
    dx.Page().ReplaceControl(id, HandleOf(&replacement));
}

}  // namespace zentro
