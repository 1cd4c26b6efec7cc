// The Win32 binding on a real window under a real desktop, through the cases both bindings run (cases.h): keys
// and clicks sent as the user's input, and what the window shows read back from its child windows, its scroll bar
// and the screen's pixels, against the scene drawn afresh.
#include "desktop.h"

#include "app/addresses.h"
#include "runtime/error.h"

#include <set>

using namespace desk;

namespace {

POINT onCircle(HWND circle, int degrees, double distance)
{
    const cases::Point p = cases::onCircle(degrees, distance);
    return onScreen(circle, p.x, p.y);
}

// Points this program's import of a function, which the binding linked into it shares, at another; the original.
template <class F>
F divert(const char* function, F to)
{
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; import->Name; ++import) {
        auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        auto* address = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; name->u1.AddressOfData; ++name, ++address)
            if (!IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal) &&
                std::string(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData)->Name) == function) {
                const auto original = reinterpret_cast<F>(address->u1.Function);
                DWORD old;
                VirtualProtect(&address->u1.Function, sizeof(ULONG_PTR), PAGE_READWRITE, &old);
                address->u1.Function = reinterpret_cast<ULONG_PTR>(to);
                VirtualProtect(&address->u1.Function, sizeof(ULONG_PTR), old, &old);
                return original;
            }
    }
    return nullptr;
}

// The pens the program holds, counted (GetGuiResources counts nothing under Wine).
std::set<HGDIOBJ> pens;
decltype(&CreatePen) createPen;
decltype(&DeleteObject) deleteObject;

void countPens()
{
    createPen = divert(
        "CreatePen", +[](int style, int width, COLORREF c) {
            HPEN pen = createPen(style, width, c);
            pens.insert(pen);
            return pen;
        });
    deleteObject = divert(
        "DeleteObject", +[](HGDIOBJ o) {
            pens.erase(o);
            return deleteObject(o);
        });
}

void panelsAsDrawn(Harness& h)
{
    for (const char* name : {"frmsec1", "frmsec2", "frmsec3"}) {
        check::Row panel(name);
        // Inside the 2-pixel sunken border, where the scene's coordinates start.
        const auto& box = h.form.scene.get<scene::PictureBox>(name);
        const RECT inner{0, 0, int(std::lround(box.width())) - 4, int(std::lround(box.height())) - 4};
        RECT client;
        GetClientRect(h.w(name), &client);
        CHECK(EqualRect(&inner, &client) && grab(h.w(name)) == expected(h.form.scene, name, inner));
    }
}

// Each panel as the screen shows it after partial repaints, against the scene drawn afresh; the frames over their
// labels; every pen of every paint deleted; the window's icons; captions in their fonts.
void pictures()
{
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
    CHECK(createPen && deleteObject && pens.empty());
    CHECK(SendMessageW(h.hwnd(), WM_GETICON, ICON_BIG, 0) && SendMessageW(h.hwnd(), WM_GETICON, ICON_SMALL, 0));
    const Picture form = grab(h.hwnd());
    for (const auto& [name, text] :
         {std::pair{"lblcoseno2", L"α ≈ 0.866025403784439"}, {"lblseno1", L"sen"}, {"Label1", L"Varnelho Software"}}) {
        const auto& label = h.form.scene.get<scene::Label>(name);
        CHECK(shows(form, label, h.window->font(label.font), text));
    }
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
            CHECK(pumpUntil(h.hwnd(), [&] { return h.form.brangulo.value() == row.expected; }));
            h.settle(30);
            CHECK_EQ(GetFocus(), h.w(target));
            CHECK_EQ(h.scrollPos(), row.expected);
            CHECK_EQ(writes, row.key == cases::Key::End ? 2 : 1); // End's nested run draws 0, then the outer one
        }
    h.form.brangulo.setValue(360); // a program's move to 360 folds on the control too
    CHECK_EQ(h.scrollPos(), 0);
}

