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
    // The icon file's 14 images (its own test reads them), in a group of 14-byte entries after a 6-byte header.
    CHECK_EQ(resource(module, L"IDI_ICON1", MAKEINTRESOURCEW(14)).size(), std::size_t(6 + 14 * 14)); // RT_GROUP_ICON
    const std::vector<char> version = resource(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));   // RT_VERSION
    const char fixed[] = {'\xBD', '\x04', '\xEF', '\xFE', 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 0, 0}; // signature, 2.0.0.0
    CHECK(std::search(version.begin(), version.end(), fixed, fixed + sizeof fixed) != version.end());
    CHECK(contains(version, L"Rodelume 2.0") && contains(version, L"Varnelho Software"));
    CHECK(contains(version, L"rodelume.exe") && contains(version, L"041604E4"));
    FreeLibrary(module);
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
    pumpUntil( // the display's one form window
        nullptr,
        [&] { return (window = FindWindowW(winui::FormWindow::className, nullptr)) && IsWindowVisible(window); },
        30000);
    if (CHECK(window)) {
        CHECK_EQ(windowText(window), std::wstring(L"Rodelume 2.0"));
        RECT client, frame;
        GetClientRect(window, &client);
        GetWindowRect(window, &frame);
        CHECK(client.right == 633 && client.bottom == 425);
        const LONG style = GetWindowLongW(window, GWL_STYLE); // a fixed frame
        CHECK((style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX)) == (WS_CAPTION | WS_SYSMENU));
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
        const RECT& area = monitor.rcWork;
        const scene::Point at =
            scene::startPosition(area.left, area.top, area.right - area.left, area.bottom - area.top,
                                 frame.right - frame.left, frame.bottom - frame.top);
        CHECK(frame.left == at.x && frame.top == at.y && at.x > area.left && at.y > area.top);

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
                if (!(grab(w) == expected(model.scene, panel, client)))
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
        const auto& alfa = model.scene.get<scene::Label>("lblalfa");
        const auto& sine = model.scene.get<scene::Label>("lblseno2");
        HFONT font = winui::createFont(alfa.font, 15);
        const std::wstring value = std::wstring(L"0") + separator + L"707106781186547";
        CHECK(pumpUntil(
            nullptr,
            [&] {
                const Picture form = grab(window);
                return shows(form, alfa, font, L"α = 45°") && shows(form, sine, font, L"α ≈ " + value);
            },
            5000));
        DeleteObject(font);

        for (const wchar_t* button : {L"Home Page", L"E-Mail"})
            click(middleOf(FindWindowExW(window, nullptr, L"Button", button)));
        pumpUntil(nullptr, never, 1000);
        CHECK(!FindWindowW(L"#32770", nullptr)); // no message box
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
    program = winui::widen(argv[1]);
    if (program[0] == L'/') // a Unix path, under Wine one on drive Z:
        program = L"Z:" + program;
    separator = wchar_t(argv[2][0]);
    return check::run({{"resources", resources}, {"startsShowsAndEnds", startsShowsAndEnds}});
}
