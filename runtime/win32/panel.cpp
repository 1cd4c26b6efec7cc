#include "runtime/win32/panel.h"

#include "runtime/win32/look.h"
#include "runtime/win32/window.h"

#include <algorithm>
#include <map>
#include <optional>

namespace winui {
namespace {

using Step = scene::HScrollBar::Step;

std::optional<Step> scrollStep(WPARAM key)
{
    switch (key) {
    case VK_RIGHT:
    case VK_DOWN: return Step::SmallAdd;
    case VK_LEFT:
    case VK_UP: return Step::SmallSub;
    case VK_NEXT: return Step::LargeAdd;
    case VK_PRIOR: return Step::LargeSub;
    case VK_HOME: return Step::ToMin;
    case VK_END: return Step::ToMax;
    default: return std::nullopt;
    }
}

// The buttons as the model's bit flags: 1 primary, 2 secondary, 4 middle.
int buttonFlags(WPARAM keys)
{
    return (keys & MK_LBUTTON ? 1 : 0) | (keys & MK_RBUTTON ? 2 : 0) | (keys & MK_MBUTTON ? 4 : 0);
}

struct Extent {
    double left, top, right, bottom;
    bool meets(const RECT& r) const // with a pixel of margin for the rounding
    {
        return left - 1 < r.right && right + 1 >= r.left && top - 1 < r.bottom && bottom + 1 >= r.top;
    }
};

Extent extent(const scene::Element& e)
{
    if (e.kind() == scene::Kind::Line) {
        const auto& l = static_cast<const scene::Line&>(e);
        return {std::min(l.x1(), l.x2()), std::min(l.y1(), l.y2()), std::max(l.x1(), l.x2()), std::max(l.y1(), l.y2())};
    }
    const auto& b = static_cast<const scene::Boxed&>(e);
    return {b.left(), b.top(), double(b.left()) + b.width(), double(b.top()) + b.height()};
}

// One-pixel pens by colour, for one paint.
class Pens {
public:
    explicit Pens(HDC dc) : dc_(dc), old_(SelectObject(dc, GetStockObject(BLACK_PEN))) {}
    ~Pens()
    {
        SelectObject(dc_, old_);
        for (const auto& [c, pen] : pens_)
            DeleteObject(pen);
    }
    COLORREF use(scene::Colour c)
    {
        const COLORREF rgb = colour(c);
        HPEN& pen = pens_[rgb];
        if (!pen)
            pen = CreatePen(PS_SOLID, 1, rgb);
        SelectObject(dc_, pen);
        return rgb;
    }

private:
    HDC dc_;
    HGDIOBJ old_;
    std::map<COLORREF, HPEN> pens_;
};

// GDI leaves out a line's last pixel; it is set, so that a line of no length still shows as its one pixel.
void drawLine(HDC dc, Pens& pens, const scene::Line& l)
{
    const COLORREF rgb = pens.use(l.colour());
    MoveToEx(dc, pixel(l.x1()), pixel(l.y1()), nullptr);
    LineTo(dc, pixel(l.x2()), pixel(l.y2()));
    SetPixelV(dc, pixel(l.x2()), pixel(l.y2()), rgb);
}

void drawShape(HDC dc, Pens& pens, const scene::Shape& s)
{
    pens.use(s.borderColour);
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    if (s.figure == scene::Shape::Circle) {
        const double d = std::min(s.width(), s.height());
        const double x = s.left() + (s.width() - d) / 2, y = s.top() + (s.height() - d) / 2;
        Ellipse(dc, pixel(x), pixel(y), pixel(x + d) + 1, pixel(y + d) + 1);
    } else {
        const RECT r = pixelBox(s);
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
    SelectObject(dc, oldBrush);
}

// A graph's segments that join end to start become one polyline, and the runs of one colour one call: one pen for
// hundreds of lines.
void drawArray(HDC dc, Pens& pens, const scene::LineArray& a, const RECT& dirty)
{
    std::vector<POINT> points;
    std::vector<DWORD> counts;
    scene::Colour colour = 0;
    const auto flush = [&] {
        if (counts.empty())
            return;
        const COLORREF rgb = pens.use(colour);
        PolyPolyline(dc, points.data(), counts.data(), DWORD(counts.size()));
        std::size_t end = 0;
        for (const DWORD n : counts) {
            end += n;
            SetPixelV(dc, points[end - 1].x, points[end - 1].y, rgb);
        }
        points.clear();
        counts.clear();
    };
    bool joined = false;
    for (int i = 0; i < a.count(); ++i) {
        const scene::Line* l = a.at(i);
        if (!l || !l->shown() || !extent(*l).meets(dirty)) {
            joined = false;
            continue;
        }
        if (l->colour() != colour) {
            flush();
            colour = l->colour();
            joined = false;
        }
        const POINT from{pixel(l->x1()), pixel(l->y1())}, to{pixel(l->x2()), pixel(l->y2())};
        if (joined && points.back().x == from.x && points.back().y == from.y) {
            points.push_back(to);
            ++counts.back();
        } else {
            points.push_back(from);
            points.push_back(to);
            counts.push_back(2);
        }
        joined = true;
    }
    flush();
}

} // namespace

void Panel::registerClass(HINSTANCE instance)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
}

Panel::Panel(const scene::PictureBox& panel, FormWindow& form, int id) : panel_(panel), form_(form)
{
    const RECT r = pixelBox(panel);
    const DWORD style = WS_CHILD | WS_VISIBLE | (panel.enabled ? WS_TABSTOP : WS_DISABLED);
    CreateWindowExW(WS_EX_CLIENTEDGE, className, widen(panel.accessibleName).c_str(), style, r.left, r.top,
                    r.right - r.left, r.bottom - r.top, form.hwnd(), reinterpret_cast<HMENU>(INT_PTR(id)),
                    GetModuleHandleW(nullptr), this);
}

Panel::~Panel()
{
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void Panel::add(const scene::Element& e)
{
    items_.push_back({&e, nullptr});
    shownAt_[&e] = shown(e);
}

bool Panel::Shown::operator==(const Shown& o) const
{
    return EqualRect(&footprint, &o.footprint) && a == o.a && b == o.b && c == o.c && d == o.d && colour == o.colour;
}

Panel::Shown Panel::shown(const scene::Element& e) const
{
    if (e.kind() == scene::Kind::Line) {
        const auto& l = static_cast<const scene::Line&>(e);
        return {footprint(e), l.x1(), l.y1(), l.x2(), l.y2(), l.colour()};
    }
    const auto& b = static_cast<const scene::Boxed&>(e);
    return {footprint(e), b.left(), b.top(), b.width(), b.height(), 0};
}

void Panel::add(const scene::LineArray& a) { items_.push_back({nullptr, &a}); }

RECT Panel::footprint(const scene::Element& e) const
{
    RECT client{}, r{}, out{};
    if (!e.shown() || !hwnd_)
        return out;
    GetClientRect(hwnd_, &client);
    const Extent x = extent(e);
    // Two pixels of margin for the pen and the rounding of fractional coordinates.
    r = {pixel(x.left) - 2, pixel(x.top) - 2, pixel(x.right) + 3, pixel(x.bottom) + 3};
    IntersectRect(&out, &r, &client);
    return out;
}

void Panel::changed(const scene::Element& e, scene::Prop p)
{
    if (p == scene::Prop::Description || !hwnd_)
        return; // a plain window has a name for screen readers, its text, but no description
    const auto at = shownAt_.find(&e);
    if (at == shownAt_.end()) { // the panel itself, or an array's element: repaint it all
        RECT client;
        GetClientRect(hwnd_, &client);
        form_.invalidate(hwnd_, client);
        return;
    }
    const Shown now = shown(e);
    if (now == at->second)
        return;
    RECT both;
    UnionRect(&both, &at->second.footprint, &now.footprint);
    form_.invalidate(hwnd_, both);
    at->second = now;
}

void Panel::paint(HDC dc, const RECT& dirty)
{
    RECT client;
    GetClientRect(hwnd_, &client);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, dirty.left, dirty.top, dirty.right, dirty.bottom);
    SetBkColor(dc, colour(panel_.backColour));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &dirty, nullptr, 0, nullptr); // fills with the background colour
    if (GetFocus() == hwnd_)
        DrawFocusRect(dc, &client);
    {
        Pens pens(dc);
        for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
            if (it->array)
                drawArray(dc, pens, *it->array, dirty);
            else if (!it->element->shown() || !extent(*it->element).meets(dirty))
                continue;
            else if (it->element->kind() == scene::Kind::Line)
                drawLine(dc, pens, static_cast<const scene::Line&>(*it->element));
            else
                drawShape(dc, pens, static_cast<const scene::Shape&>(*it->element));
        }
    }
    RestoreDC(dc, saved);
}

