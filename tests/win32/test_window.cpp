// The Win32 binding on a real window under a real desktop: keys and clicks sent as the user's input, and what the
// window shows read back from its child windows, its scroll bar and the screen's pixels.
#include "desktop.h"
#include "tests/refuse.h"

#include "app/addresses.h"
#include "runtime/error.h"
#include "scene/icon.h"

#include <initguid.h> // defines IID_IAccessible here

#include <oleacc.h>

#include <cmath>

using namespace desk;
using scene::latin1;

namespace {

const COLORREF gray = RGB(0x80, 0x80, 0x80), white = RGB(255, 255, 255), blue = RGB(0, 0, 255), red = RGB(255, 0, 0),
               magenta = RGB(255, 0, 255);
COLORREF text() { return GetSysColor(COLOR_WINDOWTEXT); }

// The circle panel's point at that angle and distance from the centre (120, 117), in its inner area.
POINT onCircle(double degrees, double distance)
{
    const double a = degrees / 180 * 3.141592653589793;
    return {winui::pixel(120 + distance * std::cos(a)), winui::pixel(117 - distance * std::sin(a))};
}

RECT clientOf(HWND w)
{
    RECT r;
    GetClientRect(w, &r);
    return r;
}

POINT middleOf(HWND w)
{
    const RECT r = clientOf(w);
    return onScreen(w, r.right / 2, r.bottom / 2);
}

void windowAsLaidOut()
{
    Harness h;
    h.show();
    CHECK_EQ(windowText(h.hwnd()), std::wstring(L"Rodelume 2.0"));
    const RECT client = clientOf(h.hwnd());
    CHECK(client.right == 633 && client.bottom == 425);
    const LONG style = GetWindowLongW(h.hwnd(), GWL_STYLE);
    CHECK((style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU));
    CHECK(!(style & WS_THICKFRAME) && !(style & WS_MAXIMIZEBOX)); // a fixed frame
    CHECK(SendMessageW(h.hwnd(), WM_GETICON, ICON_SMALL, 0));
    // The icon on the window is the program's: its 32-pixel true-colour image, drawn over white, is the model's
    // drawing blended by its alpha, within a step of rounding.
    const auto icon = reinterpret_cast<HICON>(SendMessageW(h.hwnd(), WM_GETICON, ICON_BIG, 0));
    for (const scene::IconArgbImage& image : scene::iconArgbImages())
        if (image.size == 32 && CHECK(icon)) {
            HDC screen = GetDC(nullptr);
            HDC dc = CreateCompatibleDC(screen);
            HBITMAP bmp = CreateCompatibleBitmap(screen, 32, 32);
            ReleaseDC(nullptr, screen);
            const HGDIOBJ old = SelectObject(dc, bmp);
            RECT all{0, 0, 32, 32};
            FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
            const Picture drawn = copy(dc, all);
            SelectObject(dc, old);
            DeleteObject(bmp);
            DeleteDC(dc);
            int same = 0;
            for (std::size_t i = 0; i < image.argb.size(); ++i) {
                const std::uint32_t p = image.argb[i], a = p >> 24;
                bool close = true;
                for (const int shift : {16, 8, 0}) {
                    const int over = int(((p >> shift & 0xFF) * a + 255 * (255 - a) + 127) / 255);
                    const int got = int(drawn.pixels[i] >> (16 - shift) & 0xFF); // COLORREF is 0x00BBGGRR
                    close = close && std::abs(got - over) <= 1;
                }
                same += close;
            }
            CHECK_EQ(same, 32 * 32);
        }
    RECT frame;
    GetWindowRect(h.hwnd(), &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(h.hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    const scene::Point at = scene::startPosition(area.left, area.top, area.right - area.left, area.bottom - area.top,
                                                 frame.right - frame.left, frame.bottom - frame.top);
    CHECK(frame.left == at.x && frame.top == at.y && at.x > area.left && at.y > area.top);
}

// The picture at start, whether the window is made before the load or after it.
struct DesignTimeRow {
    const char* name;
    bool loadFirst;
} const designTimeRows[] = {{"loaded before the window", true}, {"loaded after the window", false}};

void designTimePicture()
{
    for (const DesignTimeRow& row : designTimeRows) {
        check::Row named(row.name);
        Harness h(row.loadFirst);
        h.show();
        const Picture circle = grab(h.w("frmsec1")), graphs = grab(h.w("frmsec3"));
        CHECK(circle.width == 237 && circle.height == 221);              // the inner area, inside the sunken edge
        CHECK(circle.at(10, 117) == gray && circle.at(120, 10) == gray); // the axes
        CHECK(circle.around(179, 58, text()) && circle.around(61, 176, text())); // the circle at 45° and 225°
        CHECK_EQ(circle.at(160, 117), text()); // the radius lies over the cosine at angle 0
        CHECK_EQ(graphs.at(0, 200), white);    // the marker
        CHECK(graphs.around(30, 75, blue) && graphs.around(60, 75, red) && graphs.around(45, 33, magenta));
        CHECK_EQ(graphs.at(300, 117), gray);
        CHECK_EQ(grab(h.w("frmsec2")).count(magenta), 0); // the tangent line starts hidden
        CHECK(shows(h, h.form.lblalfa, L"α = 0°"));
        CHECK(shows(h, h.form.lblseno2, L"α = 0") && shows(h, h.form.lblcoseno2, L"α = 1"));
        CHECK(shows(h, h.form.scene.get<scene::Label>("lblseno1"), L"sen"));
        CHECK(shows(h, h.form.scene.get<scene::Label>("Label1"), L"Varnelho Software"));
        // The coloured frames lie over the labels they surround: their top edges cross the value captions.
        const Picture window = grab(h.hwnd());
        for (const int x : {60, 150, 300}) {
            CHECK_EQ(window.at(x, 296), blue);    // Shape3 over lblseno2
            CHECK_EQ(window.at(x, 336), red);     // Shape2 over lblcoseno2
            CHECK_EQ(window.at(x, 376), magenta); // Shape1 over lbltg2
            CHECK_EQ(window.at(x, 264), text());  // Shape4 over lblalfa
        }
    }
}

void fortyFiveRightKeys()
{
    Harness h;
    h.show();
    CHECK_EQ(GetFocus(), h.w("brangulo")); // given at the first activation
    keys({VK_RIGHT}, 45);
    CHECK(pumpUntil(h.hwnd(), [&] { return h.form.brangulo.value() == 45; }));
    h.settle(150);
    CHECK_EQ(int(h.form.brangulo.value()), 45);
    CHECK_EQ(h.scrollPos(), 45);
    CHECK_EQ(h.form.lblalfa.text(), latin1("a = 45°"));
    CHECK_EQ(h.form.lblseno2.text(), latin1("a » 0.707106781186547"));
    CHECK(shows(h, h.form.lblalfa, L"α = 45°"));
    CHECK(shows(h, h.form.lblseno2, L"α ≈ 0.707106781186547"));
    CHECK(shows(h, h.form.lblcoseno2, L"α ≈ 0.707106781186547"));
    CHECK(shows(h, h.form.lbltg2, L"α = 1"));
    const Picture circle = grab(h.w("frmsec1")), graphs = grab(h.w("frmsec3"));
    // The sine runs down from the radius' end (179.4, 57.6) to the axis; the tangent towards the axis at 238.8.
    CHECK(circle.around(179, 62, blue) && circle.around(179, 87, blue) && circle.around(179, 112, blue));
    CHECK(circle.around(209, 87, magenta) && circle.around(235, 113, magenta));
    CHECK_EQ(grab(h.w("frmsec2")).count(magenta), 0);
    CHECK(graphs.at(45, 215) == white && graphs.at(0, 215) != white);
}

// The scroll bar's keys, on it and on the two panels that turn the angle; the focus stays where it is.
struct KeyRow {
    const char* name;
    WORD key;
    int expected;
} const keyRows[] = {{"Right", VK_RIGHT, 101}, {"Down", VK_DOWN, 101},       {"Left", VK_LEFT, 99},
                     {"Up", VK_UP, 99},        {"Page Down", VK_NEXT, 105},  {"Page Up", VK_PRIOR, 95},
                     {"Home", VK_HOME, 0},     {"End folds to 0", VK_END, 0}};

void scrollBarKeys()
{
    Harness h;
    h.show();
    int writes = 0;
    h.form.scene.watchers.push_back(
        [&](const scene::Element& e, scene::Prop p) { writes += &e == &h.form.lblalfa && p == scene::Prop::Caption; });
    for (const char* target : {"brangulo", "frmsec1", "frmsec3"})
        for (const KeyRow& row : keyRows) {
            check::Row named(std::string(target) + ": " + row.name + " from 100");
            SetFocus(h.w(target));
            h.form.brangulo.setValue(100);
            writes = 0;
            keys({row.key});
            CHECK(pumpUntil(
                h.hwnd(), [&] { return h.form.brangulo.value() == row.expected; }, 2000));
            h.settle(30);
            CHECK_EQ(GetFocus(), h.w(target));
            CHECK_EQ(h.scrollPos(), row.expected);
            CHECK_EQ(h.form.lblalfa.text(), latin1("a = ") + std::to_string(row.expected) + latin1("°"));
            CHECK_EQ(h.form.vertical.X1(), double(row.expected));
            // End reaches 360: a nested run draws 0, then the outer run reads 0 and draws it again.
            CHECK_EQ(writes, row.key == VK_END ? 2 : 1);
        }
    h.form.brangulo.setValue(360); // a program's move to 360 folds on the control too
    CHECK_EQ(h.scrollPos(), 0);
}

void checkBoxes()
{
    Harness h;
    h.show();
    HWND box = h.w("chseno");
    click(onScreen(box, 6, clientOf(box).bottom / 2));
    CHECK(pumpUntil(h.hwnd(), [&] { return h.form.chseno.value() == 0; }));
    h.settle();
    CHECK_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), LRESULT(BST_UNCHECKED));
    Picture graphs = grab(h.w("frmsec3"));
    CHECK(graphs.count(blue) == 0 && graphs.count(red) > 300 && graphs.at(0, 200) == white);
    CHECK_EQ(GetFocus(), box);
    keys({VK_SPACE});
    CHECK(pumpUntil(h.hwnd(), [&] { return h.form.chseno.value() == 1; }));
    CHECK(SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED && h.form.fseno[369].Visible());
    h.form.chseno.setValue(2); // grayed: shown as such, and a click checks it
    CHECK_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), LRESULT(BST_INDETERMINATE));
    click(onScreen(box, 6, clientOf(box).bottom / 2));
    CHECK(pumpUntil(h.hwnd(), [&] { return h.form.chseno.value() == 1; }));
    h.settle();
    CHECK(SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED && grab(h.w("frmsec3")).count(blue) > 300);
    CHECK(h.messages.shown.empty());
}

