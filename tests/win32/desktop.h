// The program's window on a real desktop, for tests: recorders for what it would show or open, the user's real
// keyboard and mouse input, and the pixels the screen shows.
#pragma once
#include "app/frmcirculo.h"
#include "check.h"
#include "runtime/win32/look.h"
#include "runtime/win32/services.h"
#include "runtime/win32/window.h"
#include "tests/cases.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace desk {

inline bool never() { return false; }

// Runs the message loop as the program does, through the dialog manager, until done() holds or ms have passed.
template <class F>
bool pumpUntil(HWND dialog, F done, int ms = 3000)
{
    const ULONGLONG end = GetTickCount64() + ULONGLONG(ms);
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!dialog || !IsWindow(dialog) || !IsDialogMessageW(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        if (done())
            return true;
        if (GetTickCount64() >= end)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

struct Harness {
    // The window made after the load, as the program does it.
    explicit Harness(char separator = '.') : form({messages, addresses, focus, separator})
    {
        form.Form_Load();
        window = std::make_unique<winui::FormWindow>(form.scene);
        focus.window = window.get();
        window->Activate = [this] { form.Form_Activate(); };
    }
    // Shown centred and made the foreground window; the first activation gives the focus.
    void show()
    {
        window->centre();
        ShowWindow(hwnd(), SW_SHOW);
        SetForegroundWindow(hwnd());
        UpdateWindow(hwnd());
        CHECK(pumpUntil(hwnd(), [&] { return GetForegroundWindow() == hwnd() && GetFocus(); }));
        settle();
    }
    // Until the input and the repaints it caused are all handled.
    void settle(int ms = 60) { pumpUntil(hwnd(), never, ms); }
    HWND hwnd() const { return window->hwnd(); }
    HWND w(const char* name) const { return window->control(name); }
    int scrollPos() const { return GetScrollPos(w("brangulo"), SB_CTL); }

    rt::RecordedMessages messages;
    rt::RecordedAddresses addresses;
    winui::WinFocus focus;
    frmcirculo form;
    std::unique_ptr<winui::FormWindow> window;
};

// Keys as the keyboard sends them, each down and up, `times` over, in one batch.
inline void keys(std::initializer_list<WORD> vks, int times = 1)
{
    std::vector<INPUT> in;
    for (int i = 0; i < times; ++i)
        for (const WORD vk : vks)
            for (const DWORD flags : {0, KEYEVENTF_KEYUP}) {
                INPUT& key = in.emplace_back();
                key.type = INPUT_KEYBOARD;
                key.ki.wVk = vk;
                key.ki.dwFlags = flags;
            }
    CHECK_EQ(SendInput(UINT(in.size()), in.data(), sizeof(INPUT)), UINT(in.size()));
}

// A point of a window's client area on the screen.
inline POINT onScreen(HWND w, double x, double y)
{
    POINT p{winui::pixel(x), winui::pixel(y)};
    ClientToScreen(w, &p);
    return p;
}
inline POINT middleOf(HWND w)
{
    RECT r;
    GetClientRect(w, &r);
    return onScreen(w, r.right / 2, r.bottom / 2);
}

// The mouse as the user moves it, presses its buttons and turns its wheel.
inline void mouse(DWORD flags, POINT at, int wheel = 0)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.mouseData = DWORD(wheel);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    // Rounded up, so that the system's scaling back lands on the same pixel.
    in.mi.dx = LONG((at.x * 65536LL + width - 1) / width);
    in.mi.dy = LONG((at.y * 65536LL + height - 1) / height);
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    CHECK(SendInput(1, &in, sizeof in) == 1);
}
inline void click(POINT at, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP)
{
    mouse(0, at);
    mouse(down, at);
    mouse(up, at);
}

// A window's client area as the screen shows it, or a drawing: GDI's colours, row by row.
struct Picture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    int count(COLORREF c) const { return int(std::count(pixels.begin(), pixels.end(), c)); }
    bool operator==(const Picture&) const = default;
};

