// What a Windows screen reader gets from the window: the events it hears, by a WinEvent hook, and the objects it
// reads, through oleacc, while keys and clicks go to the real window. The model here has a Portuguese user's comma.
#include "desktop.h"

#include <oleacc.h>

#include <algorithm>
#include <cstring>
#include <functional>

using namespace desk;

namespace {

char separator = ',';
std::wstring program; // rodelume.exe, as Windows names it

struct Heard {
    DWORD event;
    HWND window;
    LONG object, child;
    std::wstring name; // of the live region's object, read as the event came
};
std::vector<Heard> heard;

VARIANT child(LONG id)
{
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring nameOf(IAccessible* a, LONG id)
{
    BSTR name = nullptr;
    std::wstring out = SUCCEEDED(a->get_accName(child(id), &name)) && name ? name : L"(none)";
    SysFreeString(name);
    return out;
}

void CALLBACK hear(HWINEVENTHOOK, DWORD event, HWND w, LONG object, LONG child, DWORD, DWORD)
{
    Heard h{event, w, object, child, {}};
    IAccessible* a = nullptr;
    VARIANT v{};
    if (event == EVENT_OBJECT_LIVEREGIONCHANGED &&
        SUCCEEDED(AccessibleObjectFromEvent(w, DWORD(object), DWORD(child), &a, &v))) {
        h.name = nameOf(a, v.lVal);
        a->Release();
    }
    heard.push_back(h);
}

struct Listening {
    explicit Listening(DWORD process = GetCurrentProcessId()) :
        hook(SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, hear, process, 0, WINEVENT_OUTOFCONTEXT))
    {
        CHECK(hook);
    }
    ~Listening() { UnhookWinEvent(hook); }
    HWINEVENTHOOK hook;
};

std::vector<std::wstring> said()
{
    std::vector<std::wstring> out;
    for (const Heard& h : heard)
        if (h.event == EVENT_OBJECT_LIVEREGIONCHANGED)
            out.push_back(h.name);
    return out;
}

IAccessible* objectOf(HWND w)
{
    IAccessible* a = nullptr;
    CHECK(SUCCEEDED(
        AccessibleObjectFromWindow(w, DWORD(OBJID_CLIENT), __uuidof(IAccessible), reinterpret_cast<void**>(&a))));
    return a;
}

// What the user does, and what the same done to a model of its own makes it say.
struct SentenceRow {
    const char* name;
    std::function<void(Harness&)> act;
    std::function<std::vector<std::string>(frmcirculo&)> expected;
};

std::function<void(Harness&)> key(WORD vk)
{
    return [vk](Harness&) { keys({vk}); };
}
std::function<std::vector<std::string>(frmcirculo&)> angle(std::int16_t degrees)
{
    return [degrees](frmcirculo& f) {
        f.brangulo.setValue(degrees);
        return std::vector{f.angleSentence()};
    };
}

const SentenceRow sentenceRows[] = {
    {"Right from 0", key(VK_RIGHT), angle(1)},
    {"Right", key(VK_RIGHT), angle(2)},
    {"Right again", key(VK_RIGHT), angle(3)},
    {"Page Down", key(VK_NEXT), angle(8)},
    {"Home", key(VK_HOME), angle(0)},
    {"End at 0", key(VK_END), angle(0)},
    {"Left at 0, which the end stops", key(VK_LEFT), angle(0)},
    {"three changes by the program within the pause: the first and the last",
     [](Harness& h) {
         for (const std::int16_t a : {10, 11, 12})
             h.form.brangulo.setValue(a);
     },
     [](frmcirculo& f) {
         f.brangulo.setValue(10);
         const std::string first = f.angleSentence();
         f.brangulo.setValue(12);
         return std::vector{first, f.angleSentence()};
     }},
    {"a press on the graph panel at 90°", [](Harness& h) { click(onScreen(h.w("frmsec3"), 90, 100)); }, angle(90)},
    {"the tangent's check box",
     [](Harness& h) {
         RECT r;
         GetClientRect(h.w("chtangente"), &r);
         click(onScreen(h.w("chtangente"), 8, r.bottom / 2));
     },
     [](frmcirculo& f) {
         f.chtangente.click();
         return std::vector{f.graphSentence(f.chtangente)};
     }},
};

// Each action is heard as one live region's change, or two for a burst, whose object's name is the model's sentence.
void sentences()
{
    Harness h(true, separator);
    h.show();
    rt::RecordedMessages m;
    rt::RecordedAddresses a;
    winui::WinFocus f;
    frmcirculo model({m, a, f, separator});
    model.Form_Load();
    const Listening listening;
    std::printf("annotation server: %s; UI Automation notifications: %s\n",
                h.window->accessibility().speaker().annotated() ? "yes" : "no (fallback)",
                h.window->accessibility().speaker().notifies() ? "yes" : "no (fallback)");
    for (const SentenceRow& row : sentenceRows) {
        check::Row named(row.name);
        std::vector<std::wstring> expected;
        for (const std::string& s : row.expected(model))
            expected.push_back(winui::widen(s));
        heard.clear();
        row.act(h);
        pumpUntil(h.hwnd(), [&] { return said().size() >= expected.size(); });
        h.settle(300); // past the pause, for a sentence too many
        if (!CHECK(said() == expected))
            for (const std::wstring& s : said())
                std::printf("  heard %s\n", check::show(s).c_str());
    }
}

std::wstring caption(const scene::Scene& s, const char* name)
{
    const auto& l = s.get<scene::Label>(name);
    return winui::displayText(l.text(), l.font.symbol());
}

// The form's children in reading order, the captions among them, each value caption labelled by its label, at
// three angles; a caption is found under the pointer too.
void captionsInReadingOrder()
{
    Harness h(true, separator);
    h.show();
    IAccessible* form = objectOf(h.hwnd());
    if (!form)
        return;
    CHECK_EQ(nameOf(form, CHILDID_SELF), std::wstring(L"Rodelume 2.0"));
    for (const std::int16_t angle : {0, 45, 90}) {
        check::Row named(std::to_string(angle) + "°");
        h.form.brangulo.setValue(angle);
        h.settle();
        const scene::Scene& s = h.form.scene;
        // clang-format off
        const std::vector<std::wstring> expected = {
            L"Círculo trigonométrico", L"Gráficos das funções", L"Ângulo α em graus", caption(s, "lblalfa"),
            L"sen", caption(s, "lblseno2"), L"cos", caption(s, "lblcoseno2"), L"tg", caption(s, "lbltg2"),
            L"Reta tangente", L"Função Seno", L"Função Co-seno", L"Função Tangente", L"Varnelho Software",
            L"Home Page", L"E-Mail"};
        // clang-format on
        long count = 0, got = 0;
        form->get_accChildCount(&count);
        std::vector<VARIANT> children(std::size_t(std::max(count, 0L)));
        CHECK(SUCCEEDED(AccessibleChildren(form, 0, count, children.data(), &got)));
        std::vector<std::wstring> names;
        std::vector<LONG> ids; // of the captions
        for (long i = 0; i < got; ++i) {
            VARIANT& c = children[std::size_t(i)];
            if (c.vt == VT_I4) {
                names.push_back(nameOf(form, c.lVal));
                ids.push_back(c.lVal);
            } else if (c.vt == VT_DISPATCH) { // a child window's object
                IAccessible* a = nullptr;
                if (CHECK(SUCCEEDED(c.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&a))))) {
                    names.push_back(nameOf(a, CHILDID_SELF));
                    a->Release();
                }
            }
            VariantClear(&c);
        }
        if (!CHECK(names == expected) || !CHECK_EQ(ids.size(), std::size_t(8))) {
            for (const std::wstring& n : names)
                std::printf("  child %s\n", check::show(n).c_str());
            continue;
        }
        // After the angle's caption, each label ("sen") and the value caption it labels, by accNavigate's relations.
        constexpr long labelFor = 0x1002, labelledBy = 0x1003;
        for (std::size_t label = 1; label < 7; label += 2) {
            VARIANT to{};
            CHECK(form->accNavigate(labelledBy, child(ids[label + 1]), &to) == S_OK && to.vt == VT_I4 &&
                  to.lVal == ids[label]);
            CHECK(form->accNavigate(labelFor, child(ids[label]), &to) == S_OK && to.vt == VT_I4 &&
                  to.lVal == ids[label + 1]);
        }
        const RECT box = winui::pixelBox(h.form.lblseno2);
        const POINT middle = onScreen(h.hwnd(), (box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0);
        VARIANT at{};
        CHECK(SUCCEEDED(form->accHitTest(middle.x, middle.y, &at)) && at.vt == VT_I4 && at.lVal == ids[2]);
    }
    form->Release();
}

