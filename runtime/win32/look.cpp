#include "runtime/win32/look.h"

#include <cmath>

namespace winui {

COLORREF colour(scene::Colour c)
{
    if (scene::isSystemColour(c))
        return GetSysColor(int(c & 0xFFFFu));
    return COLORREF(c & 0xFFFFFFu); // 0x00BBGGRR, as GDI has it
}

HFONT createFont(const scene::Font& f, double twipsPerPixel)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    const double dpi = 1440 / twipsPerPixel;
    if (f.face.empty() && SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        LONG& height = metrics.lfMessageFont.lfHeight;
        height = MulDiv(height, pixel(dpi), systemDpi());
        return CreateFontIndirectW(&metrics.lfMessageFont);
    }
    LOGFONTW lf{};
    // The character height, without the internal leading; whole at 96 dots per inch, and rounded down at other
    // scales, where a rounded-up size would leave the ink of the tightest label one pixel below its box.
    lf.lfHeight = -LONG(f.points * dpi / 72);
    lf.lfWeight = f.weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = f.symbol() ? L"Times New Roman" : widen(f.face);
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&lf);
}

std::wstring displayText(const scene::Text& text, bool symbol)
{
    std::wstring out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (symbol && c == 'a')
            out += L'\x03B1';
        else if (symbol && c == 0xBB)
            out += L'\x2248';
        else if (symbol && c == 0xA5)
            out += L'\x221E';
        else if (symbol && c == '-')
            out += L'\x2212';
        else
            out += wchar_t(c);
    }
    return out;
}

std::wstring widen(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring out(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
    return out;
}

int pixel(double v) { return int(std::lround(v)); }

RECT Scale::box(const scene::Boxed& b) const
{
    const Scale& s = *this;
    return {s(b.left()), s(b.top()), s(double(b.left()) + b.width()), s(double(b.top()) + b.height())};
}

RECT pixelBox(const scene::Boxed& b) { return Scale{}.box(b); }

void PaintBuffer::ensure(HWND hwnd, HDC screen)
{
    if (dc_)
        return;
    RECT client;
    GetClientRect(hwnd, &client);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
}

PaintBuffer::~PaintBuffer() { reset(); }

void PaintBuffer::reset()
{
    if (!dc_)
        return;
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    dc_ = nullptr;
    bitmap_ = nullptr;
}

double screenTwipsPerPixel() { return 1440.0 / systemDpi(); }

int systemDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

void becomeDpiAware()
{
    static const auto perMonitor =
        user32Function<BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT)>("SetProcessDpiAwarenessContext");
    if (!perMonitor || !perMonitor(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
        SetProcessDPIAware();
}

int windowDpi(HWND w)
{
    static const auto forWindow = user32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    const UINT dpi = forWindow && w ? forWindow(w) : 0;
    return dpi ? int(dpi) : systemDpi();
}

char userDecimalSeparator()
{
    wchar_t sep[8] = {};
    const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, sep, 8);
    return n == 2 && sep[0] > 0 && sep[0] < 0x100 ? char(sep[0]) : '.'; // n counts the terminating null
}

} // namespace winui
