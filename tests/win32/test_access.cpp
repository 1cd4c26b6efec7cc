// What a Windows screen reader gets from the window: the events it hears, by a WinEvent hook, and the objects it
// reads, through oleacc, while keys and clicks go to the real window. The model here has a Portuguese user's comma.
#include "desktop.h"

#include <oleacc.h>

#include <algorithm>
#include <span>

using namespace desk;

namespace {

char separator = ',';

VARIANT child(LONG id)
{
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring text(IAccessible* a, LONG id = CHILDID_SELF,
                  HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*) = &IAccessible::get_accName)
{
    BSTR b = nullptr;
    std::wstring out = SUCCEEDED((a->*get)(child(id), &b)) && b ? b : L"(none)";
    SysFreeString(b);
    return out;
}

IAccessible* objectOf(HWND w)
{
    IAccessible* a = nullptr;
    CHECK(SUCCEEDED(
        AccessibleObjectFromWindow(w, DWORD(OBJID_CLIENT), __uuidof(IAccessible), reinterpret_cast<void**>(&a))));
    return a;
}

// What the hook hears: the live region's object's name as each change came, the windows whose descriptions change.
std::vector<std::wstring> said;
std::vector<HWND> redescribed;

void CALLBACK hear(HWINEVENTHOOK, DWORD event, HWND w, LONG object, LONG id, DWORD, DWORD)
{
    IAccessible* a = nullptr;
    VARIANT v{};
    if (event == EVENT_OBJECT_DESCRIPTIONCHANGE)
        redescribed.push_back(w);
    else if (event == EVENT_OBJECT_LIVEREGIONCHANGED &&
             CHECK(SUCCEEDED(AccessibleObjectFromEvent(w, DWORD(object), DWORD(id), &a, &v)))) {
        said.push_back(text(a, v.lVal));
        a->Release();
    }
}

// What the user or the program does, and the angles whose sentences a model of its own says for the same (-1: the
// tangent's check box, the graph's sentence).
const struct {
    const char* name;
    void (*act)(Harness&);
    std::vector<int> angles;
} sentenceRows[] = {
    {"Right from 0", [](Harness&) { keys({VK_RIGHT}); }, {1}},
    {"Right", [](Harness&) { keys({VK_RIGHT}); }, {2}},
    {"Page Down", [](Harness&) { keys({VK_NEXT}); }, {7}},
    {"Home", [](Harness&) { keys({VK_HOME}); }, {0}},
    {"End at 0, which the end stops", [](Harness&) { keys({VK_END}); }, {0}},
    {"three changes by the program within the pause: the first and the last",
     [](Harness& h) {
         for (const std::int16_t a : {10, 11, 12})
             h.form.brangulo.setValue(a);
     },
     {10, 12}},
    {"a press on the graph panel at 90°", [](Harness& h) { click(onScreen(h.w("frmsec3"), 90, 100)); }, {90}},
    {"the tangent's check box", [](Harness& h) { click(onScreen(h.w("chtangente"), 8, 8)); }, {-1}},
};

// Each action is heard as one live region's change, or two for a burst, whose object's name is the model's sentence;
// then, at three angles, the tangent's graph shown and hidden, the form's children in reading order, each value
// caption labelled by its label, and each control's object saying what the model says of it.
void screenReader()
{
    Harness h(separator);
    h.show();
    rt::RecordedMessages m;
    rt::RecordedAddresses a;
    winui::WinFocus f;
    frmcirculo model({m, a, f, separator});
    model.Form_Load();
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, hear, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    for (const auto& row : sentenceRows) {
        check::Row named(row.name);
        std::vector<std::wstring> expected;
        for (const int angle : row.angles) {
            if (angle < 0)
                model.chtangente.click();
            else
                model.brangulo.setValue(std::int16_t(angle));
            expected.push_back(winui::widen(angle < 0 ? model.graphSentence(model.chtangente) : model.angleSentence()));
        }
        said.clear();
        row.act(h);
        pumpUntil(h.hwnd(), [&] { return said.size() >= expected.size(); });
        h.settle(300); // past the pause, for a sentence too many
        if (!CHECK(said == expected))
            for (const std::wstring& s : said)
                std::printf("  heard %s\n", check::show(s).c_str());
    }
    // The graph panel, which has no focus, raises its new description.
    CHECK(std::count(redescribed.begin(), redescribed.end(), h.w("frmsec3")) > 0);
    UnhookWinEvent(hook);

    IAccessible* form = objectOf(h.hwnd());
    for (const std::int16_t angle : {0, 45, 90}) {
        check::Row named(std::to_string(angle) + "°");
        h.form.brangulo.setValue(angle);
        h.form.chtangente.setValue(angle == 45 ? 0 : 1);
        h.settle();
        const auto caption = [&](const char* name) {
            const auto& l = h.form.scene.get<scene::Label>(name);
            return winui::displayText(l.text(), l.font.symbol());
        };
        // clang-format off
        const std::vector<std::wstring> expected = {
            L"Círculo trigonométrico", L"Gráficos das funções", L"Ângulo α em graus", caption("lblalfa"),
            L"sen", caption("lblseno2"), L"cos", caption("lblcoseno2"), L"tg", caption("lbltg2"),
            L"Reta tangente", L"Função Seno", L"Função Co-seno", L"Função Tangente", L"Varnelho Software",
            L"Home Page", L"E-Mail"};
        // clang-format on
        VARIANT children[20];
        long got = 0;
        CHECK(SUCCEEDED(AccessibleChildren(form, 0, 20, children, &got)));
        std::vector<std::wstring> names;
        std::vector<LONG> ids; // of the simple children, the captions
        for (VARIANT& c : std::span(children, std::size_t(got))) {
            IAccessible* o = nullptr;
            if (c.vt == VT_DISPATCH &&
                SUCCEEDED(c.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&o))))
                names.push_back(text(o));
            else if (c.vt == VT_I4)
                names.push_back(text(form, ids.emplace_back(c.lVal)));
            if (o)
                o->Release();
            VariantClear(&c);
        }
        if (!CHECK(names == expected && ids.size() == 8))
            continue;
        // After the angle's caption, each label ("sen") and then the value caption it labels, by accNavigate's
        // relation, which the headers here lack.
        for (std::size_t label = 1; label < 7; label += 2) {
            VARIANT at{};
            CHECK(form->accNavigate(0x1003 /* labelled by */, child(ids[label + 1]), &at) == S_OK && at.vt == VT_I4 &&
                  at.lVal == ids[label]);
        }
        for (const char* name : {"frmsec1", "frmsec3", "frmsec2", "brangulo", "chtangente", "btpage"}) {
            check::Row control(name);
            const auto& e = h.form.scene.get<scene::Boxed>(name);
            IAccessible* o = objectOf(h.w(name));
            VARIANT state{};
            if (e.kind() != scene::Kind::CheckBox)
                CHECK_EQ(text(o, CHILDID_SELF, &IAccessible::get_accDescription), winui::widen(e.description()));
            if (e.kind() == scene::Kind::HScrollBar) // in degrees, where the system's says a percentage
                CHECK_EQ(text(o, CHILDID_SELF, &IAccessible::get_accValue), std::to_wstring(angle) + L" graus");
            if (e.kind() == scene::Kind::CheckBox)
                CHECK(SUCCEEDED(o->get_accState(child(CHILDID_SELF), &state)) && state.vt == VT_I4 &&
                      ((state.lVal & STATE_SYSTEM_CHECKED) != 0) == (angle != 45));
            o->Release();
        }
    }
    form->Release();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        separator = argv[1][0];
    CoInitialize(nullptr);
    winui::registerClasses(GetModuleHandleW(nullptr));
    return check::run({{"screenReader", screenReader}});
}
