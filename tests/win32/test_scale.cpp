// The window on a desktop of 96, 120, 144 or 192 dots per inch (the caller's prefix has that setting, given as the
// argument), then laid out again as after a move to a monitor of another scale: the 96-dpi window scaled, its texts
// whole, the graph's one period across its panel, the themed controls, the focus frame and the wheel.
#include "desktop.h"

#include <algorithm>
#include <cstdlib>

using namespace desk;

namespace {

int dpi = 96;

// How far a text drawn from a box's top left reaches: its advance across, its glyphs' ink down.
SIZE reach(HFONT font, const std::wstring& text)
{
    const Canvas c(1, 1);
    HDC dc = c.dc;
    SelectObject(dc, font);
    SIZE s{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &s);
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    s.cy = 0;
    for (const wchar_t c : text) {
        GLYPHMETRICS g;
        const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
        if (c != L' ' && CHECK(GetGlyphOutlineW(dc, c, GGO_METRICS, &g, 0, nullptr, &identity) != GDI_ERROR))
            s.cy = std::max(s.cy, LONG(tm.tmAscent - g.gmptGlyphOrigin.y + int(g.gmBlackBoxY)));
    }
    return s;
}

// Everything at the window's present scale.
void atScale(Harness& h)
{
    const winui::Scale& s = h.window->scale();
    check::Row named(std::to_string(s.dpi) + " dpi");
    // The client area the scene's 633 x 425 pixels scaled and rounded, as Qt's window at that scale.
    RECT client;
    GetClientRect(h.hwnd(), &client);
    CHECK(client.right == MulDiv(633, s.dpi, 96) && client.bottom == MulDiv(425, s.dpi, 96));

    // At 135°, where the captions are longest, every label whole inside its box, in its font scaled.
    h.form.brangulo.setValue(135);
    h.settle();
    for (const auto& e : h.form.scene.elements())
        if (e->kind() == scene::Kind::Label) {
            const auto& label = static_cast<const scene::Label&>(*e);
            check::Row row(std::string(label.name()));
            const RECT box = s.box(label);
            const std::wstring text = winui::displayText(label.text(), label.font.symbol());
            const HFONT at96 = winui::createFont(label.font, 15);
            const SIZE r = reach(h.window->font(label.font), text), r96 = reach(at96, text);
            DeleteObject(at96);
            // And as wide as the 96-dpi text scaled, give or take the hinting at another size.
            CHECK(r.cx <= box.right - box.left && r.cy <= box.bottom - box.top &&
                  std::abs(r.cx - s(r96.cx)) <= s(r96.cx) / 8 + 1);
        }

    // One period across the graph panel: the marker at 45°, the tangent at 315°, no ink near its pole at 90°.
    h.form.brangulo.setValue(45);
    h.settle();
    const COLORREF white = RGB(255, 255, 255), magenta = RGB(255, 0, 255);
    const Picture graphs = grab(h.w("frmsec3"));
    CHECK(graphs.at(s(45), s(215)) == white && graphs.at(s(0), s(215)) != white);
    CHECK(crop(graphs, {s(315) - 1, s(201) - 1, s(315) + 2, s(201) + 2}).count(magenta) > 0); // within a pixel
    CHECK_EQ(crop(graphs, {s(70), 0, s(110) + 1, graphs.height}).count(magenta), 0);

    // The focus frame: the selection's colour around the focused panel, as wide as scaled.
    SetFocus(h.w("frmsec1"));
    h.settle();
    const Picture focused = grab(h.w("frmsec1"));
    CHECK(focused.at(focused.width / 2, s(2) - 1) == GetSysColor(COLOR_HIGHLIGHT) &&
          focused.at(focused.width / 2, s(2)) != GetSysColor(COLOR_HIGHLIGHT));

    // The wheel over the scroll bar and the two panels, each focused, which Wine sends it to: a notch down adds a
    // degree; two half notches up take one away.
    for (const char* over : {"brangulo", "frmsec1", "frmsec3"}) {
        check::Row row(over);
        SetFocus(h.w(over));
        h.form.brangulo.setValue(100);
        mouse(MOUSEEVENTF_WHEEL, middleOf(h.w(over)), -WHEEL_DELTA);
        CHECK(pumpUntil(h.hwnd(), [&] { return h.form.brangulo.value() == 101; }));
        mouse(MOUSEEVENTF_WHEEL, middleOf(h.w(over)), WHEEL_DELTA / 2);
        mouse(MOUSEEVENTF_WHEEL, middleOf(h.w(over)), WHEEL_DELTA / 2);
        CHECK(pumpUntil(h.hwnd(), [&] { return h.form.brangulo.value() == 100; }) && h.scrollPos() == 100);
    }
}

// At the desktop's scale, then moved to a monitor of another scale: Windows sends the new dots per inch and a
// rectangle for the frame, the old one scaled; the window takes its place and lays itself out at the new scale.
void desktopAndMonitorScale()
{
    CHECK_EQ(winui::systemDpi(), dpi); // the prefix's setting took
    Harness h;
    h.show();
    CHECK_EQ(h.window->scale().dpi, dpi);
    // The manifest's Common Controls 6, loaded from its side-by-side folder. (Wine's says 5.81 to DllGetVersion,
    // whichever of the two it is loaded as.)
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(L"comctl32.dll"), path, MAX_PATH);
    CharLowerW(path);
    CHECK(std::wstring(path).find(L"microsoft.windows.common-controls_6595b64144ccf1df_6.") != std::wstring::npos);
    atScale(h);

    const int other = dpi == 96 ? 144 : dpi == 192 ? 168 : 96; // a window that the screen holds whole
    RECT suggested, now;
    GetWindowRect(h.hwnd(), &suggested);
    OffsetRect(&suggested, 5 - suggested.left, 7 - suggested.top);
    suggested.right = suggested.left + MulDiv(suggested.right - suggested.left, other, dpi);
    suggested.bottom = suggested.top + MulDiv(suggested.bottom - suggested.top, other, dpi);
    SendMessageW(h.hwnd(), WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(h.hwnd(), &now);
    CHECK(h.window->scale().dpi == other && now.left == suggested.left && now.top == suggested.top);
    atScale(h);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        dpi = std::atoi(argv[1]);
    winui::registerClasses(GetModuleHandleW(nullptr));
    return check::run({{"desktopAndMonitorScale", desktopAndMonitorScale}});
}
