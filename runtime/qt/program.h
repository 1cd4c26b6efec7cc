// The program as it starts: its services, its window class loaded, its window shown.
#pragma once
#include "app/frmcirculo.h"
#include "runtime/qt/services.h"
#include "runtime/qt/startup.h"
#include "runtime/qt/window.h"

namespace qtui {

// Needs the application object; shows nothing until show().
class Program {
public:
    Program();
    // Centred on the screen, the keyboard focus given when the window first becomes active.
    void show();
    FormWindow& window() { return window_; }

private:
    PortugueseTexts texts_;
    QtMessageBox messages_;
    QtOpenAddress addresses_;
    QtFocus focus_;
    frmcirculo form_;
    bool loaded_; // the load runs before the widgets exist, so that its thousands of changes reach no view
    FormWindow window_;
};

} // namespace qtui
