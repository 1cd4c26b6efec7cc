#include "runtime/win32/window.h"

#include "runtime/win32/look.h"
#include "scene/layout.h"

#include <algorithm>

namespace winui {
namespace {

constexpr DWORD formStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD formExStyle = WS_EX_CONTROLPARENT;

HICON bigIcon = nullptr, smallIcon = nullptr;
constexpr UINT flushMessage = WM_APP;

WNDPROC scrollBarProc = nullptr;

LRESULT CALLBACK wheelToParent(HWND w, UINT message, WPARAM wp, LPARAM lp)
{
    if (message == WM_MOUSEWHEEL)
        return SendMessageW(GetParent(w), message, wp, lp);
    return CallWindowProcW(scrollBarProc, w, message, wp, lp);
}

bool sameFont(const scene::Font& a, const scene::Font& b)
{
    return a.face == b.face && a.points == b.points && a.weight == b.weight && a.charset == b.charset;
}

UINT alignment(scene::Label::Align a)
{
    return a == scene::Label::RightJustify ? DT_RIGHT : a == scene::Label::Center ? DT_CENTER : DT_LEFT;
}

WPARAM checkState(std::int16_t value)
{
    return value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
}

} // namespace

void registerClasses(HINSTANCE instance)
{
    // The manifest's Common Controls 6, whose themed button and scroll bar classes replace user32's.
    LoadLibraryW(L"comctl32.dll");
    // The icon file's images: the system picks the size and depth it shows.
    bigIcon = static_cast<HICON>(LoadImageW(instance, L"IDI_ICON1", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                            GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    smallIcon = static_cast<HICON>(LoadImageW(instance, L"IDI_ICON1", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FormWindow::proc;
    wc.hInstance = instance;
    wc.hIcon = bigIcon;
    wc.hIconSm = smallIcon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = FormWindow::className;
    RegisterClassExW(&wc);
    Panel::registerClass(instance);
}

FormWindow::FormWindow(scene::Scene& scene) : scene_(scene)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    // Sized once its monitor, and so its scale, is known.
    CreateWindowExW(formExStyle, className, displayText(scene.caption, false).c_str(), formStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, this);
    scale_.dpi = windowDpi(hwnd_);
    const SIZE frame = frameSize();
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    fitClient();
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));

    // The window's own elements: labels and shapes, an earlier one above a later one; the controls in TabIndex
    // order, which the dialog manager's Tab follows.
    std::vector<scene::Boxed*> controls;
    for (const auto& e : scene.elements()) {
        auto* boxed = dynamic_cast<scene::Boxed*>(e.get());
        if (e->container() || !boxed)
            continue;
        const bool drawn = e->kind() == scene::Kind::Label || e->kind() == scene::Kind::Shape;
        (drawn ? drawn_ : controls).push_back(boxed);
    }
    std::reverse(drawn_.begin(), drawn_.end());
    for (scene::Boxed* e : drawn_)
        e->view = this;
    std::stable_sort(controls.begin(), controls.end(), [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });

    int id = 100;
    for (scene::Boxed* e : controls) {
        const RECT r = scale_.box(*e);
        const auto child = [&](const wchar_t* cls, const std::wstring& text, DWORD style) {
            return CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, hwnd_, reinterpret_cast<HMENU>(INT_PTR(id)),
                                   instance, nullptr);
        };
        HWND w = nullptr;
        switch (e->kind()) {
        case scene::Kind::PictureBox: {
            panels_.push_back(std::make_unique<Panel>(static_cast<scene::PictureBox&>(*e), *this, id));
            w = panels_.back()->hwnd();
            e->view = panels_.back().get();
            break;
        }
        case scene::Kind::CheckBox: {
            // Three states, none automatic: the model decides the next one, and its change comes back here.
            const auto& box = static_cast<scene::CheckBox&>(*e);
            w = child(L"BUTTON", displayText(box.caption, false), BS_3STATE);
            SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font(box.font)), FALSE);
            SendMessageW(w, BM_SETCHECK, checkState(box.value()), 0);
            e->view = this;
            break;
        }
        case scene::Kind::CommandButton:
            w = child(L"BUTTON", displayText(static_cast<scene::CommandButton&>(*e).caption, false), BS_PUSHBUTTON);
            SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font({})), FALSE);
            e->view = this;
            break;
        case scene::Kind::HScrollBar: {
            // A fixed-size thumb: a page of LargeChange would shorten the range the thumb can reach.
            const auto& bar = static_cast<scene::HScrollBar&>(*e);
            w = scrollBar_ = child(L"SCROLLBAR", widen(bar.accessibleName), SBS_HORZ);
            SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS | SIF_PAGE, bar.Min, bar.Max, 0, bar.value(), 0};
            SetScrollInfo(w, SB_CTL, &si, FALSE);
            // Whatever the control would make of the wheel (nothing, or the user's lines a notch), the form takes it,
            // as it takes the panels'.
            scrollBarProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&wheelToParent)));
            e->view = this;
            break;
        }
        default: break;
        }
        controls_.emplace_back(e, w);
        ++id;
    }

    scene.showInPanels([this](const scene::Element& panel) -> scene::PanelView* {
        for (const auto& [boxed, w] : controls_)
            if (boxed == &panel)
                return static_cast<Panel*>(boxed->view);
        return nullptr;
    });
    accessibility_ = std::make_unique<Accessibility>(scene, hwnd_, controls_);
}

