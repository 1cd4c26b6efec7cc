// The Win32 implementations of the message box, the open-address service and the focus service.
#pragma once
#include "runtime/services.h"
#include "runtime/win32/win.h"

#include <string>

namespace winui {

class FormWindow;

// Titled with the application's name, OK only, no icon, modal over its owner.
struct WinMessageBox : rt::MessageBox {
    void show(const std::string& utf8Text) override;
    HWND owner = nullptr;
};

// The shell opens the address, given in the system's ANSI code page; no command interpreter is involved.
struct ShellOpenAddress : rt::OpenAddress {
    bool open(const std::string& address) override;
};

// UTF-8 text in the system's ANSI code page; characters it lacks become its default character.
std::string ansiText(const std::string& utf8);

// The focus goes to the element's child window; an element without one, or one that is hidden, disabled or
// outside the Tab order, or a focus the system refuses, raises the runtime's error 5.
struct WinFocus : rt::Focus {
    void give(const scene::Element& element) override;
    FormWindow* window = nullptr;
};

} // namespace winui
