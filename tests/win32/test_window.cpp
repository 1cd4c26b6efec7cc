// The Win32 binding on a real window under a real desktop, through the cases both bindings run (cases.h): keys
// and clicks sent as the user's input, and what the window shows read back from its child windows, its scroll bar
// and the screen's pixels, against the scene drawn afresh.
#include "desktop.h"
#include "tests/cases.h"
#include "tests/refuse.h"

#include "app/addresses.h"
#include "runtime/error.h"
#include "scene/icon.h"

#include <initguid.h> // defines IID_IAccessible here

#include <oleacc.h>

#include <set>

using namespace desk;
using scene::latin1;

namespace {

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

POINT onCircle(HWND circle, int degrees, double distance)
{
    const cases::Point p = cases::onCircle(degrees, distance);
    return onScreen(circle, p.x, p.y);
}

// The pens the program holds: this file's imports of CreatePen and DeleteObject, which the binding linked into it
// shares, are pointed at counters (GetGuiResources counts nothing under Wine).
std::set<HGDIOBJ> pens;
decltype(&CreatePen) createPen;
decltype(&DeleteObject) deleteObject;

void countPens()
{
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; import->Name; ++import) {
        auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        auto* address = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; name->u1.AddressOfData; ++name, ++address) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal))
                continue;
            const std::string f = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData)->Name;
            ULONG_PTR hook = 0;
            if (f == "CreatePen") {
                createPen = reinterpret_cast<decltype(createPen)>(address->u1.Function);
                hook = reinterpret_cast<ULONG_PTR>(+[](int style, int width, COLORREF c) {
                    HPEN pen = createPen(style, width, c);
                    pens.insert(pen);
                    return pen;
                });
            } else if (f == "DeleteObject") {
                deleteObject = reinterpret_cast<decltype(deleteObject)>(address->u1.Function);
                hook = reinterpret_cast<ULONG_PTR>(+[](HGDIOBJ o) {
                    pens.erase(o);
                    return deleteObject(o);
                });
            }
            DWORD old;
            if (hook && VirtualProtect(&address->u1.Function, sizeof hook, PAGE_READWRITE, &old))
                address->u1.Function = hook, VirtualProtect(&address->u1.Function, sizeof hook, old, &old);
        }
    }
}

void panelsAsDrawn(Harness& h)
{
    for (const char* name : {"frmsec1", "frmsec2", "frmsec3"}) {
        check::Row panel(name);
        // Inside the 2-pixel sunken border, where the scene's coordinates start.
        const auto& box = h.form.scene.get<scene::PictureBox>(name);
        const RECT inner{0, 0, int(std::lround(box.width())) - 4, int(std::lround(box.height())) - 4};
        const RECT client = clientOf(h.w(name));
        CHECK(EqualRect(&inner, &client) && grab(h.w(name)) == expected(h.form.scene, name, inner));
    }
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

// Each panel as the screen shows it after partial repaints, against the scene drawn afresh; the frames over their
// labels; the captions in their fonts. The window made before the load draws the same.
void pictures()
{
    {
        Harness late(false);
        late.show();
        panelsAsDrawn(late);
    }
    Harness h;
    h.show();
    countPens();
    for (const cases::PictureRow& row : cases::pictures) {
        check::Row named(row.name);
        cases::reach(h.form, row, [&] { h.settle(20); });
        h.settle();
        panelsAsDrawn(h);
        const Picture window = grab(h.hwnd());
        cases::frames(
            h.form.scene, [&](int x, int y) { return window.at(x, y); }, colourOf);
    }
    CHECK(createPen && deleteObject && pens.empty()); // every pen of every paint deleted
    CHECK(shows(h, h.form.lblalfa, L"α = 30°"));
    CHECK(shows(h, h.form.lblseno2, L"α = 0.5") && shows(h, h.form.lblcoseno2, L"α ≈ 0.866025403784439"));
    CHECK(shows(h, h.form.scene.get<scene::Label>("lblseno1"), L"sen"));
    CHECK(shows(h, h.form.scene.get<scene::Label>("Label1"), L"Varnelho Software"));
}

void scrollBarKeys()
{
    Harness h;
    h.show();
    int writes = 0;
    h.form.scene.watchers.push_back(
        [&](const scene::Element& e, scene::Prop p) { writes += &e == &h.form.lblalfa && p == scene::Prop::Caption; });
    const WORD vk[] = {VK_RIGHT, VK_DOWN, VK_LEFT, VK_UP, VK_NEXT, VK_PRIOR, VK_HOME, VK_END};
    for (const char* target : cases::keyTargets)
        for (const cases::KeyRow& row : cases::keys) {
            check::Row named(std::string(target) + ": " + row.name + " from 100");
            SetFocus(h.w(target));
            h.form.brangulo.setValue(100);
            writes = 0;
            keys({vk[int(row.key)]});
            CHECK(pumpUntil(
                h.hwnd(), [&] { return h.form.brangulo.value() == row.expected; }, 2000));
            h.settle(30);
            CHECK_EQ(GetFocus(), h.w(target));
            CHECK_EQ(h.scrollPos(), row.expected);
            CHECK_EQ(h.form.lblalfa.text(), latin1("a = ") + std::to_string(row.expected) + latin1("°"));
            CHECK_EQ(writes, row.key == cases::Key::End ? 2 : 1); // End's nested run draws 0, then the outer one
        }
    h.form.brangulo.setValue(360); // a program's move to 360 folds on the control too
    CHECK_EQ(h.scrollPos(), 0);
}

void checkBoxesAndButtons()
{
    Harness h;
    h.show();
    HWND box = h.w("chseno");
    click(onScreen(box, 6, clientOf(box).bottom / 2));
    CHECK(pumpUntil(h.hwnd(), [&] { return h.form.chseno.value() == 0; }));
    CHECK(SendMessageW(box, BM_GETCHECK, 0, 0) == BST_UNCHECKED && GetFocus() == box);
    keys({VK_SPACE});
    CHECK(pumpUntil(h.hwnd(), [&] { return h.form.chseno.value() == 1; }));
    CHECK_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), LRESULT(BST_CHECKED));
    h.form.chseno.setValue(2); // grayed: shown as such, and a click checks it
    CHECK_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), LRESULT(BST_INDETERMINATE));
    click(onScreen(box, 6, clientOf(box).bottom / 2));
    CHECK(pumpUntil(h.hwnd(), [&] { return h.form.chseno.value() == 1; }));
    CHECK_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), LRESULT(BST_CHECKED));
    click(middleOf(h.w("btpage")));
    click(middleOf(h.w("btemail")));
    CHECK(pumpUntil(h.hwnd(), [&] { return h.addresses.opened.size() == 2; }));
    keys({VK_SPACE}); // the clicked button has the focus
    CHECK(pumpUntil(h.hwnd(), [&] { return h.addresses.opened.size() == 3; }));
    CHECK(h.addresses.opened == (std::vector<std::string>{address::homePage, address::email, address::email}));
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