FormWindow::~FormWindow()
{
    accessibility_.reset();
    for (const auto& e : scene_.elements())
        e->view = nullptr;
    for (const auto& a : scene_.arrays())
        for (int i = 0; i < a->count(); ++i)
            if (scene::Line* l = a->at(i))
                l->view = nullptr;
    panels_.clear();
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    for (const auto& [f, handle] : fonts_)
        DeleteObject(handle);
}

HWND FormWindow::control(std::string_view name) const
{
    for (const auto& [e, w] : controls_)
        if (e->name() == name)
            return w;
    return nullptr;
}

scene::Boxed* FormWindow::element(HWND control) const
{
    for (const auto& [e, w] : controls_)
        if (w == control)
            return e;
    return nullptr;
}

HFONT FormWindow::font(const scene::Font& f)
{
    for (const auto& [known, handle] : fonts_)
        if (sameFont(known, f))
            return handle;
    fonts_.emplace_back(f, createFont(f, scale_.twipsPerPixel()));
    return fonts_.back().second;
}

void FormWindow::invalidate(HWND w, const RECT& r)
{
    if (IsRectEmpty(&r))
        return;
    if (pending_.empty())
        PostMessageW(hwnd_, flushMessage, 0, 0);
    for (auto& [window, dirty] : pending_)
        if (window == w) {
            UnionRect(&dirty, &dirty, &r);
            return;
        }
    pending_.emplace_back(w, r);
}

SIZE FormWindow::frameSize() const
{
    RECT frame{0, 0, scale_(scene_.clientWidth), scale_(scene_.clientHeight)};
    // The frame's own measures at the window's scale, where Windows has them per monitor (10 and later).
    static const auto forDpi =
        user32Function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (!forDpi || !forDpi(&frame, formStyle, FALSE, formExStyle, UINT(scale_.dpi)))
        AdjustWindowRectEx(&frame, formStyle, FALSE, formExStyle);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void FormWindow::fitClient()
{
    // A frame whose measures are not yet the new scale's (or never are, where the system scales no frame per
    // monitor) is corrected by what the client area lacks.
    RECT client, frame;
    GetClientRect(hwnd_, &client);
    GetWindowRect(hwnd_, &frame);
    const int dx = scale_(scene_.clientWidth) - client.right, dy = scale_(scene_.clientHeight) - client.bottom;
    if (dx || dy)
        SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left + dx, frame.bottom - frame.top + dy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::centre()
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor))
        return;
    RECT frame;
    GetWindowRect(hwnd_, &frame);
    const RECT& area = monitor.rcWork;
    const scene::Point at = scene::startPosition(area.left, area.top, area.right - area.left, area.bottom - area.top,
                                                 frame.right - frame.left, frame.bottom - frame.top);
    SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::layOut()
{
    for (const auto& [known, handle] : fonts_)
        DeleteObject(handle);
    fonts_.clear();
    buffer_.reset();
    for (const auto& [e, w] : controls_) {
        const RECT r = scale_.box(*e);
        SetWindowPos(w, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        if (e->kind() == scene::Kind::CheckBox)
            SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font(static_cast<scene::CheckBox&>(*e).font)), FALSE);
        else if (e->kind() == scene::Kind::CommandButton)
            SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font({})), FALSE);
    }
    for (const auto& panel : panels_)
        panel->layOut();
}

