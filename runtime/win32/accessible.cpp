#include "runtime/win32/accessible.h"

#include "runtime/win32/look.h"
#include "scene/layout.h"

#include <oleacc.h>

#include <algorithm>

namespace winui {
namespace {

// UI Automation's LiveSetting, which the annotation server takes by its identifier; 1 is polite.
constexpr GUID liveSetting = {0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr long polite = 1;
// The annotation server's, which the import libraries here define twice over.
constexpr GUID annotationServer = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID annotationInterface = {0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
// Relations as accNavigate gives them, which the headers here lack.
constexpr long labelFor = 0x1002, labelledBy = 0x1003;
constexpr UINT_PTR pauseTimer = 1, toggleTimer = 2;

HRESULT bstr(const std::wstring& s, BSTR* out)
{
    *out = SysAllocStringLen(s.data(), UINT(s.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

VARIANT self()
{
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

bool isSelf(const VARIANT& v) { return v.vt == VT_I4 && v.lVal == CHILDID_SELF; }

} // namespace

// One window's accessible object: the system's own for it, with what the model knows put over it. The form's
// has the captions as simple children and its child windows' objects, in reading order.
class Object final : public IAccessible, public IOleWindow {
public:
    Object(Accessibility& owner, HWND window, const scene::Boxed* element) :
        owner_(&owner), window_(window), element_(element)
    {
        CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&system_));
    }
    // The window is going: a screen reader that holds the object gets an error from then on.
    void detach() { owner_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible))
            *out = static_cast<IAccessible*>(this);
        else if (iid == __uuidof(IOleWindow)) // how a client finds the window an object belongs to
            *out = static_cast<IOleWindow*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG n = --refs_;
        if (!n) {
            if (system_)
                system_->Release();
            delete this;
        }
        return n;
    }

    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override
    {
        *out = window_;
        return owner_ ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override
    {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override
    {
        *out = nullptr;
        if (!owner_)
            return CO_E_OBJNOTCONNECTED;
        if (!element_)
            return system_->get_accParent(out);
        return owner_->formObject_->QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(out));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override
    {
        if (!owner_)
            return CO_E_OBJNOTCONNECTED;
        if (element_)
            return system_->get_accChildCount(n);
        *n = long(owner_->reading_.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT v, IDispatch** out) override
    {
        *out = nullptr;
        if (!owner_)
            return CO_E_OBJNOTCONNECTED;
        if (element_)
            return system_->get_accChild(v, out);
        const Accessibility::Child* c = child(v);
        if (!c)
            return E_INVALIDARG;
        if (!c->window)
            return S_FALSE; // a caption is a simple child
        return AccessibleObjectFromWindow(c->window, DWORD(OBJID_CLIENT), __uuidof(IDispatch),
                                          reinterpret_cast<void**>(out));
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT v, BSTR* out) override
    {
        *out = nullptr;
        return route(
            v, [&](IAccessible* a, VARIANT c) { return a->get_accName(c, out); },
            [&](const scene::Label& l) { return bstr(displayText(l.text(), l.font.symbol()), out); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT v, BSTR* out) override
    {
        *out = nullptr;
        if (owner_ && element_ && isSelf(v) && element_->kind() == scene::Kind::HScrollBar) {
            const auto& bar = static_cast<const scene::HScrollBar&>(*element_);
            if (!bar.valueWords.empty()) // else the system's, a percentage
                return bstr(widen(bar.valueWords), out);
        }
        return route(
            v, [&](IAccessible* a, VARIANT c) { return a->get_accValue(c, out); }, none);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT v, BSTR* out) override
    {
        *out = nullptr;
        if (owner_ && element_ && isSelf(v) && !element_->description().empty())
            return bstr(widen(element_->description()), out);
        return route(
            v, [&](IAccessible* a, VARIANT c) { return a->get_accDescription(c, out); }, none);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT v, VARIANT* out) override
    {
        VariantInit(out);
        if (owner_ && element_ && isSelf(v)) {
            const scene::Kind k = element_->kind();
            out->vt = VT_I4;
            // A panel shows a picture; the others as Windows has them, which Wine's objects do not all say.
            out->lVal = k == scene::Kind::PictureBox      ? ROLE_SYSTEM_GRAPHIC
                        : k == scene::Kind::CheckBox      ? ROLE_SYSTEM_CHECKBUTTON
                        : k == scene::Kind::CommandButton ? ROLE_SYSTEM_PUSHBUTTON
                                                          : ROLE_SYSTEM_SCROLLBAR;
            return S_OK;
        }
        return route(
            v, [&](IAccessible* a, VARIANT c) { return a->get_accRole(c, out); },
            [&](const scene::Label&) {
                out->vt = VT_I4;
                out->lVal = ROLE_SYSTEM_STATICTEXT;
                return S_OK;
            });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT v, VARIANT* out) override
    {
        VariantInit(out);
        const HRESULT hr = route(
            v, [&](IAccessible* a, VARIANT c) { return a->get_accState(c, out); },
            [&](const scene::Label& l) {
                out->vt = VT_I4;
                out->lVal = STATE_SYSTEM_READONLY | (l.shown() ? 0 : STATE_SYSTEM_INVISIBLE);
                return S_OK;
            });
        if (SUCCEEDED(hr) && out->vt == VT_I4 && element_ && isSelf(v) && element_->kind() == scene::Kind::CheckBox) {
            const auto value = static_cast<const scene::CheckBox&>(*element_).value();
            out->lVal = (out->lVal & ~(STATE_SYSTEM_CHECKED | STATE_SYSTEM_MIXED)) | (value == 1 ? STATE_SYSTEM_CHECKED
                                                                                      : value == 2 ? STATE_SYSTEM_MIXED
                                                                                                   : 0);
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT v, BSTR* out) override
    {
        *out = nullptr;
        return route(
            v, [&](IAccessible* a, VARIANT c) { return a->get_accHelp(c, out); }, none);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT v, long* topic) override
    {
        *file = nullptr;
        return route(
            v, [&](IAccessible* a, VARIANT c) { return a->get_accHelpTopic(file, c, topic); }, none);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT v, BSTR* out) override
    {
        *out = nullptr;
        return route(
            v, [&](IAccessible* a, VARIANT c) { return a->get_accKeyboardShortcut(c, out); }, none);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override
    {
        return owner_ ? system_->get_accFocus(out) : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override
    {
        return owner_ ? system_->get_accSelection(out) : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT v, BSTR* out) override
    {
        *out = nullptr;
        return route(
            v, [&](IAccessible* a, VARIANT c) { return a->get_accDefaultAction(c, out); }, none);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT v) override
    {
        return route(
            v, [&](IAccessible* a, VARIANT c) { return a->accSelect(flags, c); }, none);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT v) override
    {
        return route(
            v, [&](IAccessible* a, VARIANT c) { return a->accLocation(left, top, width, height, c); },
            [&](const scene::Label& l) {
                RECT r = pixelBox(l);
                MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
                *left = r.left, *top = r.top, *width = r.right - r.left, *height = r.bottom - r.top;
                return S_OK;
            });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* out) override
    {
        VariantInit(out);
        if (!owner_)
            return CO_E_OBJNOTCONNECTED;
        const auto& reading = owner_->reading_;
        if (element_ || (isSelf(start) && direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD))
            return system_->accNavigate(direction, start, out);
        std::size_t to = reading.size();
        if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
            if (!isSelf(start))
                return E_INVALIDARG;
            to = direction == NAVDIR_FIRSTCHILD ? 0 : reading.size() - 1;
        } else {
            const Accessibility::Child* c = child(start);
            if (!c)
                return E_INVALIDARG;
            const std::size_t at = std::size_t(c - reading.data());
            const std::string_view name = c->element->name();
            const auto named = [&](auto holds) {
                return std::size_t(std::find_if(reading.begin(), reading.end(), holds) - reading.begin());
            };
            if (direction == NAVDIR_NEXT)
                to = at + 1;
            else if (direction == NAVDIR_PREVIOUS)
                to = at - 1; // past the start it wraps beyond the end
            else if (direction == labelFor)
                to = named([&](const auto& r) { return r.element->name() == c->element->labelFor; });
            else if (direction == labelledBy)
                to = named([&](const auto& r) { return r.element->labelFor == name && !name.empty(); });
            else
                return DISP_E_MEMBERNOTFOUND;
        }
        if (to >= reading.size())
            return S_FALSE;
        return childVariant(to, out);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override
    {
        VariantInit(out);
        if (!owner_)
            return CO_E_OBJNOTCONNECTED;
        if (element_)
            return system_->accHitTest(x, y, out);
        const auto& reading = owner_->reading_;
        const POINT screen{x, y};
        POINT p = screen;
        ScreenToClient(window_, &p);
        for (const bool windows : {true, false}) // the child windows lie above the captions
            for (std::size_t i = 0; i < reading.size(); ++i) {
                const Accessibility::Child& c = reading[i];
                RECT r;
                if (windows && c.window && IsWindowVisible(c.window) && GetWindowRect(c.window, &r) &&
                    PtInRect(&r, screen))
                    return childVariant(i, out);
                if (!windows && !c.window && c.element->shown() && (r = pixelBox(*c.element), PtInRect(&r, p)))
                    return childVariant(i, out);
            }
        return system_->accHitTest(x, y, out);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT v) override
    {
        return route(
            v, [&](IAccessible* a, VARIANT c) { return a->accDoDefaultAction(c); }, none);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }

private:
    ~Object() = default;

    static HRESULT none(const scene::Label&) { return DISP_E_MEMBERNOTFOUND; }

    const Accessibility::Child* child(const VARIANT& v) const
    {
        const auto& reading = owner_->reading_;
        if (v.vt != VT_I4 || v.lVal < 1 || std::size_t(v.lVal) > reading.size())
            return nullptr;
        return &reading[std::size_t(v.lVal) - 1];
    }

    // A child window as its own object, the one its WM_GETOBJECT gives, whose parent is the form's; a caption by its
    // number.
    HRESULT childVariant(std::size_t i, VARIANT* out) const
    {
        const Accessibility::Child& c = owner_->reading_[i];
        if (!c.window) {
            out->vt = VT_I4;
            out->lVal = long(i + 1);
            return S_OK;
        }
        IDispatch* d = nullptr;
        const HRESULT hr = AccessibleObjectFromWindow(c.window, DWORD(OBJID_CLIENT), __uuidof(IDispatch),
                                                      reinterpret_cast<void**>(&d));
        if (SUCCEEDED(hr)) {
            out->vt = VT_DISPATCH;
            out->pdispVal = d;
        }
        return hr;
    }

    // Where a question goes: to the system's object for this window itself and for a control's parts, to the
    // child window's own object for a child window, and to `caption` for a caption.
    template <class System, class Caption>
    HRESULT route(const VARIANT& v, System system, Caption caption)
    {
        if (!owner_ || !system_)
            return CO_E_OBJNOTCONNECTED;
        if (element_ || isSelf(v))
            return system(system_, v);
        const Accessibility::Child* c = child(v);
        if (!c)
            return E_INVALIDARG;
        if (!c->window)
            return caption(static_cast<const scene::Label&>(*c->element));
        IAccessible* a = nullptr;
        if (FAILED(AccessibleObjectFromWindow(c->window, DWORD(OBJID_CLIENT), __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&a))))
            return E_FAIL;
        const HRESULT hr = system(a, self());
        a->Release();
        return hr;
    }

    ULONG refs_ = 1;
    Accessibility* owner_;
    HWND window_;
    const scene::Boxed* element_; // null for the form
    IAccessible* system_ = nullptr;
};

namespace {

// The child windows whose procedures answer WM_GETOBJECT with their objects.
struct Hooked {
    HWND window;
    WNDPROC previous;
    Object* object;
};
std::vector<Hooked> hooked;
// The one of them that has the focus, as their messages tell: asking the system costs a call to Wine's server.
HWND focused = nullptr;

LRESULT CALLBACK controlProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp)
{
    const auto at = std::find_if(hooked.begin(), hooked.end(), [&](const Hooked& h) { return h.window == hwnd; });
    if (at == hooked.end())
        return DefWindowProcW(hwnd, message, wp, lp);
    const Hooked h = *at;
    if (message == WM_GETOBJECT && static_cast<LONG>(lp) == OBJID_CLIENT && h.object)
        return LresultFromObject(__uuidof(IAccessible), wp, static_cast<IAccessible*>(h.object));
    if (message == WM_SETFOCUS)
        focused = hwnd;
    else if ((message == WM_KILLFOCUS || message == WM_NCDESTROY) && focused == hwnd)
        focused = nullptr;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(h.previous));
        hooked.erase(at);
    }
    return CallWindowProcW(h.previous, hwnd, message, wp, lp);
}

} // namespace

Accessibility::Accessibility(scene::Scene& scene, HWND form,
                             const std::vector<std::pair<scene::Boxed*, HWND>>& controls) :
    scene_(scene),
    form_(form), speaker_(form)
{
    for (const std::string_view name : scene::readingOrder()) {
        const auto* e = dynamic_cast<const scene::Boxed*>(scene.find(name));
        const auto control = std::find_if(controls.begin(), controls.end(), [&](auto& c) { return c.first == e; });
        if (control != controls.end())
            reading_.push_back({e, control->second});
        else if (e && e->kind() == scene::Kind::Label)
            reading_.push_back({e, nullptr});
    }
    formObject_ = new Object(*this, form, nullptr);
    for (const auto& [e, w] : controls) {
        auto* object = new Object(*this, w, e);
        controlObjects_.push_back(object);
        const auto previous =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc)));
        hooked.push_back({w, previous, object});
    }
    scene.watchers.push_back(Watcher{this});
    scene.announce = [this](const scene::Element& about, const std::string& text) {
        if (about.kind() == scene::Kind::CheckBox)
            speaker_.sayToggle(widen(text));
        else
            speaker_.sayAngle(widen(text));
    };
}

Accessibility::~Accessibility()
{
    scene_.announce = nullptr;
    std::erase_if(scene_.watchers, [this](const auto& w) {
        const auto* mine = w.template target<Watcher>();
        return mine && mine->self == this;
    });
    for (Object* o : controlObjects_) {
        const auto at = std::find_if(hooked.begin(), hooked.end(), [&](const Hooked& h) { return h.object == o; });
        // A procedure put over ours since keeps calling it: ours then only passes the messages on.
        if (at != hooked.end() &&
            GetWindowLongPtrW(at->window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(controlProc)) {
            SetWindowLongPtrW(at->window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(at->previous));
            hooked.erase(at);
        } else if (at != hooked.end()) {
            at->object = nullptr;
        }
        o->detach();
        o->Release();
    }
    formObject_->detach();
    formObject_->Release();
}

LRESULT Accessibility::answer(WPARAM wp, LPARAM lp)
{
    if (static_cast<LONG>(lp) != OBJID_CLIENT)
        return 0;
    return LresultFromObject(__uuidof(IAccessible), wp, static_cast<IAccessible*>(formObject_));
}

void Accessibility::Watcher::operator()(const scene::Element& e, scene::Prop p) const
{
    const auto& reading = self->reading_;
    const auto at = std::find_if(reading.begin(), reading.end(), [&](const Child& c) { return c.element == &e; });
    if (at == reading.end())
        return;
    if (e.kind() == scene::Kind::Label && p == scene::Prop::Caption)
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, self->form_, OBJID_CLIENT, LONG(at - reading.begin() + 1));
    // A focused panel's new description comes with the angle's sentence, which says the same; a second event
    // would have a screen reader say both.
    else if (e.kind() == scene::Kind::PictureBox && p == scene::Prop::Description && focused != at->window)
        NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, at->window, OBJID_CLIENT, CHILDID_SELF);
}

Speaker::Speaker(HWND form)
{
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    uninitialise_ = SUCCEEDED(com);
    region_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 0, 0, 0, form, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(region_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (SUCCEEDED(CoCreateInstance(annotationServer, nullptr, CLSCTX_INPROC_SERVER, annotationInterface,
                                   reinterpret_cast<void**>(&annotations_)))) {
        VARIANT v;
        v.vt = VT_I4;
        v.lVal = polite;
        annotated_ = SUCCEEDED(annotations_->SetHwndProp(region_, DWORD(OBJID_CLIENT), CHILDID_SELF, liveSetting, v));
    }
}

Speaker::~Speaker()
{
    if (annotations_) {
        if (annotated_)
            annotations_->ClearHwndProps(region_, DWORD(OBJID_CLIENT), CHILDID_SELF, &liveSetting, 1);
        annotations_->Release();
    }
    if (automation_)
        FreeLibrary(automation_);
    if (IsWindow(region_)) {
        KillTimer(region_, pauseTimer);
        KillTimer(region_, toggleTimer);
        DestroyWindow(region_);
    }
    if (uninitialise_)
        CoUninitialize();
}

bool Speaker::notifies()
{
    if (!looked_) {
        looked_ = true;
        // From the system's folder only, never the program's.
        automation_ = LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (automation_) {
            hostProvider_ = reinterpret_cast<decltype(hostProvider_)>(
                reinterpret_cast<void*>(GetProcAddress(automation_, "UiaHostProviderFromHwnd")));
            notify_ = reinterpret_cast<decltype(notify_)>(
                reinterpret_cast<void*>(GetProcAddress(automation_, "UiaRaiseNotificationEvent")));
        }
    }
    return hostProvider_ && notify_;
}

void Speaker::sayAngle(const std::wstring& text)
{
    if (pausing_) {
        pending_ = text;
        return;
    }
    sayNow(text, true);
    pausing_ = SetTimer(region_, pauseTimer, 150, tick) != 0;
}

void Speaker::sayToggle(const std::wstring& text)
{
    toggle_ = text;
    SetTimer(region_, toggleTimer, USER_TIMER_MINIMUM, tick);
}

void CALLBACK Speaker::tick(HWND hwnd, UINT, UINT_PTR id, DWORD)
{
    auto* self = reinterpret_cast<Speaker*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return;
    if (id == toggleTimer) {
        KillTimer(hwnd, id);
        self->sayNow(self->toggle_, false);
    } else if (self->pending_.empty()) {
        KillTimer(hwnd, id);
        self->pausing_ = false;
    } else { // the timer goes on: one more pause after this sentence
        self->sayNow(self->pending_, true);
        self->pending_.clear();
    }
}

void Speaker::sayNow(const std::wstring& text, bool latestOnly)
{
    SetWindowTextW(region_, text.c_str());
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, region_, OBJID_CLIENT, CHILDID_SELF);
    IUnknown* host = nullptr;
    if (!notifies() || FAILED(hostProvider_(region_, &host)) || !host)
        return;
    BSTR said = SysAllocStringLen(text.data(), UINT(text.size()));
    BSTR activity = SysAllocString(latestOnly ? L"Rodelume.angle" : L"Rodelume.graph");
    // ActionCompleted; the angle's sentence drops those before it (MostRecent), a graph's is said in full (All).
    notify_(host, 2, latestOnly ? 3 : 2, said, activity);
    SysFreeString(said);
    SysFreeString(activity);
    host->Release();
}

} // namespace winui