std::wstring text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), IAccessible* a)
{
    BSTR b = nullptr;
    std::wstring out = SUCCEEDED((a->*get)(child(CHILDID_SELF), &b)) && b ? b : L"(none)";
    SysFreeString(b);
    return out;
}

LONG number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), IAccessible* a)
{
    VARIANT v{};
    return SUCCEEDED((a->*get)(child(CHILDID_SELF), &v)) && v.vt == VT_I4 ? v.lVal : -1;
}

// Each control's object says what the model says of it now: the panels' pictures and the buttons' addresses
// described, the scroll bar's value in words, the check boxes' states; a panel's new description is raised.
struct ControlRow {
    const char* name;
    std::int16_t angle;
    std::int16_t tangentGraph; // the box's value
    const wchar_t* value;      // the scroll bar's
} const controlRows[] = {{"45°", 45, 1, L"45 graus"}, {"1°, the tangent's graph hidden", 1, 0, L"1 grau"}};

void controls()
{
    Harness h(true, separator);
    h.show();
    const Listening listening;
    for (const ControlRow& row : controlRows) {
        check::Row named(row.name);
        h.form.brangulo.setValue(row.angle);
        heard.clear();
        if (h.form.chtangente.value() != row.tangentGraph) {
            click(onScreen(h.w("chtangente"), 8, 8));
            pumpUntil(h.hwnd(), [&] { return h.form.chtangente.value() == row.tangentGraph; });
        }
        h.settle();
        if (row.tangentGraph == 0)
            CHECK(std::any_of(heard.begin(), heard.end(), [&](const Heard& e) {
                return e.event == EVENT_OBJECT_DESCRIPTIONCHANGE && e.window == h.w("frmsec3");
            }));
        for (const char* name :
             {"frmsec1", "frmsec3", "frmsec2", "brangulo", "chseno", "chcoseno", "chtangente", "btpage", "btemail"}) {
            check::Row control(name);
            const auto& e = h.form.scene.get<scene::Boxed>(name);
            IAccessible* a = objectOf(h.w(name));
            if (!a)
                continue;
            if (!e.description().empty())
                CHECK_EQ(text(&IAccessible::get_accDescription, a), winui::widen(e.description()));
            if (e.kind() == scene::Kind::PictureBox)
                CHECK_EQ(number(&IAccessible::get_accRole, a), LONG(ROLE_SYSTEM_GRAPHIC));
            if (e.kind() == scene::Kind::HScrollBar)
                CHECK_EQ(text(&IAccessible::get_accValue, a), std::wstring(row.value));
            if (e.kind() == scene::Kind::CheckBox)
                CHECK_EQ((number(&IAccessible::get_accState, a) & STATE_SYSTEM_CHECKED) != 0,
                         static_cast<const scene::CheckBox&>(e).value() == 1);
            a->Release();
        }
    }
}