void FormWindow::wheel(HWND over, int delta)
{
    if (over != wheelOver_) // a turn begun over another control does not carry over
        wheelTurn_.reset();
    wheelOver_ = over;
    const int steps = wheelTurn_.steps(delta);
    if (!steps)
        return;
    if (over == scrollBar_)
        static_cast<scene::HScrollBar&>(*element(scrollBar_)).wheel(steps);
    else if (scene::Boxed* e = element(over); e && e->kind() == scene::Kind::PictureBox)
        static_cast<scene::PictureBox&>(*e).wheel(steps);
}

bool FormWindow::newCaption(const scene::Label& label)
{
    for (auto& [e, text] : captions_)
        if (e == &label) {
            if (text == label.text())
                return false;
            text = label.text();
            return true;
        }
    captions_.emplace_back(&label, label.text());
    return true;
}

void FormWindow::changed(const scene::Element& e, scene::Prop p)
{
    if (!hwnd_)
        return;
    switch (e.kind()) {
    case scene::Kind::Label:
        // The handler sets every caption on every change; the same text repaints nothing.
        if (p == scene::Prop::Caption && !newCaption(static_cast<const scene::Label&>(e)))
            break;
        [[fallthrough]];
    case scene::Kind::Shape: invalidate(hwnd_, scale_.box(static_cast<const scene::Boxed&>(e))); break;
    case scene::Kind::CheckBox:
        if (p == scene::Prop::Value)
            SendMessageW(control(e.name()), BM_SETCHECK, checkState(static_cast<const scene::CheckBox&>(e).value()), 0);
        break;
    case scene::Kind::HScrollBar:
        if (p == scene::Prop::Value)
            SetScrollPos(scrollBar_, SB_CTL, static_cast<const scene::HScrollBar&>(e).value(), TRUE);
        break;
    default: break;
    }
}

void FormWindow::paint(HDC dc, const RECT& dirty)
{
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, dirty.left, dirty.top, dirty.right, dirty.bottom);
    SetBkColor(dc, colour(scene::colour::buttonFace));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &dirty, nullptr, 0, nullptr);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    for (const scene::Boxed* e : drawn_) {
        RECT r = scale_.box(*e);
        RECT meets;
        if (!e->shown() || !IntersectRect(&meets, &r, &dirty))
            continue;
        if (e->kind() == scene::Kind::Label) {
            const auto& label = static_cast<const scene::Label&>(*e);
            SetBkColor(dc, colour(label.backColour));
            ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
            SetTextColor(dc, colour(label.foreColour));
            SelectObject(dc, font(label.font));
            const std::wstring text = displayText(label.text(), label.font.symbol());
            DrawTextW(dc, text.c_str(), int(text.size()), &r,
                      alignment(label.alignment) | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        } else {
            const auto& shape = static_cast<const scene::Shape&>(*e);
            HPEN pen =
                CreatePen(scale_.pen() > 1 ? PS_INSIDEFRAME : PS_SOLID, scale_.pen(), colour(shape.borderColour));
            const HGDIOBJ old = SelectObject(dc, pen);
            if (shape.figure == scene::Shape::Circle)
                Ellipse(dc, r.left, r.top, r.right, r.bottom);
            else
                Rectangle(dc, r.left, r.top, r.right, r.bottom);
            SelectObject(dc, old);
            DeleteObject(pen);
        }
    }
    RestoreDC(dc, saved);
}

