#include "platform/qt/data_exchange.h"

#include <QCheckBox>
#include <QLineEdit>

#include "platform/qt/wizard_page.h"

namespace zentro {

namespace {

// A page that names a control it does not have is a programming error that
// no user can recover from: say which one and stop.
QWidget* RequireControl(const WizardPage& page, int id, const char* expectedType) {
    QWidget* control = page.GetDlgItem(id);
    if (control == nullptr || !control->inherits(expectedType))
        qFatal("page %d has no %s with id %d", page.Template().id, expectedType, id);
    return control;
}

}  // namespace

QWidget* DataExchange::PrepareControl(int id) {
    lastControl_ = RequireControl(page_, id, "QWidget");
    return lastControl_;
}

void DataExchange::Fail() {
    if (saveAndValidate_ && lastControl_ != nullptr) {
        lastControl_->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(lastControl_)) edit->selectAll();
    }
    throw DataExchangeFailure{};
}

void DDX_Check(DataExchange& dx, int id, int& value) {
    auto* box = static_cast<QCheckBox*>(RequireControl(dx.Page(), id, "QCheckBox"));
    dx.PrepareControl(id);
    if (dx.SaveAndValidate()) {
        const Qt::CheckState state = box->checkState();
        value = state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
        return;
    }
    if (value < 0 || value > 2) value = 0;
    box->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void DDX_Text(DataExchange& dx, int id, std::string& value) {
    auto* edit = static_cast<QLineEdit*>(RequireControl(dx.Page(), id, "QLineEdit"));
    dx.PrepareControl(id);
    if (dx.SaveAndValidate())
        value = edit->text().toStdString();
    else
        edit->setText(QString::fromStdString(value));
}

QWidget* BoundControl(DataExchange& dx, int id, const char* expectedType) {
    return RequireControl(dx.Page(), id, expectedType);
}

void DDX_Control(DataExchange& dx, int id, QWidget& replacement) {
    if (replacement.parentWidget() == &dx.Page()) return;
    dx.Page().ReplaceControl(id, replacement);
}

}  // namespace zentro