// The program itself, read from this process as a screen reader reads it: the sentence after Right comes from
// another process, and the form's object crosses the process boundary with its children.
void anotherProcess()
{
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring line = L"\"" + program + L"\"";
    if (!CHECK(CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)))
        return;
    WaitForInputIdle(pi.hProcess, 20000);
    HWND window = nullptr;
    pumpUntil(
        nullptr, [&] { return (window = FindWindowW(winui::FormWindow::className, L"Rodelume 2.0")) != nullptr; },
        20000);
    if (CHECK(window)) {
        const Listening listening(pi.dwProcessId);
        SetForegroundWindow(window);
        pumpUntil(nullptr, [&] { return GetForegroundWindow() == window; });
        heard.clear();
        keys({VK_RIGHT});
        pumpUntil(
            nullptr, [&] { return !said().empty(); }, 5000);
        rt::RecordedMessages m;
        rt::RecordedAddresses a;
        winui::WinFocus f;
        frmcirculo model({m, a, f, winui::userDecimalSeparator()}); // the locale both processes share
        model.brangulo.setValue(1);
        CHECK(said() == std::vector{winui::widen(model.angleSentence())});
        if (IAccessible* form = objectOf(window)) {
            long count = 0;
            CHECK(SUCCEEDED(form->get_accChildCount(&count)) && count == 17);
            CHECK_EQ(nameOf(form, 4), std::wstring(L"α = 1°"));
            form->Release();
        }
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || std::strlen(argv[2]) != 1) {
        std::fprintf(stderr, "usage: test_access PATH/rodelume.exe SEPARATOR\n");
        return 2;
    }
    program = winui::widen(argv[1]); // under Wine a Unix path is one on drive Z:
    if (!program.empty() && program[0] == L'/')
        program = L"Z:" + program;
    std::replace(program.begin(), program.end(), L'/', L'\\');
    separator = argv[2][0];
    CoInitialize(nullptr);
    winui::registerClasses(GetModuleHandleW(nullptr));
    return check::run({{"sentences", sentences},
                       {"captionsInReadingOrder", captionsInReadingOrder},
                       {"controls", controls},
                       {"anotherProcess", anotherProcess}});
}