void FormWindow::scroll(WPARAM code)
{
    auto& bar = static_cast<scene::HScrollBar&>(*element(scrollBar_));
    using Step = scene::HScrollBar::Step;
    switch (LOWORD(code)) {
    case SB_LINELEFT: bar.move(Step::SmallSub); break;
    case SB_LINERIGHT: bar.move(Step::SmallAdd); break;
    case SB_PAGELEFT: bar.move(Step::LargeSub); break;
    case SB_PAGERIGHT: bar.move(Step::LargeAdd); break;
    case SB_LEFT: bar.move(Step::ToMin); break;
    case SB_RIGHT: bar.move(Step::ToMax); break;
    // While the thumb is dragged the control draws it where it is; the value follows when it is let go.
    case SB_THUMBPOSITION: bar.moveTo(static_cast<std::int16_t>(HIWORD(code))); break;
    default: break;
    }
}

LRESULT CALLBACK FormWindow::proc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
        return self->handle(message, wp, lp);
    return DefWindowProcW(hwnd, message, wp, lp);
}

LRESULT FormWindow::handle(UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_ERASEBKGND: return 1; // WM_PAINT covers every pixel
    case WM_PAINT: buffer_.paint(hwnd_, [this](HDC dc, const RECT& dirty) { paint(dc, dirty); }); return 0;
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED && lp) {
            scene::Boxed* e = element(reinterpret_cast<HWND>(lp));
            if (e && e->kind() == scene::Kind::CheckBox)
                static_cast<scene::CheckBox*>(e)->click();
            else if (e && e->kind() == scene::Kind::CommandButton)
                static_cast<scene::CommandButton*>(e)->click();
        }
        return 0; // Enter and Escape's IDOK and IDCANCEL mean nothing here
    case flushMessage:
        for (const auto& [w, dirty] : pending_)
            InvalidateRect(w, &dirty, FALSE);
        pending_.clear();
        return 0;
    case WM_GETOBJECT:
        if (const LRESULT object = accessibility_ ? accessibility_->answer(wp, lp) : 0)
            return object;
        break;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lp) == scrollBar_ && scrollBar_)
            scroll(wp);
        return 0;
    case WM_MOUSEWHEEL: {
        // Wherever Windows sends it (the focus, or the window under the pointer), it acts on what the pointer is over.
        POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ScreenToClient(hwnd_, &at);
        wheel(ChildWindowFromPointEx(hwnd_, at, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT),
              GET_WHEEL_DELTA_WPARAM(wp));
        return 0;
    }
    case WM_DPICHANGED: {
        // Another monitor's scale, or the user changed it: the window laid out anew where Windows puts it, its
        // size the scaled client area's exactly rather than the suggestion's, which is the old frame scaled.
        scale_.dpi = HIWORD(wp);
        layOut();
        const RECT& r = *reinterpret_cast<const RECT*>(lp);
        const SIZE frame = frameSize();
        SetWindowPos(hwnd_, nullptr, r.left, r.top, frame.cx, frame.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        fitClient();
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
        return 0;
    }
    case WM_ACTIVATE:
        // As a dialog does: the focus is kept while another window is active, and given back.
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus))
                savedFocus_ = focus;
            return 0;
        }
        if (!activated_) {
            activated_ = true;
            if (Activate)
                scene_.untrapped(Activate);
        } else if (savedFocus_ && IsWindow(savedFocus_)) {
            SetFocus(savedFocus_);
        }
        if (HWND focus = GetFocus(); !focus || !IsChild(hwnd_, focus))
            SetFocus(GetNextDlgTabItem(hwnd_, nullptr, FALSE));
        return 0;
    case WM_SETFOCUS:
        if (savedFocus_ && IsWindow(savedFocus_))
            SetFocus(savedFocus_);
        return 0;
    case WM_DESTROY:
        if (endsProgram)
            PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        HWND gone = hwnd_;
        hwnd_ = nullptr;
        SetWindowLongPtrW(gone, GWLP_USERDATA, 0);
        return DefWindowProcW(gone, message, wp, lp);
    }
    }
    return DefWindowProcW(hwnd_, message, wp, lp);
}

} // namespace winui
