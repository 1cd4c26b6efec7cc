// The window that shows a scene on Windows: the form's own window, a child window per control and panel.
#pragma once
#include "runtime/win32/accessible.h"
#include "runtime/win32/panel.h"
#include "runtime/win32/win.h"
#include "scene/scene.h"

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace winui {

// Registers the form's and the panels' window classes; the icon comes from the program's resources.
void registerClasses(HINSTANCE instance);

// Labels and shapes are windowless: the form paints them, in stacking order, through a buffer, under its child
// windows (panels, check boxes, buttons, the scroll bar). Fixed frame, client area of the scene's size, hidden until
// shown. The dialog manager's Tab order follows TabIndex.
class FormWindow : public scene::ElementView {
public:
    static constexpr const wchar_t* className = L"Rodelume";
    explicit FormWindow(scene::Scene& scene);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    // The child window that shows the element of that name, or null (labels and shapes have none).
    HWND control(std::string_view name) const;
    // Raised when the window first becomes active.
    std::function<void()> Activate;
    // Whether closing the window ends the message loop.
    bool endsProgram = false;
    // Centres the window's frame on its monitor's work area.
    void centre();
    void changed(const scene::Element& e, scene::Prop p) override;
    // The font a label or check box is drawn in.
    HFONT font(const scene::Font& f);
    // Marks part of the form or of a child window for repainting once the changes of this message are done: one
    // handler makes dozens of changes, and each call into the window system costs more than the paint it asks for.
    void invalidate(HWND w, const RECT& r);
    Accessibility& accessibility() { return *accessibility_; }

private:
    friend void registerClasses(HINSTANCE);
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT message, WPARAM wp, LPARAM lp);
    void paint(HDC dc, const RECT& dirty);
    void scroll(WPARAM code);
    scene::Boxed* element(HWND control) const;

    scene::Scene& scene_;
    HWND hwnd_ = nullptr;
    std::vector<scene::Boxed*> drawn_; // labels and shapes, the lowest first
    std::vector<std::pair<scene::Boxed*, HWND>> controls_;
    std::vector<std::unique_ptr<Panel>> panels_;
    std::vector<std::pair<scene::Font, HFONT>> fonts_;
    std::vector<std::pair<HWND, RECT>> pending_;
    HWND scrollBar_ = nullptr;
    HWND savedFocus_ = nullptr;
    bool activated_ = false;
    PaintBuffer buffer_;
    std::unique_ptr<Accessibility> accessibility_;
};

} // namespace winui