void buttons()
{
    Harness h;
    h.show();
    click(middleOf(h.w("btpage")));
    click(middleOf(h.w("btemail")));
    CHECK(pumpUntil(h.hwnd(), [&] { return h.addresses.opened.size() == 2; }));
    keys({VK_SPACE}); // the clicked button has the focus
    CHECK(pumpUntil(h.hwnd(), [&] { return h.addresses.opened.size() == 3; }));
    const std::vector<std::string> opened = {address::homePage, address::email, address::email};
    CHECK(h.addresses.opened == opened);
    CHECK(h.messages.shown.empty());
}

int visibleTopLevelWindows()
{
    int n = 0;
    EnumWindows(
        [](HWND w, LPARAM count) -> BOOL {
            *reinterpret_cast<int*>(count) += IsWindowVisible(w) ? 1 : 0;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&n));
    return n;
}

// The real service, once: the shell is handed the address and returns, and no window comes of it here, where the
// desktop's browser is turned off.
void shellOpensAnAddress()
{
    const int before = visibleTopLevelWindows();
    winui::ShellOpenAddress shell;
    const ULONGLONG t0 = GetTickCount64();
    shell.open(address::homePage);
    CHECK(GetTickCount64() - t0 < 5000);
    pump(nullptr, 800);
    CHECK_EQ(visibleTopLevelWindows(), before);
    // What the shell gets reads back as the same characters in the system's code page.
    const std::string page = "www.example.org/página/";
    const std::string ansi = winui::ansiText(page);
    wchar_t back[64] = {};
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, back, 64);
    CHECK_EQ(std::wstring(back), winui::widen(page));
}

