#pragma once
// Qt made ready for the program's windows.
class QApplication;

namespace zentro {

// Gives `application` what every window of the program relies on: the dialog
// font, the Chinese texts of Qt's own buttons, and message boxes as the
// display of the core's messages.
void PrepareGui(QApplication& application);

}  // namespace zentro
