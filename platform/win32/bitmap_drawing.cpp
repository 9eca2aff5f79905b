#include "platform/bitmap_drawing.h"

#include <algorithm>

#include "image/dib.h"
#include "platform/win32/window_class.h"
#include "platform/win32/window_handle.h"
#include "platform/wizard_page.h"

namespace zentro {

namespace {

// Draws the picture upright from the top-left corner: a DIB's rows are stored
// bottom first, as SetDIBitsToDevice takes them. Returns the size drawn.
SIZE DrawPicture(HDC dc, const CDib* picture, int maxLines) {
    if (picture == nullptr || !picture->HasPicture() || picture->BitCount() != 24 || maxLines <= 0) return {0, 0};
    const int lines = std::min(picture->Height(), maxLines);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture->Width();
    info.bmiHeader.biHeight = picture->Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    // Source rows count from the bottom: the bottom `lines` rows fill the control.
    ::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(picture->Width()), static_cast<DWORD>(lines), 0, 0, 0,
                        static_cast<UINT>(picture->Height()), picture->Row(0), &info, DIB_RGB_COLORS);
    return {picture->Width(), lines};
}

LRESULT CALLBACK BitmapProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        // Painting covers every pixel; erasing first would only flicker.
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = ::BeginPaint(window, &paint);
            RECT client;
            ::GetClientRect(window, &client);
            const auto* control = reinterpret_cast<const BitmapStatic*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
            const SIZE drawn = DrawPicture(dc, control != nullptr ? control->Bitmap() : nullptr, client.bottom);
            const auto white = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
            const RECT right{drawn.cx, 0, client.right, client.bottom};
            const RECT below{0, drawn.cy, drawn.cx, client.bottom};
            for (const RECT& area : {right, below})
                if (area.left < area.right && area.top < area.bottom) ::FillRect(dc, &area, white);
            ::EndPaint(window, &paint);
            return 0;
        }
        default: return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

void BitmapStatic::Invalidate() {
    if (IsBound()) ::InvalidateRect(AsHwnd(Handle()), nullptr, FALSE);
}

void DDX_Control(DataExchange& dx, int id, BitmapStatic& control) {
    if (control.IsBound()) return;
    WizardPage& page = dx.Page();
    // The page's window owns the control's window from here on.
    const HWND window = ::CreateWindowExW(0, WindowClass(L"ZentroBitmap", BitmapProc), nullptr, WS_CHILD, 0, 0, 0, 0,
                                          AsHwnd(page.Handle()), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&control));
    page.ReplaceControl(id, HandleOf(window));
    control.Attach(HandleOf(window));
}

}  // namespace zentro
