// What the window gives Windows screen readers beyond what the system's own objects say of its child windows: the
// captions as objects in reading order, the panels' descriptions, the scroll bar's value in words, the check boxes'
// states, and the sentences the model announces.
#pragma once
#include "runtime/win32/win.h"
#include "scene/scene.h"

#include <string>
#include <utility>
#include <vector>

struct IAccPropServices;
struct IUnknown;

namespace winui {

class Object;

// The model's sentences, said through a live region: a window of no size whose text is the sentence, marked polite
// through the annotation server where the system has one, and raised with EVENT_OBJECT_LIVEREGIONCHANGED. Where
// the system has UI Automation's notifications (Windows 10 1709 and later), the sentence is raised there too; the
// function is looked up when first needed, so that the program file imports nothing of it.
class Speaker {
public:
    explicit Speaker(HWND form);
    ~Speaker();
    Speaker(const Speaker&) = delete;
    Speaker& operator=(const Speaker&) = delete;
    // The angle: at most one sentence every 150 ms, the latest always, so that a drag does not leave the screen
    // reader seconds behind the pointer.
    void sayAngle(const std::wstring& text);
    // A graph shown or hidden: after the screen reader's own word for the box's new state.
    void sayToggle(const std::wstring& text);
    HWND region() const { return region_; }
    // Whether the system took the live region's annotation, and has UI Automation's notifications; without them
    // the live region's event alone carries the sentence.
    bool annotated() const { return annotated_; }
    bool notifies();

private:
    static void CALLBACK tick(HWND hwnd, UINT, UINT_PTR id, DWORD);
    void sayNow(const std::wstring& text, bool latestOnly);
    bool uninitialise_ = false;
    HWND region_ = nullptr;
    IAccPropServices* annotations_ = nullptr;
    bool annotated_ = false;
    bool looked_ = false;
    HMODULE automation_ = nullptr;
    HRESULT(WINAPI* hostProvider_)(HWND, IUnknown**) = nullptr;
    HRESULT(WINAPI* notify_)(IUnknown*, int, int, wchar_t*, wchar_t*) = nullptr;
    bool pausing_ = false;
    std::wstring pending_, toggle_;
};

// The form's accessible object in place of the system's, and the objects of its child windows, which answer for
// them through a subclass of their window procedures. The captions are the form's simple children, not windows of
// their own: the frames lie over them, and a child window would cover the frames or cost a repaint of its own.
class Accessibility {
public:
    Accessibility(scene::Scene& scene, HWND form, const std::vector<std::pair<scene::Boxed*, HWND>>& controls);
    ~Accessibility();
    Accessibility(const Accessibility&) = delete;
    Accessibility& operator=(const Accessibility&) = delete;
    // The answer to the form's WM_GETOBJECT; 0 where the system answers.
    LRESULT answer(WPARAM wp, LPARAM lp);
    Speaker& speaker() { return speaker_; }

private:
    friend class Object;
    struct Watcher {
        Accessibility* self;
        void operator()(const scene::Element& e, scene::Prop p) const;
    };
    scene::Scene& scene_;
    HWND form_;
    // The form's children in reading order: a caption has no window.
    struct Child {
        const scene::Boxed* element;
        HWND window;
    };
    std::vector<Child> reading_;
    Object* formObject_ = nullptr;
    std::vector<Object*> controlObjects_;
    Speaker speaker_;
};

} // namespace winui