LRESULT CALLBACK Panel::proc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Panel*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (auto* self = reinterpret_cast<Panel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
        return self->handle(message, wp, lp);
    return DefWindowProcW(hwnd, message, wp, lp);
}

LRESULT Panel::handle(UINT message, WPARAM wp, LPARAM lp)
{
    const double x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    switch (message) {
    case WM_ERASEBKGND: return 1; // WM_PAINT covers every pixel
    case WM_NCDESTROY: {
        HWND gone = hwnd_;
        hwnd_ = nullptr;
        SetWindowLongPtrW(gone, GWLP_USERDATA, 0);
        return DefWindowProcW(gone, message, wp, lp);
    }
    case WM_PAINT: buffer_.paint(hwnd_, [this](HDC dc, const RECT& dirty) { paint(dc, dirty); }); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(hwnd_, nullptr, FALSE); break;
    case WM_GETDLGCODE:
        if (panel_.KeyDown)
            return DLGC_WANTARROWS;
        break;
    case WM_KEYDOWN:
        if (const auto step = scrollStep(wp); step && panel_.KeyDown) {
            panel_.keyDown(*step);
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT && panel_.takesPointer()) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (!panel_.takesPointer())
            break;
        SetFocus(hwnd_);
        SetCapture(hwnd_);
        panel_.mouseDown(message == WM_LBUTTONDOWN ? 1 : message == WM_RBUTTONDOWN ? 2 : 4, x, y);
        return 0;
    case WM_MOUSEMOVE:
        // As in a toolkit's widget: moves reach the model while a button is held.
        if (panel_.takesPointer() && buttonFlags(wp))
            panel_.mouseMove(buttonFlags(wp), x, y);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (!buttonFlags(wp) && GetCapture() == hwnd_)
            ReleaseCapture();
        return 0;
    }
    return DefWindowProcW(hwnd_, message, wp, lp);
}

} // namespace winui
