#pragma once
// The Qt side of the open dialog.
#include <QString>
#include <QStringList>

namespace zentro {

// Turns a filter in the resource style, "description|pattern|...||" with
// patterns separated by ';', into file-dialog name filters "description (patterns)".
QStringList NameFiltersFromResource(const QString& filter);

}  // namespace zentro
