#include "platform/application.h"

#include "platform/message_box.h"
#include "platform/win32/windows_api.h"

namespace zentro {

int RunApplication(const char*) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS;
    ::InitCommonControlsEx(&controls);
    // The folder dialog is a shell object, made on this thread.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    InstallMessageBoxes();
    if (Application* application = Application::Current()) application->InitInstance();
    if (SUCCEEDED(com)) ::CoUninitialize();
    return 0;
}

}  // namespace zentro
