#pragma once
// A page's window and controls as the Qt widgets they are on Linux.
#include <QWidget>

#include "platform/qt/window_handle.h"
#include "platform/wizard_page.h"

namespace zentro::test {

inline QWidget* Window(const WizardPage& page) { return AsWidget(page.Handle()); }

// Control `id` of `page`; null when it has none of type W.
template <class W = QWidget>
W* DlgItem(const WizardPage& page, int id) {
    return qobject_cast<W*>(AsWidget(page.GetDlgItem(id)));
}

}  // namespace zentro::test