// The real message box, closed from a timer while it waits: the application's title, the text, OK alone, no icon.
void messageBoxService()
{
    static struct {
        std::wstring title, text;
        bool ok = false, others = false, icon = false;
    } seen;
    seen = {};
    Harness h;
    h.show();
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND box = GetForegroundWindow();
        wchar_t cls[16] = {};
        GetClassNameW(box, cls, 16);
        if (std::wstring(cls) != L"#32770")
            return;
        KillTimer(nullptr, id);
        seen.title = windowText(box);
        seen.text = windowText(GetDlgItem(box, 0xFFFF)); // the message box's text control
        const auto shown = [&](int id) { return IsWindowVisible(GetDlgItem(box, id)) != 0; };
        seen.ok = shown(IDOK);
        seen.others = shown(IDCANCEL) || shown(IDYES) || shown(IDNO) || shown(IDRETRY) || shown(IDABORT);
        seen.icon = SendDlgItemMessageW(box, 1088, STM_GETICON, 0, 0) != 0; // the icon's control holds none
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    winui::WinMessageBox box;
    box.owner = h.hwnd();
    box.show("Ocorreu um erro: Chamada de procedimento inválida");
    KillTimer(nullptr, timer);
    CHECK_EQ(seen.title, std::wstring(L"Rodelume"));
    CHECK_EQ(seen.text, std::wstring(L"Ocorreu um erro: Chamada de procedimento inválida"));
    CHECK(seen.ok);
    CHECK(!seen.others);
    CHECK(!seen.icon);
}

