// How scene values look on Windows: colours, fonts, texts and the screen's measures.
#pragma once
#include "runtime/win32/win.h"
#include "scene/element.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace winui {

// A scene colour; 0x80000000 + n is the desktop's system colour n.
COLORREF colour(scene::Colour c);

// The font at 1440 / twipsPerPixel dots per inch; an empty face is the desktop's message font, scaled from the
// desktop's dots per inch to those. Symbol-font captions are drawn in Unicode, in a face that has α, ≈, ∞ and −. The
// caller deletes it.
HFONT createFont(const scene::Font& f, double twipsPerPixel);

// The text as the screen shows it: in a symbol-font caption a, », ¥ and - are α, ≈, ∞ and −.
std::wstring displayText(const scene::Text& latin1, bool symbol);

std::wstring widen(std::string_view utf8);

// A scene coordinate on the pixel grid.
int pixel(double v);

// The scene's pixels, 96 to the inch (15 twips), on a screen of `dpi` dots per inch: at 96 one to one.
struct Scale {
    int dpi = 96;
    int operator()(double v) const { return pixel(v * dpi / 96); }
    // An element's box in its container's device pixels: each edge on the grid.
    RECT box(const scene::Boxed& b) const;
    // A device pixel's coordinate in the scene's pixels.
    double scene(int device) const { return device * 96.0 / dpi; }
    double twipsPerPixel() const { return 1440.0 / dpi; }
    // A one-pixel line's width in device pixels: one up to 150 %, two from 175 %. Qt's 1-pixel pens, scaled and
    // drawn without smoothing, come out 1.6 pixels thick on average at 125 % and 2.2 at 150 %, where GDI's 2-pixel
    // pen with its square ends makes a curve of one-degree segments 3 thick: one is nearer, and sharp.
    int pen() const { return std::max(1, (dpi + 24) / 96); }
};

// An element's box in its container's pixels at 96 dots per inch.
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

    // Drops the bitmap: the next WM_PAINT makes one of the client area's new size.
    void reset();

private:
    void ensure(HWND hwnd, HDC screen);
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// 1440 over the screen's logical dots per inch.
double screenTwipsPerPixel();
// The desktop's dots per inch.
int systemDpi();
// Asks for the screen's own pixels: per monitor where Windows has it (10 and later), else the desktop's.
void becomeDpiAware();
// The window's dots per inch: its monitor's where Windows scales per monitor (10 and later), else the desktop's.
int windowDpi(HWND w);
// A function of user32 that older Windows lack, or null.
template <class F>
F user32Function(const char* name)
{
    // Through void (*)(), the type that any function pointer converts to and back without a warning.
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// The user's decimal separator; the point where it is not one Latin-1 character.
char userDecimalSeparator();

} // namespace winui
