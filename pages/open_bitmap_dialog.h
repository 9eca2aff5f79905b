#pragma once
// The dialog that picks a picture to open, shared by every page that names one.
#include <QString>
#include <QStringList>

class QLineEdit;
class QWidget;

namespace zentro {

// Turns a filter in the resource style, "description|pattern|...||" with
// patterns separated by ';', into file-dialog name filters "description (patterns)".
QStringList NameFiltersFromResource(const QString& filter);

// Asks for a picture, owned by `owner`. When the user confirms, `target`'s text
// becomes the chosen file's full path; otherwise it is left as it was.
// True when a file was chosen.
bool BrowseForBitmap(QWidget* owner, QLineEdit* target);

}  // namespace zentro
