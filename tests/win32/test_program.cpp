// The program file as a user starts it: its resources, its window at start, the captions' keys and its buttons, and
// its end when the window closes.
#include "desktop.h"

#include <algorithm>
#include <cstring>

using namespace desk;

namespace {

std::wstring program; // rodelume.exe, as Windows names it
// The decimal separator of the locale the session gives the program (tools/wine.sh), given by the test's caller:
// asking Wine here would ask the same question the program asks.
wchar_t separator = '.';

// A path as the build gives it; under Wine a Unix path is one on drive Z:.
std::wstring windowsPath(const char* path)
{
    std::wstring p = winui::widen(path);
    if (!p.empty() && p[0] == L'/')
        p = L"Z:" + p;
    for (wchar_t& c : p)
        if (c == L'/')
            c = L'\\';
    return p;
}

bool contains(const std::vector<char>& bytes, const std::wstring& text)
{
    const auto* first = reinterpret_cast<const char*>(text.data());
    return std::search(bytes.begin(), bytes.end(), first, first + text.size() * sizeof(wchar_t)) != bytes.end();
}

std::vector<char> resource(HMODULE module, const wchar_t* name, const wchar_t* type)
{
    HRSRC found = FindResourceW(module, name, type);
    if (!found)
        return {};
    const auto* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return std::vector<char>(data, data + SizeofResource(module, found));
}

// The icon's images and the version information, read from the program file.
void resources()
{
    HMODULE module =
        LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!CHECK(module))
        return;
    const std::vector<char> group = resource(module, L"IDI_ICON1", MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
    CHECK_EQ(group.size(), std::size_t(6 + 14 * 14));
    if (group.size() == 6 + 14 * 14) {
        // The six palette images of old, then the true-colour ones; 256 pixels are written as 0.
        const int sizes[] = {32, 16, 48, 32, 48, 16, 16, 20, 24, 32, 40, 48, 64, 0};
        const int bits[] = {4, 4, 4, 8, 8, 8, 32, 32, 32, 32, 32, 32, 32, 32};
        for (int i = 0; i < 14; ++i) {
            const char* entry = group.data() + 6 + 14 * i; // width, height, colours, reserved, planes, bit count...
            check::Row named("image " + std::to_string(i));
            CHECK_EQ(int(static_cast<unsigned char>(entry[0])), sizes[i]);
            CHECK_EQ(int(static_cast<unsigned char>(entry[6])), bits[i]);
        }
    }
    const std::vector<char> version = resource(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)); // RT_VERSION
    const char fixed[] = {'\xBD', '\x04', '\xEF', '\xFE', 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 0, 0};     // signature, 2.0.0.0
    CHECK(std::search(version.begin(), version.end(), fixed, fixed + sizeof fixed) != version.end());
    CHECK(contains(version, L"Rodelume 2.0") && contains(version, L"Varnelho Software"));
    CHECK(contains(version, L"rodelume.exe") && contains(version, L"041604E4"));
    FreeLibrary(module);
}

struct Found {
    DWORD process;
    HWND window;
};

HWND windowOf(DWORD process)
{
    Found f{process, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* f = reinterpret_cast<Found*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            wchar_t cls[64] = {};
            GetClassNameW(w, cls, 64);
            if (owner == f->process && IsWindowVisible(w) && std::wcscmp(cls, winui::FormWindow::className) == 0)
                f->window = w;
            return !f->window;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.window;
}

int visibleWindowsOf(DWORD process)
{
    Found f{process, nullptr};
    int n = 0;
    static int* count;
    count = &n;
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            *count += owner == reinterpret_cast<Found*>(p)->process && IsWindowVisible(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&f));
    return n;
}

