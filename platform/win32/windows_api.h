#pragma once
// The Windows headers, as the platform layer's Windows half includes them:
// windows.h first, which the others need before them. Windows names its
// calls PropertySheet and LoadString as macros, which would rename the platform
// layer's PropertySheet class and LoadString function in every file that sees
// both: the macros go, and the calls are made by their W names.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>
#include <prsht.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#undef PropertySheet
#undef LoadString
