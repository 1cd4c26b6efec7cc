#include "scene/layout.h"

#include <algorithm>
#include <array>

namespace scene {
namespace {

constexpr Font button = {};
constexpr Font verdana = {"Verdana", 9.75f};
constexpr Font credit = {"Verdana", 14.25f};
constexpr Font times = {"Times New Roman", 14.25f};
constexpr Font symbol = {"Symbol", 15.75f, 400, 2};

constexpr Colour blue = 0x00FF0000, red = 0x000000FF, magenta = 0x00FF00FF, gray = 0x00808080, white = 0x00FFFFFF,
                 lightGray = 0x00C0C0C0, black = 0x00000000;

struct Row {
    std::string_view name;
    Kind kind;
    std::string_view in = {}; // the panel that holds it; empty for the window
    std::array<int, 4> twips; // Left, Top, Width, Height; or X1, Y1, X2, Y2 for a line
    int tab = -1;
    std::string_view caption = {}; // UTF-8
    std::string_view a11y = {};    // accessible name, where the caption does not serve
    std::string_view labels = {};  // the element whose caption this label names
    Font font = button;
    Colour colour = colour::windowText; // BorderColor; BackColor of panels and labels
    Colour fore = colour::buttonText;
    int align = Label::LeftJustify;
    int value = 0; // CheckBox Value
    bool visible = true;
    bool enabled = true;
    bool array = false;
    Shape::Figure figure = Shape::Rectangle;
};

// clang-format off
constexpr Row layout[] = {
    {.name = "btemail", .kind = Kind::CommandButton, .twips = {7320, 5880, 2055, 375}, .tab = 16, .caption = "E-Mail"},
    {.name = "btpage", .kind = Kind::CommandButton, .twips = {5160, 5880, 2055, 375}, .tab = 15, .caption = "Home Page"},
    {.name = "frmsec2", .kind = Kind::PictureBox, .twips = {5280, 3960, 1335, 1335}, .tab = 6, .a11y = "Reta tangente", .colour = lightGray, .fore = gray, .enabled = false},
    {.name = "tangente2", .kind = Kind::Line, .in = "frmsec2", .twips = {720, 120, 840, 1080}, .colour = magenta, .visible = false},
    {.name = "eixoxx2", .kind = Kind::Line, .in = "frmsec2", .twips = {360, 240, 480, 1080}, .colour = gray, .visible = false},
    {.name = "chseno", .kind = Kind::CheckBox, .twips = {6840, 3960, 1695, 375}, .tab = 5, .caption = "Função Seno", .font = verdana, .value = 1},
    {.name = "chcoseno", .kind = Kind::CheckBox, .twips = {6840, 4440, 1935, 375}, .tab = 4, .caption = "Função Co-seno", .font = verdana, .value = 1},
    {.name = "chtangente", .kind = Kind::CheckBox, .twips = {6840, 4920, 2175, 375}, .tab = 3, .caption = "Função Tangente", .font = verdana, .value = 1},
    {.name = "frmsec3", .kind = Kind::PictureBox, .twips = {3840, 120, 5535, 3375}, .tab = 2, .a11y = "Gráficos das funções", .colour = lightGray, .fore = gray},
    {.name = "ftangente", .kind = Kind::Line, .in = "frmsec3", .twips = {1320, 240, 1320, 960}, .visible = false, .array = true},
    {.name = "fcoseno", .kind = Kind::Line, .in = "frmsec3", .twips = {960, 240, 960, 960}, .visible = false, .array = true},
    {.name = "fseno", .kind = Kind::Line, .in = "frmsec3", .twips = {600, 240, 600, 960}, .visible = false, .array = true},
    {.name = "eixoxx3", .kind = Kind::Line, .in = "frmsec3", .twips = {600, 2160, 2400, 2160}, .colour = gray},
    {.name = "vertical", .kind = Kind::Line, .in = "frmsec3", .twips = {1200, 3000, 2760, 2880}, .colour = white},
    {.name = "brangulo", .kind = Kind::HScrollBar, .twips = {120, 3600, 9255, 255}, .tab = 1, .a11y = "Ângulo α em graus"},
    {.name = "frmsec1", .kind = Kind::PictureBox, .twips = {120, 120, 3615, 3375}, .tab = 0, .a11y = "Círculo trigonométrico", .colour = lightGray, .fore = colour::windowText},
    {.name = "raio", .kind = Kind::Line, .in = "frmsec1", .twips = {480, 840, 480, 1800}, .visible = false},
    {.name = "tangente", .kind = Kind::Line, .in = "frmsec1", .twips = {360, 3000, 1200, 3000}, .colour = magenta, .visible = false},
    {.name = "coseno", .kind = Kind::Line, .in = "frmsec1", .twips = {360, 2640, 1200, 2640}, .colour = red, .visible = false},
    {.name = "seno", .kind = Kind::Line, .in = "frmsec1", .twips = {360, 2280, 1320, 2280}, .colour = blue, .visible = false},
    {.name = "eixoyy", .kind = Kind::Line, .in = "frmsec1", .twips = {1680, 840, 1680, 1920}, .colour = gray, .visible = false},
    {.name = "eixoxx", .kind = Kind::Line, .in = "frmsec1", .twips = {960, 840, 960, 1920}, .colour = gray, .visible = false},
    {.name = "circulo", .kind = Kind::Shape, .in = "frmsec1", .twips = {480, 360, 2655, 2655}, .visible = false, .figure = Shape::Circle},
    {.name = "Label1", .kind = Kind::Label, .twips = {5160, 5400, 4215, 435}, .tab = 14, .caption = "Varnelho Software", .font = credit, .colour = black, .fore = white, .align = Label::Center},
    {.name = "Shape1", .kind = Kind::Shape, .twips = {240, 5640, 4695, 495}, .colour = magenta},
    {.name = "Shape2", .kind = Kind::Shape, .twips = {240, 5040, 4695, 495}, .colour = red},
    {.name = "Shape3", .kind = Kind::Shape, .twips = {240, 4440, 4695, 495}, .colour = blue},
    {.name = "Shape4", .kind = Kind::Shape, .twips = {120, 3960, 4935, 2295}},
    {.name = "lblalfa", .kind = Kind::Label, .twips = {240, 3960, 4695, 375}, .tab = 13, .caption = "a = 0°", .font = symbol, .colour = colour::buttonFace, .align = Label::Center},
    {.name = "lblseno2", .kind = Kind::Label, .twips = {840, 4440, 3975, 375}, .tab = 12, .caption = "a = 0", .font = symbol, .colour = colour::buttonFace},
    {.name = "lblcoseno2", .kind = Kind::Label, .twips = {840, 5040, 3975, 375}, .tab = 11, .caption = "a = 1", .font = symbol, .colour = colour::buttonFace},
    {.name = "lbltg2", .kind = Kind::Label, .twips = {840, 5640, 3975, 375}, .tab = 10, .caption = "a = 0", .font = symbol, .colour = colour::buttonFace},
    {.name = "lblseno1", .kind = Kind::Label, .twips = {240, 4545, 495, 255}, .tab = 9, .caption = "sen", .labels = "lblseno2", .font = times, .colour = colour::buttonFace, .align = Label::RightJustify},
    {.name = "lblcoseno1", .kind = Kind::Label, .twips = {240, 5145, 495, 255}, .tab = 8, .caption = "cos", .labels = "lblcoseno2", .font = times, .colour = colour::buttonFace, .align = Label::RightJustify},
    {.name = "lbltg1", .kind = Kind::Label, .twips = {240, 5745, 495, 375}, .tab = 7, .caption = "tg", .labels = "lbltg2", .font = times, .colour = colour::buttonFace, .align = Label::RightJustify},
};
// clang-format on

constexpr std::string_view reading[] = {"frmsec1",    "frmsec3",    "brangulo", "lblalfa", "lblseno1", "lblseno2",
                                        "lblcoseno1", "lblcoseno2", "lbltg1",   "lbltg2",  "frmsec2",  "chseno",
                                        "chcoseno",   "chtangente", "Label1",   "btpage",  "btemail"};

} // namespace

std::span<const std::string_view> readingOrder() { return reading; }

Point startPosition(int areaLeft, int areaTop, int areaWidth, int areaHeight, int frameWidth, int frameHeight)
{
    return {areaLeft + std::max(0, (areaWidth - frameWidth) / 2),
            areaTop + std::max(0, (areaHeight - frameHeight) / 2)};
}

void buildLayout(Scene& s, double tpp)
{
    s.caption = latin1("Rodelume 2.0");
    s.twipsPerPixel = tpp;
    s.clientWidth = static_cast<float>(clientWidthTwips / tpp);
    s.clientHeight = static_cast<float>(clientHeightTwips / tpp);
    for (const Row& row : layout) {
        const auto px = [&](int i) { return static_cast<float>(row.twips[static_cast<std::size_t>(i)] / tpp); };
        Element* panel = row.in.empty() ? nullptr : s.find(row.in);
        const Text caption = latin1(row.caption);
        Boxed* boxed = nullptr;
        switch (row.kind) {
        case Kind::Line: {
            Line& l = s.add<Line>(row.name, panel, px(0), px(1), px(2), px(3), row.colour, row.visible);
            if (row.array)
                s.addArray(l);
            break;
        }
        case Kind::Shape:
            boxed = &s.add<Shape>(row.name, panel, px(0), px(1), px(2), px(3), row.figure, row.colour, row.visible);
            break;
        case Kind::Label:
            boxed = &s.add<Label>(row.name, px(0), px(1), px(2), px(3), caption, Label::Align(row.align), row.font,
                                  row.colour, row.fore);
            break;
        case Kind::PictureBox:
            boxed = &s.add<PictureBox>(row.name, px(0), px(1), px(2), px(3), row.colour, row.fore, row.enabled);
            break;
        case Kind::CheckBox:
            boxed = &s.add<CheckBox>(row.name, px(0), px(1), px(2), px(3), caption, row.font,
                                     static_cast<std::int16_t>(row.value));
            break;
        case Kind::CommandButton: boxed = &s.add<CommandButton>(row.name, px(0), px(1), px(2), px(3), caption); break;
        case Kind::HScrollBar:
            // A 1-degree small change and a 5-degree large change reach every angle by the arrow keys.
            boxed = &s.add<HScrollBar>(row.name, px(0), px(1), px(2), px(3), 0, 360, 1, 5);
            break;
        }
        if (boxed) {
            boxed->tabIndex = row.tab;
            boxed->accessibleName = row.a11y;
            boxed->labelFor = row.labels;
        }
    }
}

} // namespace scene
