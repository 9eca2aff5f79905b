#pragma once
// The strip across the top of the wizard: the window colour with a sunken
// line at its bottom, the banner title in bold on the left, centred
// vertically with as much room on its left, and the program's icon on the right.
#include <string>

#include "platform/win32/windows_api.h"

namespace zentro {

class Banner {
public:
    // A child of `sheet` across its top, `height` pixels high; `font` is the
    // sheet's, made bold for the title.
    Banner(HWND sheet, int height, HFONT font);
    ~Banner();
    Banner(const Banner&) = delete;
    Banner& operator=(const Banner&) = delete;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc, const RECT& client) const;

    HFONT titleFont_;
    HICON icon_;
    std::wstring title_;
    int iconSize_;
    int iconInset_;
};

}  // namespace zentro
