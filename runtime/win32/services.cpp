#include "runtime/win32/services.h"

#include "runtime/error.h"
#include "runtime/win32/look.h"
#include "runtime/win32/window.h"
#include "scene/element.h"

#include <shellapi.h>

namespace winui {

void WinMessageBox::show(const std::string& text)
{
    MessageBoxW(owner, widen(text).c_str(), widen(rt::applicationTitle).c_str(), MB_OK);
}

std::string ansiText(const std::string& utf8)
{
    const std::wstring wide = widen(utf8);
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

bool ShellOpenAddress::open(const std::string& address)
{
    const HINSTANCE result =
        ShellExecuteA(nullptr, nullptr, ansiText(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

void WinFocus::give(const scene::Element& element)
{
    HWND w = window ? window->control(element.name()) : nullptr;
    const LONG style = w ? GetWindowLongW(w, GWL_STYLE) : 0;
    if (!w || !(style & WS_VISIBLE) || (style & WS_DISABLED) || !(style & WS_TABSTOP))
        throw rt::RuntimeError(rt::InvalidCall);
    SetFocus(w);
    if (GetFocus() != w)
        throw rt::RuntimeError(rt::InvalidCall);
}

} // namespace winui