// The real services. The shell is handed the address and returns, and no window comes of it here, where the
// desktop's browser is turned off; what it gets reads back as the same characters in the system's code page. The
// message box, closed from a timer while it waits: the application's title, the text, OK alone, no icon.
void services()
{
    const int before = visibleTopLevelWindows();
    const ULONGLONG t0 = GetTickCount64();
    winui::ShellOpenAddress().open(address::homePage);
    CHECK(GetTickCount64() - t0 < 5000);
    pump(nullptr, 800);
    CHECK_EQ(visibleTopLevelWindows(), before);
    const std::string page = "www.example.org/página/";
    wchar_t back[64] = {};
    MultiByteToWideChar(CP_ACP, 0, winui::ansiText(page).c_str(), -1, back, 64);
    CHECK_EQ(std::wstring(back), winui::widen(page));

    static struct {
        std::wstring title, text;
        bool ok = false, others = false, icon = false;
    } seen;
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
    CHECK(seen.ok && !seen.others && !seen.icon);
}

// The focus at the first activation, given or refused, and after another window was active; then Tab's round.
void focusAndTab()
{
    for (const bool refused : {false, true}) {
        check::Row named(refused ? "refused: the scroll bar is disabled" : "given to the scroll bar");
        Harness h;
        if (refused)
            EnableWindow(h.w("brangulo"), FALSE);
        h.show();
        const std::vector<std::string> reports =
            refused ? std::vector<std::string>{"Ocorreu um erro: " + rt::errorText(rt::InvalidCall)}
                    : std::vector<std::string>{};
        CHECK(h.messages.shown == reports);
        CHECK_EQ(GetFocus(), h.w(refused ? "frmsec1" : "brangulo"));
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
        if (refused)
            continue;
        SetFocus(h.w("frmsec1"));
        for (const char* next : cases::tabCycle) {
            check::Row tab(next);
            keys({VK_TAB});
            CHECK(pumpUntil(
                h.hwnd(), [&] { return GetFocus() == h.w(next); }, 2000));
        }
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
    CHECK(h.form.lblalfa.Caption() == latin1("a = 2°") && h.scrollPos() == 2);
    h.form.scene.faults = nullptr;
}

void pressesOnThePanels()
{
    Harness h;
    h.show();
    for (const cases::PressRow& row : cases::presses) {
        check::Row named(row.name);
        h.form.brangulo.setValue(10);
        const bool left = row.button == 1;
        click(onScreen(h.w(row.panel), row.at.x, row.at.y), left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN,
              left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
        h.settle(150);
        CHECK_EQ(int(h.form.brangulo.value()), row.expected);
        CHECK_EQ(h.scrollPos(), row.expected);
        CHECK_EQ(h.form.lblalfa.text(), latin1("a = ") + std::to_string(row.expected) + latin1("°"));
    }
    CHECK(h.messages.shown.empty());
}

// Along the circle from 0° to 120° with the button held: the scroll bar and the picture follow before the button
// comes up, at most one change per degree. A hand over the two panels that turn the angle, the arrow elsewhere.
void pointer()
{
    Harness h;
    h.show();
    HWND circle = h.w("frmsec1");
    int changes = 0;
    h.form.scene.watchers.push_back(
        [&](const scene::Element& e, scene::Prop p) { changes += &e == &h.form.lblalfa && p == scene::Prop::Caption; });
    mouse(0, onCircle(circle, 0, 100)); // at 100 px a pixel turns the direction by under half a degree
    mouse(MOUSEEVENTF_LEFTDOWN, onCircle(circle, 0, 100));
    for (int a = 1; a <= 120; ++a)
        mouse(0, onCircle(circle, a, 100));
    CHECK(pumpUntil(h.hwnd(), [&] { return h.form.brangulo.value() == 120; }));
    h.settle(100);
    CHECK(h.scrollPos() == 120 && changes >= 1 && changes <= 120);
    CHECK_EQ(GetCapture(), circle);
    SetFocus(h.w("brangulo"));
    h.settle();
    panelsAsDrawn(h);
    mouse(MOUSEEVENTF_LEFTUP, onCircle(circle, 120, 100));
    h.settle();
    CHECK_EQ(GetCapture(), HWND(nullptr));

    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND), arrow = LoadCursorW(nullptr, IDC_ARROW);
    const std::pair<POINT, HCURSOR> rows[] = {{middleOf(h.w("frmsec1")), hand},
                                              {middleOf(h.w("frmsec3")), hand},
                                              {middleOf(h.w("frmsec2")), arrow},
                                              {onScreen(h.hwnd(), 100, 300), arrow}};
    for (const auto& [at, expected] : rows) {
        mouse(0, at);
        CHECK(pumpUntil(
            h.hwnd(), [&] { return GetCursor() == expected; }, 1000));
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
    CHECK(tracks > 0 && earlyChanges == 0 && h.form.brangulo.value() > 90);
    CHECK_EQ(h.scrollPos(), int(h.form.brangulo.value()));
}

// Controls are named by their own texts, panels and the scroll bar by their window texts, which screen readers read
// through the accessibility interface: here Wine's, which names a window by its text.
void screenReaders()
{
    Harness h;
    const std::pair<const char*, const wchar_t*> rows[] = {{"frmsec1", L"Círculo trigonométrico"},
                                                           {"frmsec3", L"Gráficos das funções"},
                                                           {"frmsec2", L"Reta tangente"},
                                                           {"brangulo", L"Ângulo α em graus"},
                                                           {"chseno", L"Função Seno"},
                                                           {"chcoseno", L"Função Co-seno"},
                                                           {"chtangente", L"Função Tangente"},
                                                           {"btpage", L"Home Page"},
                                                           {"btemail", L"E-Mail"}};
    for (const auto& [name, text] : rows) {
        check::Row named(name);
        IAccessible* object = nullptr;
        if (!CHECK(SUCCEEDED(AccessibleObjectFromWindow(h.w(name), DWORD(OBJID_CLIENT), IID_IAccessible,
                                                        reinterpret_cast<void**>(&object)))))
            continue;
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR said = nullptr;
        CHECK(SUCCEEDED(object->get_accName(self, &said)) && said);
        CHECK_EQ(std::wstring(said ? said : L""), std::wstring(text));
        SysFreeString(said);
        object->Release();
    }
}

} // namespace

int main()
{
    CoInitialize(nullptr);
    winui::registerClasses(GetModuleHandleW(nullptr));
    CHECK_EQ(winui::screenTwipsPerPixel(), 15.0); // the desktop here has 96 dots per inch
    return check::run({{"windowAsLaidOut", windowAsLaidOut},
                       {"pictures", pictures},
                       {"scrollBarKeys", scrollBarKeys},
                       {"checkBoxesAndButtons", checkBoxesAndButtons},
                       {"services", services},
                       {"focusAndTab", focusAndTab},
                       {"untrappedErrorShown", untrappedErrorShown},
                       {"pressesOnThePanels", pressesOnThePanels},
                       {"pointer", pointer},
                       {"thumbDrag", thumbDrag},
                       {"screenReaders", screenReaders}});
}
