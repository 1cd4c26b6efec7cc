// A panel: a child window that paints its Line and Shape elements in its inner area.
#pragma once
#include "runtime/win32/look.h"
#include "runtime/win32/win.h"
#include "scene/scene.h"

#include <unordered_map>
#include <vector>

namespace winui {

class FormWindow;

// Painted only in WM_PAINT, from the model's state, through a buffer of its own. Its window text is its accessible
// name. A panel whose model takes the pointer shows a hand and gets the mouse in the coordinates of its inner area,
// which is its client area inside the sunken edge; one with KeyDown gets the scroll bar's keys while focused.
class Panel : public scene::PanelView {
public:
    static constexpr const wchar_t* className = L"RodelumePanel";
    static void registerClass(HINSTANCE instance);

    Panel(const scene::PictureBox& panel, FormWindow& form, int id);
    ~Panel() override;
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Adds an element that the panel holds, in layout order; earlier ones lie above later ones.
    void add(const scene::Element& e) override;
    void add(const scene::LineArray& a) override;
    void changed(const scene::Element& e, scene::Prop p) override;
    // After the form's scale changed and the window was moved to its new box.
    void layOut();

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT message, WPARAM wp, LPARAM lp);
    void paint(HDC dc, const RECT& dirty);
    // Where an element shows now, in client pixels; empty when hidden.
    RECT footprint(const scene::Element& e) const;

    const scene::PictureBox& panel_;
    FormWindow& form_;
    HWND hwnd_ = nullptr;
    struct Item {
        const scene::Element* element;
        const scene::LineArray* array;
    };
    std::vector<Item> items_;
    // How each single element showed at its last change, so that a move repaints only what it covers, and a
    // property set to the value it had repaints nothing.
    struct Shown {
        RECT footprint;
        float a, b, c, d; // the line's ends, or the box
        scene::Colour colour;
        bool operator==(const Shown&) const;
    };
    Shown shown(const scene::Element& e) const;
    std::unordered_map<const scene::Element*, Shown> shownAt_;
    PaintBuffer buffer_;
};

} // namespace winui