void tabOrder()
{
    Harness h;
    h.show();
    SetFocus(h.w("frmsec1"));
    // Never the disabled tangent panel, whose TabIndex lies between the check boxes and the buttons.
    for (const char* next :
         {"brangulo", "frmsec3", "chtangente", "chcoseno", "chseno", "btpage", "btemail", "frmsec1"}) {
        check::Row named(next);
        keys({VK_TAB});
        CHECK(pumpUntil(
            h.hwnd(), [&] { return GetFocus() == h.w(next); }, 2000));
    }
    CHECK(h.messages.shown.empty() && h.addresses.opened.empty());
}

// The focus at the first activation, and after another window was active.
struct FocusRow {
    const char* name;
    bool refused;
} const focusRows[] = {{"given to the scroll bar", false}, {"refused: the scroll bar is disabled", true}};

void focusAtStartAndLater()
{
    for (const FocusRow& row : focusRows) {
        check::Row named(row.name);
        Harness h;
        if (row.refused)
            EnableWindow(h.w("brangulo"), FALSE);
        h.show();
        const std::vector<std::string> reports =
            row.refused ? std::vector<std::string>{"Ocorreu um erro: " + rt::errorText(rt::InvalidCall)}
                        : std::vector<std::string>{};
        CHECK(h.messages.shown == reports);
        CHECK_EQ(GetFocus(), h.w(row.refused ? "frmsec1" : "brangulo"));
        // Coming back from another window leaves the focus where the user put it, and reports nothing again.
        SetFocus(h.w("chtangente"));
        HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 80, 40, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(other);
        CHECK(pumpUntil(h.hwnd(), [&] { return GetForegroundWindow() == other; }));
        SetForegroundWindow(h.hwnd());
        CHECK(pumpUntil(h.hwnd(), [&] { return GetForegroundWindow() == h.hwnd(); }));
        h.settle();
        CHECK_EQ(GetFocus(), h.w("chtangente"));
        CHECK(h.messages.shown == reports);
        DestroyWindow(other);
    }
}

