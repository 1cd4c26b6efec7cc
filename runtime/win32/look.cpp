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
    if (f.face.empty() && SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return CreateFontIndirectW(&metrics.lfMessageFont);
    LOGFONTW lf{};
    const double dpi = 1440 / twipsPerPixel;
    lf.lfHeight = -pixel(f.points * dpi / 72); // the character height, without the internal leading
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

RECT pixelBox(const scene::Boxed& b)
{
    return {pixel(b.left()), pixel(b.top()), pixel(double(b.left()) + b.width()), pixel(double(b.top()) + b.height())};
}

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

PaintBuffer::~PaintBuffer()
{
    if (!dc_)
        return;
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

double screenTwipsPerPixel()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return 1440.0 / (dpi > 0 ? dpi : 96);
}

char userDecimalSeparator()
{
    wchar_t sep[8] = {};
    const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, sep, 8);
    return n == 2 && sep[0] > 0 && sep[0] < 0x100 ? char(sep[0]) : '.'; // n counts the terminating null
}

} // namespace winui
