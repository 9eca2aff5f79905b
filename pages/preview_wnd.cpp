#include "pages/preview_wnd.h"

#include "app/bmp_icon_app.h"

namespace zentro {

void CPreviewWnd::Refresh() {
    const ImageStore& store = CBmpIconApp::Get().store;
    if (position >= 0 && static_cast<std::size_t>(position) < store.entries.size()) {
        const std::uint8_t code = store.entries[position];
        // A preview that cannot be made leaves no picture, and the area shows white.
        store.EntryImage(code).ComposePreview(previewBitmap_, store.EntryMask(code));
    } else {
        previewBitmap_.Free();
    }
    Invalidate();
}

}  // namespace zentro