// A run-time error that no handler traps reaches the message-box service, and the program goes on.
void untrappedErrorShown()
{
    RefusedWrites refuse;
    Harness h;
    h.show();
    h.form.scene.faults = &refuse;
    refuse.element = &h.form.lblalfa;
    keys({VK_RIGHT});
    CHECK(pumpUntil(h.hwnd(), [&] { return h.messages.shown.size() == 1; }));
    refuse.element = &h.form.fseno[200];
    click(onScreen(h.w("chseno"), 6, 12));
    CHECK(pumpUntil(h.hwnd(), [&] { return h.messages.shown.size() == 2; }));
    CHECK(h.messages.shown == std::vector<std::string>(2, rt::errorText(rt::InvalidPropertyValue)));
    refuse.element = nullptr;
    SetFocus(h.w("brangulo"));
    keys({VK_RIGHT});
    CHECK(pumpUntil(h.hwnd(), [&] { return h.form.brangulo.value() == 2; }));
    h.settle();
    CHECK_EQ(h.form.lblalfa.Caption(), latin1("a = 2°"));
    CHECK_EQ(h.scrollPos(), 2);
    h.form.scene.faults = nullptr;
}

struct PressRow {
    const char* name;
    const char* panel;
    POINT at; // in the panel's inner area
    DWORD down, up;
    int expected;
} const pressRows[] = {
    {"towards 300° inside the circle", "frmsec1", onCircle(300, 60), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 300},
    {"within 3 px of the centre: nothing", "frmsec1", {122, 118}, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 10},
    {"the secondary button: nothing", "frmsec1", onCircle(300, 60), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 10},
    {"graph x = 200", "frmsec3", {200, 100}, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 200},
    {"graph x = 362 folds to 2", "frmsec3", {362, 30}, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 2},
    {"the tangent panel takes no pointer", "frmsec2", {40, 40}, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 10},
};

void pressesOnThePanels()
{
    Harness h;
    h.show();
    for (const PressRow& row : pressRows) {
        check::Row named(row.name);
        h.form.brangulo.setValue(10);
        click(onScreen(h.w(row.panel), row.at.x, row.at.y), row.down, row.up);
        h.settle(150);
        CHECK_EQ(int(h.form.brangulo.value()), row.expected);
        CHECK_EQ(h.scrollPos(), row.expected);
        CHECK_EQ(h.form.lblalfa.text(), latin1("a = ") + std::to_string(row.expected) + latin1("°"));
    }
    CHECK(h.messages.shown.empty());
}

// Along the circle from 0° to 120° with the button held: the captions, the scroll bar and the picture follow before
// the button comes up, at most one change per degree.
void dragAlongTheCircle()
{
    Harness h;
    h.show();
    HWND circle = h.w("frmsec1");
    int changes = 0;
    h.form.scene.watchers.push_back(
        [&](const scene::Element& e, scene::Prop p) { changes += &e == &h.form.lblalfa && p == scene::Prop::Caption; });
    const auto at = [&](int degrees) {
        const POINT p = onCircle(degrees, 100); // at 100 px a pixel turns the direction by under half a degree
        return onScreen(circle, p.x, p.y);
    };
    mouse(0, at(0));
    mouse(MOUSEEVENTF_LEFTDOWN, at(0));
    for (int a = 1; a <= 120; ++a)
        mouse(0, at(a));
    CHECK(pumpUntil(h.hwnd(), [&] { return h.form.brangulo.value() == 120; }));
    h.settle(100);
    CHECK_EQ(h.scrollPos(), 120);
    CHECK(changes >= 1 && changes <= 120);
    CHECK_EQ(GetCapture(), circle);
    CHECK_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    const Picture picture = grab(circle);
    const POINT middle = onCircle(120, h.form.r / 2);
    CHECK(picture.around(middle.x, middle.y, text())); // the radius crosses the middle of its 120° direction
    CHECK_EQ(picture.at(160, 117), gray);              // and the axis shows where it lay at 0°
    mouse(MOUSEEVENTF_LEFTUP, at(120));
    h.settle();
    CHECK_EQ(GetCapture(), HWND(nullptr));
    CHECK_EQ(GetFocus(), circle);
}