// Clicks: on a check box, then grayed, which a click checks; on both buttons; on the panels, from 10°.
void clicks()
{
    Harness h;
    h.show();
    HWND box = h.w("chseno");
    click(onScreen(box, 6, 8));
    CHECK(pumpUntil(h.hwnd(), [&] { return h.form.chseno.value() == 0; }));
    CHECK(SendMessageW(box, BM_GETCHECK, 0, 0) == BST_UNCHECKED && GetFocus() == box);
    h.form.chseno.setValue(2);
    CHECK_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), LRESULT(BST_INDETERMINATE));
    click(onScreen(box, 6, 8));
    CHECK(pumpUntil(h.hwnd(), [&] { return h.form.chseno.value() == 1; }));
    CHECK_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), LRESULT(BST_CHECKED));
    click(middleOf(h.w("btpage")));
    click(middleOf(h.w("btemail")));
    CHECK(pumpUntil(h.hwnd(), [&] { return h.addresses.opened.size() == 2; }));
    CHECK(h.addresses.opened == (std::vector<std::string>{address::homePage, address::email}));
    for (const cases::PressRow& row : cases::presses) {
        check::Row named(row.name);
        h.form.brangulo.setValue(10);
        const bool left = row.button == 1;
        click(onScreen(h.w(row.panel), row.at.x, row.at.y), left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN,
              left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
        h.settle(150);
        CHECK(h.form.brangulo.value() == row.expected && h.scrollPos() == row.expected);
    }
    CHECK(h.messages.shown.empty());
}

// The real message box, closed from a timer while it waits: the application's title, the text, OK shown (+) and no
// other button (-), no icon. And an address for the shell, in the system's code page.
void services()
{
    static std::wstring seen;
    Harness h;
    h.show();
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND box = GetForegroundWindow();
        wchar_t cls[16] = {};
        GetClassNameW(box, cls, 16);
        if (std::wstring(cls) != L"#32770")
            return;
        KillTimer(nullptr, id);
        const auto shown = [&](int id) { return IsWindowVisible(GetDlgItem(box, id)) ? L"+" : L"-"; };
        seen = windowText(box) + L": " + windowText(GetDlgItem(box, 0xFFFF)) + shown(IDOK) + shown(IDCANCEL) +
               shown(IDYES) + shown(IDNO) + (SendDlgItemMessageW(box, 1088, STM_GETICON, 0, 0) ? L" icon" : L"");
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    winui::WinMessageBox box;
    box.owner = h.hwnd();
    box.show("Ocorreu um erro: Chamada de procedimento inválida");
    KillTimer(nullptr, timer);
    CHECK_EQ(seen, std::wstring(L"Rodelume: Ocorreu um erro: Chamada de procedimento inválida+---"));
    const std::string page = "www.example.org/página/";
    wchar_t back[64] = {};
    MultiByteToWideChar(CP_ACP, 0, winui::ansiText(page).c_str(), -1, back, 64);
    CHECK_EQ(std::wstring(back), winui::widen(page));
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
        const std::vector<std::string> reports(refused, "Ocorreu um erro: " + rt::errorText(rt::InvalidCall));
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
            CHECK(pumpUntil(h.hwnd(), [&] { return GetFocus() == h.w(next); }));
        }
    }
}

// Along the circle from 0° to 120° with the button held: the scroll bar and the picture follow before the button
// comes up, at most one change per degree. A hand over the two panels that turn the angle, the arrow elsewhere.
// Dragging the scroll bar's thumb moves the thumb alone; the angle follows, once, when it is let go.
void pointer()
{
    Harness h;
    h.show();
    HWND circle = h.w("frmsec1");
    int changes = 0;
    h.form.scene.watchers.push_back(
        [&](const scene::Element& e, scene::Prop p) { changes += &e == &h.form.brangulo && p == scene::Prop::Value; });
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
        CHECK(pumpUntil(h.hwnd(), [&] { return GetCursor() == expected; }));
    }

    h.form.brangulo.setValue(0);
    changes = 0;
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
    CHECK(changes == 1 && h.form.brangulo.value() > 90 && h.scrollPos() == h.form.brangulo.value());
}

} // namespace

int main()
{
    winui::registerClasses(GetModuleHandleW(nullptr));
    CHECK_EQ(winui::screenTwipsPerPixel(), 15.0); // the desktop here has 96 dots per inch
    return check::run({{"pictures", pictures},
                       {"scrollBarKeys", scrollBarKeys},
                       {"clicks", clicks},
                       {"services", services},
                       {"focusAndTab", focusAndTab},
                       {"pointer", pointer}});
}
