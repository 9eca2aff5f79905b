#pragma once
// Files dropped from a file manager: a bitmap dropped on a page goes into the
// page's path edit as if its path had been typed there.
#include <QString>

class QLineEdit;
class QMimeData;
class QWidget;

namespace zentro {

// The path of the one local file (not a folder) that a drag carries; empty
// for several files, a remote address, a folder or no file at all.
QString DroppedFilePath(const QMimeData* data);

// A file dropped on `area` or on `edit` (which may lie inside it) replaces the
// edit's text with its path. Drags that carry no such file are left to the
// widgets, so text can still be dragged into the edit.
void AcceptDroppedFile(QWidget& area, QLineEdit& edit);

}  // namespace zentro
