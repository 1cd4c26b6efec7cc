// Prints the Windows program's costs beside a baseline measured in the same run: start-up to the first frame
// against the system's notepad, the load, and one angle change with its repaint against three empty panels.
//   rodelume_bench [RUNS]    (rodelume.exe beside it; RUNS start-ups of each program, 11 by default)
#include "app/frmcirculo.h"
#include "bench/measure.h"
#include "runtime/win32/look.h"
#include "runtime/win32/window.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace measure;

void pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

struct Started {
    double window, idle; // ms from CreateProcess to a visible window of the class, and to its first idle wait
};

struct Search {
    DWORD process;
    const wchar_t* cls;
    HWND found;
};

// Medians over the runs after a first one that warms the caches up.
Started startup(const std::wstring& command, const wchar_t* cls, int runs)
{
    std::vector<double> window, idle;
    for (int r = 0; r <= runs; ++r) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::wstring line = command;
        const auto t0 = Clock::now();
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            std::fwprintf(stderr, L"cannot start %ls\n", command.c_str());
            return {-1, -1};
        }
        Search s{pi.dwProcessId, cls, nullptr};
        double w = -1, i = -1;
        while (!s.found && micros(Clock::now() - t0) < 20e6) {
            EnumWindows(
                [](HWND h, LPARAM p) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(p);
                    DWORD owner = 0;
                    GetWindowThreadProcessId(h, &owner);
                    wchar_t name[64] = {};
                    GetClassNameW(h, name, 64);
                    if (owner == s->process && IsWindowVisible(h) && std::wcscmp(name, s->cls) == 0)
                        s->found = h;
                    return !s->found;
                },
                reinterpret_cast<LPARAM>(&s));
            if (!s.found)
                Sleep(1);
        }
        if (s.found)
            w = micros(Clock::now() - t0) / 1000;
        if (WaitForInputIdle(pi.hProcess, 20000) == 0)
            i = micros(Clock::now() - t0) / 1000;
        if (s.found)
            PostMessageW(s.found, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        if (r > 0 && w >= 0 && i >= 0)
            window.push_back(w), idle.push_back(i);
    }
    return {median(window), median(idle)};
}

// An empty panel that fills its background through a buffer on every repaint.
LRESULT CALLBACK blankProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    static std::map<HWND, winui::PaintBuffer> buffers; // one each, kept, as the program's panels keep theirs
    if (m == WM_ERASEBKGND)
        return 1;
    if (m != WM_PAINT)
        return DefWindowProcW(w, m, wp, lp);
    buffers[w].paint(w, [](HDC dc, const RECT& dirty) { FillRect(dc, &dirty, GetSysColorBrush(COLOR_BTNFACE)); });
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    winui::registerClasses(instance);
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring program = self;
    program = L"\"" + program.substr(0, program.find_last_of(L"\\/") + 1) + L"rodelume.exe\"";
    const Started rodelume = startup(program, winui::FormWindow::className, runs);
    const Started notepad = startup(L"notepad.exe", L"Notepad", runs);

    Silent s;
    std::vector<double> loads;
    for (int i = 0; i < 20 * runs; ++i) {
        const auto t0 = Clock::now();
        frmcirculo form(s.services());
        form.Form_Load();
        loads.push_back(micros(Clock::now() - t0));
    }

    frmcirculo form(s.services());
    form.Form_Load();
    const double handler = measure::angleChanges(form, 5 * runs);

    // The change and the repaint it causes, through the message loop as the program runs it, against repainting
    // three empty panels of the same sizes. Then again without the native scroll bar, whose redraw is the system's.
    winui::FormWindow window(form.scene);
    ShowWindow(window.hwnd(), SW_SHOW);
    UpdateWindow(window.hwnd());
    pump();
    const auto changes = [&] {
        std::vector<double> each;
        for (int sweep = 0; sweep < runs; ++sweep) {
            const auto t0 = Clock::now();
            for (int a = 1; a <= 360; ++a) {
                form.brangulo.setValue(std::int16_t(a % 360));
                pump();
            }
            each.push_back(micros(Clock::now() - t0) / 360);
        }
        return median(each);
    };
    const double repaint = changes();
    ShowWindow(window.control("brangulo"), SW_HIDE);
    const double repaintScene = changes();
    WNDCLASSW blank{};
    blank.lpfnWndProc = blankProc;
    blank.hInstance = instance;
    blank.lpszClassName = L"Blank";
    RegisterClassW(&blank);
    HWND bare = CreateWindowExW(0, L"Blank", L"bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 640,
                                450, nullptr, nullptr, instance, nullptr);
    std::vector<HWND> blanks;
    for (const char* name : {"frmsec1", "frmsec2", "frmsec3"}) {
        const RECT r = winui::pixelBox(form.scene.get<scene::PictureBox>(name));
        blanks.push_back(CreateWindowExW(WS_EX_CLIENTEDGE, L"Blank", L"", WS_CHILD | WS_VISIBLE, r.left, r.top,
                                         r.right - r.left, r.bottom - r.top, bare, nullptr, instance, nullptr));
    }
    const RECT b = winui::pixelBox(form.brangulo);
    HWND bar = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_HORZ, b.left, b.top, b.right - b.left,
                               b.bottom - b.top, bare, nullptr, instance, nullptr);
    SetScrollRange(bar, SB_CTL, 0, 360, TRUE);
    UpdateWindow(bare);
    pump();
    const auto blankChanges = [&](bool moveBar) {
        std::vector<double> each;
        for (int sweep = 0; sweep < runs; ++sweep) {
            const auto t0 = Clock::now();
            for (int a = 1; a <= 360; ++a) {
                for (HWND p : blanks)
                    InvalidateRect(p, nullptr, FALSE);
                if (moveBar)
                    SetScrollPos(bar, SB_CTL, a % 360, TRUE);
                pump();
            }
            each.push_back(micros(Clock::now() - t0) / 360);
        }
        return median(each);
    };
    const double blankRepaint = blankChanges(true), blankPanels = blankChanges(false);
    DestroyWindow(bare);

    std::printf("| %-36s | %14s | %14s | %6s |\n", "measure", "Rodelume", "baseline", "ratio");
    std::printf("|%s|%s|%s|%s|\n", std::string(38, '-').c_str(), std::string(16, '-').c_str(),
                std::string(16, '-').c_str(), std::string(8, '-').c_str());
    row("start-up to a visible window", rodelume.window, "ms", notepad.window);
    row("start-up to the first idle frame", rodelume.idle, "ms", notepad.idle);
    row("load (1110 graph elements)", median(loads), "us", 0);
    row("angle change, handler", handler, "us", 0);
    row("angle change, handler + repaint", repaint, "us", blankRepaint);
    row("the same, the scroll bar hidden", repaintScene, "us", blankPanels);
    std::printf("\nBaselines: the system's notepad started the same way (start-up: from CreateProcess to its window\n"
                "shown, and to its first wait for input, after the first paint); three empty panels of the same\n"
                "sizes repainted through a buffer and a native scroll bar moved to the next value (angle change\n"
                "with repaint), and the panels alone (the same with the program's scroll bar hidden). Medians of\n"
                "%d start-ups.\n",
                runs);
    return rodelume.idle > 0 && notepad.idle > 0 ? 0 : 1;
}
