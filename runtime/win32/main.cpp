// Start-up: the window class loaded before its window exists, the window centred and shown, then the messages,
// through the dialog manager for Tab and the controls' keys.
#include "app/frmcirculo.h"
#include "runtime/win32/look.h"
#include "runtime/win32/services.h"
#include "runtime/win32/window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    // The manifest asks for the screen's own pixels, per monitor; this for a Windows that reads no such manifest.
    // The scene keeps 96 to the inch; the window scales it to its monitor's.
    winui::becomeDpiAware();
    winui::registerClasses(instance);
    winui::WinMessageBox messages;
    winui::ShellOpenAddress addresses;
    winui::WinFocus focus;
    frmcirculo form({messages, addresses, focus, winui::userDecimalSeparator()});
    form.Form_Load(); // before the window exists, so that its thousands of changes reach no view
    winui::FormWindow window(form.scene);
    messages.owner = window.hwnd();
    focus.window = &window;
    window.Activate = [&form] { form.Form_Activate(); };
    window.endsProgram = true;
    window.centre();
    ShowWindow(window.hwnd(), show);
    UpdateWindow(window.hwnd());

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!window.hwnd() || !IsDialogMessageW(window.hwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return int(msg.wParam);
}
