#include "platform/win32/banner.h"

#include "platform/string_table.h"
#include "platform/wide_text.h"
#include "platform/win32/window_class.h"

namespace zentro {

namespace {

constexpr int kProgramIcon = 128;

}  // namespace

Banner::Banner(HWND sheet, int height, HFONT font) {
    const HDC screen = ::GetDC(sheet);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(sheet, screen);
    LOGFONTW face{};
    ::GetObjectW(font, sizeof face, &face);
    // Eight points bold in the dialog's face.
    face.lfHeight = -::MulDiv(8, dpi, 72);
    face.lfWeight = FW_BOLD;
    titleFont_ = ::CreateFontIndirectW(&face);
    iconSize_ = ::MulDiv(32, dpi, 96);
    iconInset_ = ::MulDiv(14, dpi, 96);
    icon_ = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON, iconSize_, iconSize_, 0));
    title_ = WideFromUtf8(LoadString(IDS_BANNER_TITLE), BadUtf8::Replace);
    RECT client;
    ::GetClientRect(sheet, &client);
    const HWND window = ::CreateWindowExW(0, WindowClass(L"ZentroBanner", WindowProc), nullptr, WS_CHILD, 0, 0,
                                          client.right, height, sheet, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::ShowWindow(window, SW_SHOWNA);
}

Banner::~Banner() {
    ::DeleteObject(titleFont_);
    if (icon_ != nullptr) ::DestroyIcon(icon_);
}

LRESULT CALLBACK Banner::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* banner = reinterpret_cast<const Banner*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (banner == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        // Painting covers every pixel; erasing first would only flicker.
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = ::BeginPaint(window, &paint);
            RECT client;
            ::GetClientRect(window, &client);
            banner->Paint(dc, client);
            ::EndPaint(window, &paint);
            return 0;
        }
        // The sheet destroys its children before this object goes.
        case WM_NCDESTROY: ::SetWindowLongPtrW(window, GWLP_USERDATA, 0); break;
        default: break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void Banner::Paint(HDC dc, const RECT& client) const {
    const RECT strip{0, 0, client.right, client.bottom - 2};
    ::FillRect(dc, &strip, ::GetSysColorBrush(COLOR_WINDOW));
    const RECT dark{0, client.bottom - 2, client.right, client.bottom - 1};
    ::FillRect(dc, &dark, ::GetSysColorBrush(COLOR_3DSHADOW));
    const RECT light{0, client.bottom - 1, client.right, client.bottom};
    ::FillRect(dc, &light, ::GetSysColorBrush(COLOR_3DHILIGHT));

    const HGDIOBJ previous = ::SelectObject(dc, titleFont_);
    SIZE text{};
    ::GetTextExtentPoint32W(dc, title_.c_str(), static_cast<int>(title_.size()), &text);
    const int offset = (client.bottom - text.cy) / 2;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::TextOutW(dc, offset, offset, title_.c_str(), static_cast<int>(title_.size()));
    ::SelectObject(dc, previous);

    if (icon_ != nullptr)
        ::DrawIconEx(dc, client.right - iconSize_ - iconInset_, iconInset_, icon_, iconSize_, iconSize_, 0, nullptr,
                     DI_NORMAL);
}

}  // namespace zentro