// A hand over the two panels that turn the angle, the arrow elsewhere.
void cursors()
{
    Harness h;
    h.show();
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND), arrow = LoadCursorW(nullptr, IDC_ARROW);
    struct {
        const char* name;
        POINT at;
        HCURSOR expected;
    } const rows[] = {{"circle panel", middleOf(h.w("frmsec1")), hand},
                      {"graph panel", middleOf(h.w("frmsec3")), hand},
                      {"tangent panel", middleOf(h.w("frmsec2")), arrow},
                      {"the window under a caption", onScreen(h.hwnd(), 100, 300), arrow}};
    for (const auto& row : rows) {
        check::Row named(row.name);
        mouse(0, row.at);
        CHECK(pumpUntil(
            h.hwnd(), [&] { return GetCursor() == row.expected; }, 1000));
    }
}

// Dragging the scroll bar's thumb moves the thumb; the angle follows when it is let go.
void thumbDrag()
{
    static Harness* current;
    static int tracks, earlyChanges;
    Harness h;
    h.show();
    current = &h;
    tracks = earlyChanges = 0;
    int changes = 0;
    h.form.scene.watchers.push_back(
        [&](const scene::Element& e, scene::Prop p) { changes += &e == &h.form.lblalfa && p == scene::Prop::Caption; });
    // After each of the form's scroll notifications: while the thumb is dragged, the angle has not moved.
    HHOOK hook = SetWindowsHookExW(
        WH_CALLWNDPROCRET,
        [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
            const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lp);
            if (code == HC_ACTION && m->message == WM_HSCROLL && LOWORD(m->wParam) == SB_THUMBTRACK) {
                ++tracks;
                earlyChanges += current->form.brangulo.value() != 0;
            }
            return CallNextHookEx(nullptr, code, wp, lp);
        },
        nullptr, GetCurrentThreadId());
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    CHECK(GetScrollBarInfo(h.w("brangulo"), OBJID_CLIENT, &info));
    const POINT thumb{info.rcScrollBar.left + (info.xyThumbTop + info.xyThumbBottom) / 2,
                      (info.rcScrollBar.top + info.rcScrollBar.bottom) / 2};
    mouse(0, thumb);
    mouse(MOUSEEVENTF_LEFTDOWN, thumb);
    for (int dx = 20; dx <= 200; dx += 20)
        mouse(0, {thumb.x + dx, thumb.y});
    mouse(MOUSEEVENTF_LEFTUP, {thumb.x + 200, thumb.y});
    CHECK(pumpUntil(h.hwnd(), [&] { return h.form.brangulo.value() != 0; }));
    h.settle();
    UnhookWindowsHookEx(hook);
    CHECK(tracks > 0);
    CHECK_EQ(earlyChanges, 0);
    CHECK(h.form.brangulo.value() > 90);
    CHECK_EQ(h.scrollPos(), int(h.form.brangulo.value()));
    CHECK_EQ(changes, 1);
}

// Controls are named by their own texts, panels and the scroll bar by their window texts, which screen readers read.
void screenReaders()
{
    Harness h;
    const struct {
        const char* name;
        const wchar_t* text;
    } rows[] = {{"frmsec1", L"Círculo trigonométrico"},
                {"frmsec3", L"Gráficos das funções"},
                {"frmsec2", L"Reta tangente"},
                {"brangulo", L"Ângulo α em graus"},
                {"chseno", L"Função Seno"},
                {"chcoseno", L"Função Co-seno"},
                {"chtangente", L"Função Tangente"},
                {"btpage", L"Home Page"},
                {"btemail", L"E-Mail"}};
    for (const auto& row : rows) {
        check::Row named(row.name);
        CHECK_EQ(windowText(h.w(row.name)), std::wstring(row.text));
        // What the accessibility interface hands a screen reader: here Wine's, which names a window by its text.
        IAccessible* object = nullptr;
        if (!CHECK(SUCCEEDED(AccessibleObjectFromWindow(h.w(row.name), DWORD(OBJID_CLIENT), IID_IAccessible,
                                                        reinterpret_cast<void**>(&object)))))
            continue;
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        CHECK(SUCCEEDED(object->get_accName(self, &name)) && name);
        CHECK_EQ(std::wstring(name ? name : L""), std::wstring(row.text));
        SysFreeString(name);
        object->Release();
    }
}

