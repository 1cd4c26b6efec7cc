// The Qt implementations of the message box, the open-address service and the focus service.
#pragma once
#include "runtime/services.h"

#include <QUrl>

namespace qtui {

class FormWindow;

struct QtMessageBox : rt::MessageBox {
    void show(const std::string& utf8Text) override;
};

// Qt's desktop services open the address with the user's default program.
struct QtOpenAddress : rt::OpenAddress {
    bool open(const std::string& address) override;
};

// The address as a URL for the desktop: one without a scheme is a web address, never a local file.
QUrl desktopUrl(const std::string& address);

struct QtFocus : rt::Focus {
    void give(const scene::Element& element) override;
    FormWindow* window = nullptr;
};

} // namespace qtui
