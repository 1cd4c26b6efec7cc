// How scene values look on Windows: colours, fonts, texts and the screen's measures.
#pragma once
#include "runtime/win32/win.h"
#include "scene/element.h"

#include <string>
#include <string_view>

namespace winui {

// A scene colour; 0x80000000 + n is the desktop's system colour n.
COLORREF colour(scene::Colour c);

// The font at the screen's dots per inch; an empty face is the desktop's message font. Symbol-font captions are
// drawn in Unicode, in a face that has α, ≈, ∞ and −. The caller deletes it.
HFONT createFont(const scene::Font& f, double twipsPerPixel);

// The text as the screen shows it: in a symbol-font caption a, », ¥ and - are α, ≈, ∞ and −.
std::wstring displayText(const scene::Text& latin1, bool symbol);

std::wstring widen(std::string_view utf8);

// A scene coordinate on the pixel grid.
int pixel(double v);
// An element's box in its container's pixels: each edge on the grid.
RECT pixelBox(const scene::Boxed& b);

// What a window paints into before the screen gets it: a 32-bit bitmap of the client area's size, made at the first
// WM_PAINT. Drawn in memory by the system's own code, where a bitmap compatible with the display may make every line
// a request to the display server; only the dirty rectangle is copied out, in one piece.
class PaintBuffer {
public:
    PaintBuffer() = default;
    ~PaintBuffer();
    PaintBuffer(const PaintBuffer&) = delete;
    PaintBuffer& operator=(const PaintBuffer&) = delete;
    // Answers WM_PAINT: draw(dc, dirty) paints the buffer, whose pixels are the window's client pixels.
    template <class Draw>
    void paint(HWND hwnd, Draw&& draw)
    {
        PAINTSTRUCT ps;
        HDC screen = BeginPaint(hwnd, &ps);
        ensure(hwnd, screen);
        const RECT& d = ps.rcPaint;
        draw(dc_, d);
        BitBlt(screen, d.left, d.top, d.right - d.left, d.bottom - d.top, dc_, d.left, d.top, SRCCOPY);
        EndPaint(hwnd, &ps);
    }

private:
    void ensure(HWND hwnd, HDC screen);
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// 1440 over the screen's logical dots per inch.
double screenTwipsPerPixel();

// The user's decimal separator; the point where it is not one Latin-1 character.
char userDecimalSeparator();

} // namespace winui
