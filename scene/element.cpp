#include "scene/element.h"

#include "runtime/error.h"
#include "runtime/numbers.h"
#include "runtime/services.h"
#include "scene/scene.h"

#include <algorithm>

namespace scene {

Text latin1(std::string_view utf8)
{
    Text out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            const unsigned code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3Fu);
            out += code < 0x100 ? static_cast<char>(code) : '?';
        } else {
            while (i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80)
                ++i;
            out += '?';
        }
    }
    return out;
}

std::string utf8(const Text& text)
{
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

Element::Element(Scene& scene, Kind kind, std::string_view name, Element* container, bool visible) :
    scene_(&scene), name_(name), kind_(kind), visible_(visible), container_(container)
{}

Element::Element(const Element& from, std::int16_t) :
    view(from.view), scene_(from.scene_), name_(from.name_), kind_(from.kind_), visible_(false),
    container_(from.container_)
{}

bool Element::Visible() const
{
    read(Prop::Visible);
    return visible_;
}

void Element::setVisible(bool v)
{
    write(Prop::Visible);
    visible_ = v;
    changed(Prop::Visible);
}

void Element::read(Prop p) const { scene_->access(*this, p, false); }
void Element::write(Prop p) const { scene_->access(*this, p, true); }
void Element::changed(Prop p) { scene_->notify(*this, p); }

void Element::store(Prop p, float& field, double value)
{
    write(p);
    field = rt::single(value);
    changed(p);
}

Line::Line(Scene& s, std::string_view name, Element* container, float x1, float y1, float x2, float y2, Colour c,
           bool visible) :
    Element(s, Kind::Line, name, container, visible),
    x1_(x1), y1_(y1), x2_(x2), y2_(y2), colour_(c)
{}

Line::Line(const Line& from, std::int16_t index) :
    Element(from, index), x1_(from.x1_), y1_(from.y1_), x2_(from.x2_), y2_(from.y2_), colour_(from.colour_),
    index_(index)
{}

Boxed::Boxed(Scene& s, Kind k, std::string_view name, Element* container, float left, float top, float width,
             float height, bool visible) :
    Element(s, k, name, container, visible),
    left_(left), top_(top), width_(width), height_(height)
{}

void Boxed::describe(std::string text)
{
    if (text == description_)
        return;
    description_ = std::move(text);
    changed(Prop::Description);
}

Shape::Shape(Scene& s, std::string_view name, Element* container, float l, float t, float w, float h, Figure f,
             Colour border, bool visible) :
    Boxed(s, Kind::Shape, name, container, l, t, w, h, visible),
    figure(f), borderColour(border)
{}

Label::Label(Scene& s, std::string_view name, float l, float t, float w, float h, Text caption, Align a, Font f,
             Colour back, Colour fore) :
    Boxed(s, Kind::Label, name, nullptr, l, t, w, h),
    alignment(a), font(f), backColour(back), foreColour(fore), caption_(std::move(caption))
{}

PictureBox::PictureBox(Scene& s, std::string_view name, float l, float t, float w, float h, Colour back, Colour fore,
                       bool en) :
    Boxed(s, Kind::PictureBox, name, nullptr, l, t, w, h),
    backColour(back), foreColour(fore), enabled(en)
{}

void PictureBox::mouseDown(int button, double x, double y) const
{
    if (MouseDown)
        scene().untrapped([&] { MouseDown(button, x, y); });
}

void PictureBox::mouseMove(int button, double x, double y) const
{
    if (MouseMove)
        scene().untrapped([&] { MouseMove(button, x, y); });
}

void PictureBox::keyDown(ScrollStep step) const
{
    if (KeyDown)
        scene().untrapped([&] { KeyDown(step); });
}

void PictureBox::wheel(int steps) const
{
    for (; steps > 0; --steps)
        keyDown(ScrollStep::SmallAdd);
    for (; steps < 0; ++steps)
        keyDown(ScrollStep::SmallSub);
}

CheckBox::CheckBox(Scene& s, std::string_view name, float l, float t, float w, float h, Text caption, Font f,
                   std::int16_t value) :
    Boxed(s, Kind::CheckBox, name, nullptr, l, t, w, h),
    caption(std::move(caption)), font(f), value_(value)
{}

void Element::setRanged(Prop p, std::int16_t& field, std::int16_t v, int lo, int hi, const std::function<void()>& event)
{
    write(p);
    if (v < lo || v > hi)
        throw rt::RuntimeError(rt::InvalidPropertyValue);
    if (v == field)
        return;
    field = v;
    changed(p);
    if (event)
        event();
}

void CheckBox::click()
{
    scene().untrapped([this] { setValue(value_ == 1 ? 0 : 1); });
}

CommandButton::CommandButton(Scene& s, std::string_view name, float l, float t, float w, float h, Text caption) :
    Boxed(s, Kind::CommandButton, name, nullptr, l, t, w, h), caption(std::move(caption))
{}

void CommandButton::click() const
{
    if (Click)
        scene().untrapped(Click);
}

HScrollBar::HScrollBar(Scene& s, std::string_view name, float l, float t, float w, float h, std::int16_t min,
                       std::int16_t max, std::int16_t small, std::int16_t large) :
    Boxed(s, Kind::HScrollBar, name, nullptr, l, t, w, h),
    Min(min), Max(max), SmallChange(small), LargeChange(large), value_(min)
{}

std::int16_t HScrollBar::stepped(Step step) const
{
    int v = value_;
    switch (step) {
    case Step::SmallAdd: v += SmallChange; break;
    case Step::SmallSub: v -= SmallChange; break;
    case Step::LargeAdd: v += LargeChange; break;
    case Step::LargeSub: v -= LargeChange; break;
    case Step::ToMin: v = Min; break;
    case Step::ToMax: v = Max; break;
    }
    return static_cast<std::int16_t>(std::clamp<int>(v, Min, Max));
}

void HScrollBar::moveTo(std::int16_t v)
{
    scene().untrapped([this, v] { setValue(v); });
}

void HScrollBar::move(Step step)
{
    const std::int16_t v = stepped(step);
    if (v != value_)
        moveTo(v);
    else if (Stopped)
        scene().untrapped(Stopped);
}

void HScrollBar::wheel(int steps)
{
    for (; steps > 0; --steps)
        move(Step::SmallAdd);
    for (; steps < 0; ++steps)
        move(Step::SmallSub);
}

int WheelTurn::steps(int delta)
{
    constexpr int notch = 120;
    rest_ -= delta; // down is negative, and adds
    const int whole = rest_ / notch;
    rest_ -= whole * notch;
    return whole;
}

void HScrollBar::SetFocus()
{
    if (!scene().focus)
        throw rt::RuntimeError(rt::InvalidCall);
    scene().focus->give(*this);
}

} // namespace scene