// A 32-bit bitmap to draw in, read back as GDI's colours.
struct Canvas {
    Canvas(int width, int height) : width(width)
    {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        old = SelectObject(dc, bmp);
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    Picture picture(const RECT& r) const
    {
        GdiFlush();
        Picture p{r.right - r.left, r.bottom - r.top, {}};
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) { // 0x00RRGGBB to GDI's 0x00BBGGRR
                const DWORD c = bits[y * width + x];
                p.pixels.push_back(RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
            }
        return p;
    }
    int width;
    DWORD* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp;
    HGDIOBJ old;
};

// A window's client area as the screen shows it, child windows included: another process's window too.
inline Picture grab(HWND w)
{
    RECT r;
    GetClientRect(w, &r);
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
    Canvas c(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    BitBlt(c.dc, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return c.picture({0, 0, r.right - r.left, r.bottom - r.top});
}

// Colours as the scene means them: 0x00BBGGRR, or the desktop's system colour.
inline COLORREF colourOf(scene::Colour c)
{
    return scene::isSystemColour(c) ? GetSysColor(int(c & 0xFF)) : RGB(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// A panel's client area drawn from the scene: one-pixel lines with both ends, the circle in the middle of its box.
inline Picture expected(const scene::Scene& s, const char* panel, const RECT& client)
{
    Canvas c(client.right, client.bottom);
    SelectObject(c.dc, GetStockObject(NULL_BRUSH));
    SetBkColor(c.dc, colourOf(s.get<scene::PictureBox>(panel).backColour));
    ExtTextOutW(c.dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
    const auto at = [](double v) { return int(std::lround(v)); };
    cases::painted(s, panel, [&](const scene::Element& e) {
        if (!e.shown())
            return;
        const auto* l = dynamic_cast<const scene::Line*>(&e);
        const auto& shape = static_cast<const scene::Shape&>(e);
        const COLORREF colour = colourOf(l ? l->colour() : shape.borderColour);
        HPEN pen = CreatePen(PS_SOLID, 1, colour);
        const HGDIOBJ old = SelectObject(c.dc, pen);
        if (l) {
            MoveToEx(c.dc, at(l->x1()), at(l->y1()), nullptr);
            LineTo(c.dc, at(l->x2()), at(l->y2()));
            SetPixelV(c.dc, at(l->x2()), at(l->y2()), colour);
        } else {
            const double d = std::min(shape.width(), shape.height());
            const double x = shape.left() + (shape.width() - d) / 2, y = shape.top() + (shape.height() - d) / 2;
            Ellipse(c.dc, at(x), at(y), at(x + d) + 1, at(y + d) + 1);
        }
        SelectObject(c.dc, old);
        DeleteObject(pen);
    });
    return c.picture(client);
}

inline Picture crop(const Picture& from, const RECT& r)
{
    Picture p{r.right - r.left, r.bottom - r.top, {}};
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            p.pixels.push_back(from.at(x, y));
    return p;
}

// Whether a label's box in a picture of the form shows that text, drawn in that font as the binding draws a
// label: its outermost pixels aside, which the frames around it may cross.
inline bool shows(const Picture& form, const scene::Label& label, HFONT font, const std::wstring& text)
{
    const RECT box = winui::pixelBox(label);
    RECT local{0, 0, box.right - box.left, box.bottom - box.top};
    Canvas c(local.right, local.bottom);
    SetBkColor(c.dc, winui::colour(label.backColour));
    ExtTextOutW(c.dc, 0, 0, ETO_OPAQUE, &local, nullptr, 0, nullptr);
    SetBkMode(c.dc, TRANSPARENT);
    SetTextColor(c.dc, winui::colour(label.foreColour));
    SelectObject(c.dc, font);
    const UINT align[] = {DT_LEFT, DT_RIGHT, DT_CENTER}; // by the label's alignment
    DrawTextW(c.dc, text.c_str(), int(text.size()), &local,
              align[label.alignment] | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    InflateRect(&local, -1, -1);
    const Picture expected = c.picture(local);
    RECT inner = box;
    InflateRect(&inner, -1, -1);
    return crop(form, inner) == expected && expected.count(winui::colour(label.foreColour)) > 0;
}

inline std::wstring windowText(HWND w)
{
    wchar_t text[256] = {};
    GetWindowTextW(w, text, 256);
    return text;
}

} // namespace desk
