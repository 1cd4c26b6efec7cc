// The window on a desktop of 96, 120, 144 or 192 dots per inch (the caller's prefix has that setting, given as the
// argument), then laid out again as after a move to a monitor of another scale: the 96-dpi window scaled, its texts
// whole, the graph's one period across its panel, the themed controls, the focus frame and the wheel.
#include "desktop.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

using namespace desk;

namespace {

const COLORREF white = RGB(255, 255, 255), magenta = RGB(255, 0, 255);
COLORREF text() { return GetSysColor(COLOR_WINDOWTEXT); }

// The client area at each scale: the scene's 633 x 425 pixels scaled and rounded, as Qt's window at that scale.
struct SizeRow {
    int dpi, width, height;
} const sizes[] = {{96, 633, 425}, {120, 791, 531}, {144, 950, 638}, {168, 1108, 744}, {192, 1266, 850}};

// Where a text drawn from the top left of a box, as the binding draws a label, leaves ink: right and bottom edges.
SIZE ink(HFONT font, const std::wstring& text)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    const HGDIOBJ oldFont = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &extent);
    const RECT room{0, 0, extent.cx * 2 + 40, extent.cy * 2 + 40};
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), room.right, -room.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ oldBitmap = SelectObject(dc, bmp);
    SetBkColor(dc, white);
    SetTextColor(dc, RGB(0, 0, 0));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &room, nullptr, 0, nullptr);
    RECT at = room;
    DrawTextW(dc, text.c_str(), int(text.size()), &at, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    GdiFlush();
    const Picture p = copy(dc, room);
    SIZE edge{0, 0};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.at(x, y) != white)
                edge = {std::max(edge.cx, LONG(x + 1)), std::max(edge.cy, LONG(y + 1))};
    SelectObject(dc, oldBitmap);
    SelectObject(dc, oldFont);
    DeleteObject(bmp);
    DeleteDC(dc);
    return edge;
}

SIZE extent(HWND w, HFONT font, const std::wstring& text)
{
    HDC dc = GetDC(w);
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE s{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &s);
    SelectObject(dc, old);
    ReleaseDC(w, dc);
    return s;
}

// A turn of the wheel with the pointer over the middle of a window.
void wheel(HWND over, int delta)
{
    RECT r;
    GetClientRect(over, &r);
    mouse(0, onScreen(over, r.right / 2, r.bottom / 2));
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.mouseData = DWORD(delta);
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    CHECK(SendInput(1, &in, sizeof in) == 1);
}

