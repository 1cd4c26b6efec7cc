#include "runtime/win32/panel.h"

#include "runtime/win32/look.h"
#include "runtime/win32/window.h"

#include <algorithm>
#include <map>
#include <optional>

namespace winui {
namespace {

using Step = scene::HScrollBar::Step;

constexpr int focusWidth = 2; // the focus frame's, in the scene's pixels

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
    bool meets(const Extent& r) const // with a pixel of margin for the rounding
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

// One-pixel pens by colour, for one paint: as wide as the scale makes a pixel's line.
class Pens {
public:
    Pens(HDC dc, const Scale& scale) : scale(scale), dc_(dc), old_(SelectObject(dc, GetStockObject(BLACK_PEN))) {}
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
        if (!pen && scale.pen() == 1)
            pen = CreatePen(PS_SOLID, 1, rgb);
        else if (!pen) { // square ends, as Qt's, and so ends that meet join
            const LOGBRUSH brush{BS_SOLID, rgb, 0};
            pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE | PS_JOIN_MITER, DWORD(scale.pen()), &brush,
                               0, nullptr);
        }
        SelectObject(dc_, pen);
        return rgb;
    }
    const Scale& scale;

private:
    HDC dc_;
    HGDIOBJ old_;
    std::map<COLORREF, HPEN> pens_;
};

// GDI leaves out a thin line's last pixel; it is set, so that a line of no length still shows as its one pixel.
// A wider pen's square end covers it.
void drawLine(HDC dc, Pens& pens, const scene::Line& l)
{
    const Scale& s = pens.scale;
    const COLORREF rgb = pens.use(l.colour());
    MoveToEx(dc, s(l.x1()), s(l.y1()), nullptr);
    LineTo(dc, s(l.x2()), s(l.y2()));
    if (s.pen() == 1)
        SetPixelV(dc, s(l.x2()), s(l.y2()), rgb);
}

void drawShape(HDC dc, Pens& pens, const scene::Shape& s)
{
    const Scale& scale = pens.scale;
    pens.use(s.borderColour);
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    if (s.figure == scene::Shape::Circle) {
        const double d = std::min(s.width(), s.height());
        const double x = s.left() + (s.width() - d) / 2, y = s.top() + (s.height() - d) / 2;
        Ellipse(dc, scale(x), scale(y), scale(x + d) + 1, scale(y + d) + 1);
    } else {
        const RECT r = scale.box(s);
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
    SelectObject(dc, oldBrush);
}

// A graph's segments that join end to start become one polyline, and the runs of one colour one call: one pen for
// hundreds of lines.
void drawArray(HDC dc, Pens& pens, const scene::LineArray& a, const Extent& dirty)
{
    const Scale& s = pens.scale;
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
            if (pens.scale.pen() == 1)
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
        const POINT from{s(l->x1()), s(l->y1())}, to{s(l->x2()), s(l->y2())};
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
    const RECT r = form.scale().box(panel);
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
    const Scale& s = form_.scale();
    const int margin = 1 + s.pen();
    r = {s(x.left) - margin, s(x.top) - margin, s(x.right) + margin + 1, s(x.bottom) + margin + 1};
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
    const Scale& s = form_.scale();
    const Extent inScene{s.scene(dirty.left), s.scene(dirty.top), s.scene(dirty.right), s.scene(dirty.bottom)};
    {
        Pens pens(dc, s);
        for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
            if (it->array)
                drawArray(dc, pens, *it->array, inScene);
            else if (!it->element->shown() || !extent(*it->element).meets(inScene))
                continue;
            else if (it->element->kind() == scene::Kind::Line)
                drawLine(dc, pens, static_cast<const scene::Line&>(*it->element));
            else
                drawShape(dc, pens, static_cast<const scene::Shape&>(*it->element));
        }
    }
    if (GetFocus() == hwnd_) {
        // As plain to see as a button's focus: a solid frame in the selection's colour inside the sunken edge.
        const HBRUSH brush = GetSysColorBrush(COLOR_HIGHLIGHT);
        const int w = s(focusWidth);
        const RECT sides[] = {{0, 0, client.right, w},
                              {0, client.bottom - w, client.right, client.bottom},
                              {0, w, w, client.bottom - w},
                              {client.right - w, w, client.right, client.bottom - w}};
        for (const RECT& side : sides)
            FillRect(dc, &side, brush);
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

void Panel::layOut()
{
    buffer_.reset();
    for (auto& [e, at] : shownAt_)
        at = shown(*e);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT Panel::handle(UINT message, WPARAM wp, LPARAM lp)
{
    const Scale& s = form_.scale();
    const double x = s.scene(GET_X_LPARAM(lp)), y = s.scene(GET_Y_LPARAM(lp));
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
