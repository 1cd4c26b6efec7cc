#include "runtime/qt/look.h"

#include <QGuiApplication>
#include <QScreen>

namespace qtui {

QColor qtColour(scene::Colour c, const QPalette& palette)
{
    if (!scene::isSystemColour(c))
        return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    switch (c & 0xFFFFu) {
    case 5: return palette.color(QPalette::Base); // window background
    case 8: return palette.color(QPalette::Text); // window text
    case 13: return palette.color(QPalette::Highlight);
    case 14: return palette.color(QPalette::HighlightedText);
    case 16: return palette.color(QPalette::Dark); // button shadow
    case 18: return palette.color(QPalette::ButtonText);
    case 20: return palette.color(QPalette::Light);  // button highlight
    default: return palette.color(QPalette::Button); // button face and the rest
    }
}

QFont qtFont(const scene::Font& f)
{
    QFont font = QGuiApplication::font();
    // Symbol-font captions are mapped to Unicode, so a Times-like face with α, ≈, ∞ and − serves them.
    if (f.symbol() || f.face == "Times New Roman")
        font.setFamilies({"Times New Roman", "Liberation Serif", "DejaVu Serif"});
    else if (f.face == "Verdana")
        font.setFamilies({"Verdana", "DejaVu Sans"});
    if (f.points > 0)
        font.setPointSizeF(f.points);
    font.setWeight(QFont::Weight(f.weight));
    return font;
}

QString displayText(const scene::Text& text, bool symbol)
{
    QString out;
    out.reserve(qsizetype(text.size()));
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (symbol && c == 'a')
            out += QChar(0x03B1);
        else if (symbol && c == 0xBB)
            out += QChar(0x2248);
        else if (symbol && c == 0xA5)
            out += QChar(0x221E);
        else if (symbol && c == '-')
            out += QChar(0x2212);
        else
            out += QChar(c);
    }
    return out;
}

double screenTwipsPerPixel()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

} // namespace qtui
