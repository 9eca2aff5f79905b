#pragma once
// The Qt side of dropped files (see platform/file_drop.h).
#include <QString>

class QMimeData;

namespace zentro {

// The path of the one local file (not a folder) that a drag carries; empty
// for several files, a remote address, a folder or no file at all.
QString DroppedFilePath(const QMimeData* data);

}  // namespace zentro