// Everything at the window's present scale, at 135°, where the captions are longest.
void atScale(Harness& h)
{
    const winui::Scale& s = h.window->scale();
    check::Row named(std::to_string(s.dpi) + " dpi");
    RECT client, frame;
    GetClientRect(h.hwnd(), &client);
    GetWindowRect(h.hwnd(), &frame);
    std::printf("%d dpi: client %ld x %ld, window %ld x %ld\n", s.dpi, client.right, client.bottom,
                frame.right - frame.left, frame.bottom - frame.top);
    const auto size =
        std::find_if(std::begin(sizes), std::end(sizes), [&](const SizeRow& r) { return r.dpi == s.dpi; });
    CHECK(size != std::end(sizes) && client.right == size->width && client.bottom == size->height);
    CHECK(frame.right - frame.left > client.right && frame.bottom - frame.top > client.bottom);

    h.form.brangulo.setValue(135);
    h.settle();
    // Every caption whole inside its box: the advance and the ink across, the ink down.
    for (const auto& e : h.form.scene.elements()) {
        if (e->kind() != scene::Kind::Label)
            continue;
        const auto& label = static_cast<const scene::Label&>(*e);
        const std::wstring text = winui::displayText(label.text(), label.font.symbol());
        check::Row row(std::string(label.name()));
        const RECT box = s.box(label);
        const SIZE across = extent(h.hwnd(), h.window->font(label.font), text),
                   drawn = ink(h.window->font(label.font), text);
        CHECK(across.cx <= box.right - box.left && drawn.cx <= box.right - box.left);
        CHECK(drawn.cy <= box.bottom - box.top);
    }
    // The check boxes' and buttons' captions beside the box and within the frame that the controls draw.
    for (const char* name : {"chseno", "chcoseno", "chtangente", "btpage", "btemail"}) {
        check::Row row(name);
        HWND w = h.w(name);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0));
        const SIZE t = extent(w, font, windowText(w));
        GetClientRect(w, &client);
        const int check = MulDiv(GetSystemMetrics(SM_CXMENUCHECK), s.dpi, winui::systemDpi());
        const int beside = name[0] == 'c' ? check + s(4) : s(8);
        CHECK(t.cx + beside <= client.right && t.cy <= client.bottom);
    }

    // One period across the graph panel: the marker at 45° scaled; the tangent at 45°, 135° and 225°, its poles
    // at 90° and 270° leaving the columns between empty.
    h.form.brangulo.setValue(45);
    h.settle();
    const Picture graphs = grab(h.w("frmsec3"));
    CHECK(graphs.at(s(45), s(215)) == white && graphs.at(s(0), s(215)) != white);
    CHECK(graphs.around(s(45), s(33), magenta) && graphs.around(s(135), s(201), magenta));
    CHECK(graphs.around(s(225), s(33), magenta) && graphs.around(s(315), s(201), magenta));
    int nearPole = 0;
    for (int x = s(70); x <= s(110); ++x)
        for (int y = 0; y < graphs.height; ++y)
            nearPole += graphs.at(x, y) == magenta;
    CHECK_EQ(nearPole, 0);
    const Picture circle = grab(h.w("frmsec1"));
    CHECK(circle.around(s(179.4), s(57.6), text()) && circle.around(s(60.6), s(176.4), text()));

    // The focus frame: the selection's colour around the focused panel's inner area, as wide as scaled; none on
    // the other.
    SetFocus(h.w("frmsec1"));
    h.settle();
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const Picture focused = grab(h.w("frmsec1")), other = grab(h.w("frmsec3"));
    for (int i = 0; i < s(2); ++i)
        CHECK(focused.at(focused.width / 2, i) == highlight && focused.at(i, focused.height / 2) == highlight &&
              focused.at(focused.width - 1 - i, focused.height / 2) == highlight);
    CHECK(focused.at(focused.width / 2, s(2)) != highlight);
    CHECK_EQ(other.count(highlight), 0);

    // The wheel over the scroll bar and the two panels, each focused, which Wine sends it to: a notch down adds a
    // degree, a notch up takes one away; two half notches make one.
    for (const char* over : {"brangulo", "frmsec1", "frmsec3"}) {
        check::Row row(over);
        SetFocus(h.w(over));
        h.form.brangulo.setValue(100);
        wheel(h.w(over), -WHEEL_DELTA);
        CHECK(pumpUntil(
            h.hwnd(), [&] { return h.form.brangulo.value() == 101; }, 1000));
        wheel(h.w(over), WHEEL_DELTA);
        wheel(h.w(over), WHEEL_DELTA / 2);
        wheel(h.w(over), WHEEL_DELTA / 2);
        CHECK(pumpUntil(
            h.hwnd(), [&] { return h.form.brangulo.value() == 99; }, 1000));
        CHECK_EQ(h.scrollPos(), 99);
    }
}

int dpi = 96;

void desktopScale()
{
    CHECK_EQ(winui::systemDpi(), dpi); // the prefix's setting took
    Harness h;
    h.show();
    // The manifest's Common Controls 6, loaded from its side-by-side folder, whose buttons answer a question that
    // user32's do not. (Wine's says 5.81 to DllGetVersion, whichever of the two it is loaded as.)
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(L"comctl32.dll"), path, MAX_PATH);
    CharLowerW(path);
    CHECK(std::wstring(path).find(L"microsoft.windows.common-controls_6595b64144ccf1df_6.") != std::wstring::npos);
    SIZE ideal{};
    CHECK(SendMessageW(h.w("btpage"), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)) && ideal.cx > 0);
    CHECK_EQ(h.window->scale().dpi, dpi);
    atScale(h);
}

// Moved to a monitor of another scale: Windows sends the new dots per inch and a rectangle for the frame, the old
// one scaled; the window takes its place, and the size of its scaled client area.
void monitorChange()
{
    Harness h;
    h.show();
    const int other = dpi == 96 ? 144 : dpi == 192 ? 168 : 96; // a window that the screen holds whole
    RECT suggested;
    GetWindowRect(h.hwnd(), &suggested);
    OffsetRect(&suggested, 5 - suggested.left, 7 - suggested.top);
    suggested.right = suggested.left + MulDiv(suggested.right - suggested.left, other, dpi);
    suggested.bottom = suggested.top + MulDiv(suggested.bottom - suggested.top, other, dpi);
    SendMessageW(h.hwnd(), WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&suggested));
    CHECK_EQ(h.window->scale().dpi, other);
    RECT now;
    GetWindowRect(h.hwnd(), &now);
    CHECK(now.left == suggested.left && now.top == suggested.top);
    atScale(h);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        dpi = std::atoi(argv[1]);
    winui::registerClasses(GetModuleHandleW(nullptr));
    return check::run({{"desktopScale", desktopScale}, {"monitorChange", monitorChange}});
}