void incrementalRepaintMatchesAFullPaint()
{
    Harness h;
    h.show();
    for (const int angle : {1, 45, 89, 90, 91, 180, 269, 270, 300, 359, 30}) {
        h.form.brangulo.setValue(std::int16_t(angle));
        h.settle(20);
    }
    h.form.chtangente.setValue(0);
    h.settle();
    const RECT captions{0, 256, 340, 425}; // the labels and frames, no control
    const auto now = [&] {
        return std::vector<Picture>{grab(h.w("frmsec1")), grab(h.w("frmsec2")), grab(h.w("frmsec3")),
                                    crop(grab(h.hwnd()), captions)};
    };
    const std::vector<Picture> partial = now();
    RedrawWindow(h.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    h.settle();
    const std::vector<Picture> fresh = now();
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        check::Row named(std::to_string(i));
        CHECK(partial[i] == fresh[i] && fresh[i].width > 0);
    }
}

// A few angles' pictures: the radius through the middle of its direction, the marker, the tangent panel's line.
struct AngleRow {
    const char* name;
    int angle;
    bool tangentPanel; // whether the tangent panel shows its line
} const angleRows[] = {{"1°", 1, false},
                       {"89°: the tangent runs out of the circle panel", 89, true},
                       {"180°", 180, false},
                       {"269°: out of it again", 269, true},
                       {"300°: and here", 300, true}};

void anglePictures()
{
    Harness h;
    h.show();
    for (const AngleRow& row : angleRows) {
        check::Row named(row.name);
        h.form.brangulo.setValue(std::int16_t(row.angle));
        h.settle(40);
        const Picture circle = grab(h.w("frmsec1")), graphs = grab(h.w("frmsec3"));
        const POINT middle = onCircle(row.angle, h.form.r / 2);
        CHECK(circle.around(middle.x, middle.y, text()));
        CHECK_EQ(graphs.at(row.angle, 220), white);
        const int line = grab(h.w("frmsec2")).count(magenta);
        CHECK(row.tangentPanel ? line > 40 : line == 0);
    }
}

} // namespace

int main()
{
    CoInitialize(nullptr);
    winui::registerClasses(GetModuleHandleW(nullptr));
    CHECK_EQ(winui::screenTwipsPerPixel(), 15.0); // the desktop here has 96 dots per inch
    return check::run({{"windowAsLaidOut", windowAsLaidOut},
                       {"designTimePicture", designTimePicture},
                       {"fortyFiveRightKeys", fortyFiveRightKeys},
                       {"scrollBarKeys", scrollBarKeys},
                       {"checkBoxes", checkBoxes},
                       {"buttons", buttons},
                       {"shellOpensAnAddress", shellOpensAnAddress},
                       {"messageBoxService", messageBoxService},
                       {"tabOrder", tabOrder},
                       {"focusAtStartAndLater", focusAtStartAndLater},
                       {"untrappedErrorShown", untrappedErrorShown},
                       {"pressesOnThePanels", pressesOnThePanels},
                       {"dragAlongTheCircle", dragAlongTheCircle},
                       {"cursors", cursors},
                       {"thumbDrag", thumbDrag},
                       {"screenReaders", screenReaders},
                       {"incrementalRepaintMatchesAFullPaint", incrementalRepaintMatchesAFullPaint},
                       {"anglePictures", anglePictures}});
}
