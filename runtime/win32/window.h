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
    // The font a label or check box is drawn in, at the window's scale.
    HFONT font(const scene::Font& f);
    // The scene's pixels on the screen's, at the dots per inch of the monitor the window is on.
    const Scale& scale() const { return scale_; }
    // A wheel's turn over the scroll bar or a panel (WM_MOUSEWHEEL's delta): a notch is a step of the scroll bar.
    void wheel(HWND over, int delta);
    // Marks part of the form or of a child window for repainting once the changes of this message are done: one
    // handler makes dozens of changes, and each call into the window system costs more than the paint it asks for.
    void invalidate(HWND w, const RECT& r);
    Accessibility& accessibility() { return *accessibility_; }

private:
    // Whether the label's caption differs from the one it showed at its last change, which it then remembers.
    bool newCaption(const scene::Label& label);
    friend void registerClasses(HINSTANCE);
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT message, WPARAM wp, LPARAM lp);
    void paint(HDC dc, const RECT& dirty);
    void scroll(WPARAM code);
    // The frame's size for the scene's client area at the window's scale.
    SIZE frameSize() const;
    // Resizes the frame until its client area is the scene's at the window's scale.
    void fitClient();
    // Every child window's box and font at the window's scale, after a change of dots per inch.
    void layOut();
    scene::Boxed* element(HWND control) const;

    scene::Scene& scene_;
    HWND hwnd_ = nullptr;
    std::vector<scene::Boxed*> drawn_; // labels and shapes, the lowest first
    std::vector<std::pair<scene::Boxed*, HWND>> controls_;
    std::vector<std::unique_ptr<Panel>> panels_;
    std::vector<std::pair<scene::Font, HFONT>> fonts_;
    std::vector<std::pair<HWND, RECT>> pending_;
    std::vector<std::pair<const scene::Element*, scene::Text>> captions_; // each label's text as last shown
    HWND scrollBar_ = nullptr;
    HWND savedFocus_ = nullptr;
    bool activated_ = false;
    PaintBuffer buffer_;
    Scale scale_;
    scene::WheelTurn wheelTurn_;
    HWND wheelOver_ = nullptr;
    std::unique_ptr<Accessibility> accessibility_;
};

} // namespace winui
