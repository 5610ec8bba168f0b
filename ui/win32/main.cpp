#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "quarnelo.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    int status = 0;
    {
        velandra::win32::Quarnelo window(instance);
        window.Show(showCommand);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            // Tab, Shift+Tab and the arrow keys move between the controls as in a dialog.
            if (IsDialogMessageW(window.Handle(), &message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        status = static_cast<int>(message.wParam);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return status;
}
