#include "pages/open_bitmap_dialog.h"

#include <string>

#include "app/picture_file.h"
#include "platform/open_dialog.h"
#include "platform/string_table.h"

namespace zentro {

bool BrowseForBitmap(WindowHandle owner, Edit& target) {
    // Every picture the wizard reads (on a build with the decoders), then
    // bitmaps alone, then all files.
    const unsigned filter = ReadsEveryPicture() ? IDS_PICTURE_FILTER : IDS_BITMAP_FILTER;
    std::string path;
    // A typed name that does not exist is let through: the reader says so on Next.
    if (!ShowOpenDialog(owner, LoadString(filter), "bmp", path)) return false;
    target.SetText(path);
    return true;
}

}  // namespace zentro