// Started as a user starts it: the window centred with the picture of 0°, the focus on the scroll bar; 45 Right keys
// give the picture of 45°; both buttons hand their addresses on and show nothing; closing the window ends it.
void startsShowsAndEnds()
{
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring line = L"\"" + program + L"\"";
    if (!CHECK(CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)))
        return;
    CHECK_EQ(WaitForInputIdle(pi.hProcess, 20000), DWORD(0));
    HWND window = nullptr;
    pumpUntil(
        nullptr, [&] { return (window = windowOf(pi.dwProcessId)) != nullptr; }, 30000);
    if (CHECK(window)) {
        CHECK_EQ(windowText(window), std::wstring(L"Rodelume 2.0"));
        RECT client, frame;
        GetClientRect(window, &client);
        GetWindowRect(window, &frame);
        CHECK(client.right == 633 && client.bottom == 425);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
        const RECT& area = monitor.rcWork;
        const scene::Point at =
            scene::startPosition(area.left, area.top, area.right - area.left, area.bottom - area.top,
                                 frame.right - frame.left, frame.bottom - frame.top);
        CHECK(frame.left == at.x && frame.top == at.y);

        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        CHECK(pumpUntil(nullptr, [&] { return GetGUIThreadInfo(pi.dwThreadId, &gui) && gui.hwndFocus; }));
        wchar_t cls[32] = {};
        GetClassNameW(gui.hwndFocus, cls, 32);
        CHECK(_wcsicmp(cls, L"ScrollBar") == 0 && GetParent(gui.hwndFocus) == window);

        HWND circle = FindWindowExW(window, nullptr, winui::Panel::className, L"Círculo trigonométrico");
        HWND graphs = FindWindowExW(window, nullptr, winui::Panel::className, L"Gráficos das funções");
        // The other process paints in its own time: its panels are read until they show the scene's, at 0° and at 45°.
        rt::RecordedMessages messages;
        rt::RecordedAddresses addresses;
        rt::RecordedFocus focus;
        frmcirculo model({messages, addresses, focus}, 15);
        model.Form_Load();
        const auto asTheModel = [&] {
            for (const auto& [panel, w] : {std::pair{"frmsec1", circle}, {"frmsec3", graphs}}) {
                RECT client;
                GetClientRect(w, &client);
                if (!(grabScreen(w) == expected(model.scene, panel, client)))
                    return false;
            }
            return true;
        };
        CHECK(pumpUntil(nullptr, asTheModel, 5000));
        SetForegroundWindow(window);
        pumpUntil(nullptr, [&] { return GetForegroundWindow() == window; });
        keys({VK_RIGHT}, 45);
        model.brangulo.setValue(45);
        CHECK(pumpUntil(nullptr, asTheModel, 5000));
        // The captions of 45°, with the user's decimal separator.
        const scene::Form layout(15);
        const auto& alfa = layout.scene.get<scene::Label>("lblalfa");
        const auto& sine = layout.scene.get<scene::Label>("lblseno2");
        HFONT font = winui::createFont(alfa.font, 15);
        const std::wstring value = std::wstring(L"0") + separator + L"707106781186547";
        pumpUntil(
            nullptr,
            [&] {
                const Picture form = grabScreen(window);
                return shows(form, alfa, font, L"α = 45°") && shows(form, sine, font, L"α ≈ " + value);
            },
            5000);
        const Picture form = grabScreen(window);
        CHECK(shows(form, alfa, font, L"α = 45°"));
        CHECK(shows(form, sine, font, L"α ≈ " + value));
        DeleteObject(font);

        for (const wchar_t* button : {L"Home Page", L"E-Mail"}) {
            HWND b = FindWindowExW(window, nullptr, L"Button", button);
            RECT r;
            GetClientRect(b, &r);
            click(onScreen(b, r.right / 2, r.bottom / 2));
        }
        pump(nullptr, 1000);
        CHECK_EQ(visibleWindowsOf(pi.dwProcessId), 1); // no message box
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    CHECK_EQ(WaitForSingleObject(pi.hProcess, 10000), DWORD(WAIT_OBJECT_0));
    DWORD status = 1;
    GetExitCodeProcess(pi.hProcess, &status);
    CHECK_EQ(status, DWORD(0));
    if (status == STILL_ACTIVE)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || std::strlen(argv[2]) != 1) {
        std::fprintf(stderr, "usage: test_program PATH/rodelume.exe SEPARATOR\n");
        return 2;
    }
    program = windowsPath(argv[1]);
    separator = wchar_t(argv[2][0]);
    return check::run({{"resources", resources}, {"startsShowsAndEnds", startsShowsAndEnds}});
}
