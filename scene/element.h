// The element kinds of the retained scene and the properties that handlers read and write.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace scene {

// 0x00BBGGRR, or 0x80000000 + n for entry n of the desktop's system colours.
using Colour = std::uint32_t;
constexpr bool isSystemColour(Colour c) { return (c & 0x80000000u) != 0; }
namespace colour {
constexpr Colour windowText = 0x80000008u;
constexpr Colour buttonFace = 0x8000000Fu;
constexpr Colour buttonText = 0x80000012u;
} // namespace colour

enum class Kind : std::uint8_t { Line, Shape, Label, PictureBox, CheckBox, CommandButton, HScrollBar };

enum class Prop : std::uint8_t {
    X1,
    Y1,
    X2,
    Y2,
    Left,
    Top,
    Width,
    Height,
    BorderColor,
    BackColor,
    ForeColor,
    Visible,
    Enabled,
    Caption,
    Value,
    Description // what assistive technology says of a panel
};

struct Font {
    std::string_view face; // empty: the toolkit's default user-interface font
    float points = 0;
    int weight = 400;
    int charset = 0; // 0 western, 2 symbol
    bool symbol() const { return charset == 2; }
};

class Scene;
class Line;
class LineArray;

// What the scroll bar's keys and arrows do, whichever element has the focus.
enum class ScrollStep : std::uint8_t { SmallAdd, SmallSub, LargeAdd, LargeSub, ToMin, ToMax };

// A mouse wheel's turn in scroll steps: a notch (a delta of 120, positive away from the user) is one, wheel down
// adding as the scroll bar's Right does; a high-resolution wheel's smaller deltas add up to notches.
class WheelTurn {
public:
    // The whole steps that this delta completes: positive to add, negative to subtract.
    int steps(int delta);
    void reset() { rest_ = 0; }

private:
    int rest_ = 0;
};

// Text held as single-byte western (Latin-1) characters, so that Len and Right count characters.
using Text = std::string;
// The Latin-1 text for a UTF-8 literal; characters beyond Latin-1 become '?'.
Text latin1(std::string_view utf8);
// The UTF-8 form of a Latin-1 text.
std::string utf8(const Text& text);

// Where the toolkit shows an element; the Qt binding implements it.
struct ElementView {
    virtual ~ElementView() = default;
    virtual void changed(const class Element&, Prop) = 0;
};

// The view of a panel, which shows the elements that lie in it.
struct PanelView : ElementView {
    virtual void add(const class Element& e) = 0;
    virtual void add(const LineArray& a) = 0;
};

class Element {
public:
    Element(Scene& scene, Kind kind, std::string_view name, Element* container, bool visible = true);
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;
    virtual ~Element() = default;

    Scene& scene() const { return *scene_; }
    Kind kind() const { return kind_; }
    std::string_view name() const { return name_; }
    // The panel that holds the element, or null for the window.
    Element* container() const { return container_; }

    bool Visible() const;
    void setVisible(bool v);
    // Unchecked read for drawing.
    bool shown() const { return visible_; }

    ElementView* view = nullptr;

protected:
    Element(const Element& from, std::int16_t index);
    // Every property access passes the toolkit's checks, which a test can make refuse.
    void read(Prop p) const;
    void write(Prop p) const;
    void changed(Prop p);
    // A checked read of a property's value.
    template <class T>
    const T& get(Prop p, const T& value) const
    {
        read(p);
        return value;
    }
    // A checked write, then the change is shown.
    template <class T, class V>
    void assign(Prop p, T& field, V&& value)
    {
        write(p);
        field = std::forward<V>(value);
        changed(p);
    }
    // A coordinate stored as the nearest single; raises 6 beyond the single range.
    void store(Prop p, float& field, double value);
    // A 16-bit value within lo..hi (380 outside); a change is shown, then `event` is raised.
    void setRanged(Prop p, std::int16_t& field, std::int16_t v, int lo, int hi, const std::function<void()>& event);

private:
    Scene* scene_;
    std::string_view name_;
    Kind kind_;
    bool visible_ = true;
    Element* container_;
};

// Coordinates are stored in single precision and read back as doubles, so arithmetic on them runs
// in double precision on the stored single value.
class Line : public Element {
public:
    Line(Scene& s, std::string_view name, Element* container, float x1, float y1, float x2, float y2, Colour c,
         bool visible);
    // A copy of a line's current properties as element `index` of its array, hidden.
    Line(const Line& from, std::int16_t index);

    double X1() const { return get(Prop::X1, x1_); }
    double Y1() const { return get(Prop::Y1, y1_); }
    double X2() const { return get(Prop::X2, x2_); }
    double Y2() const { return get(Prop::Y2, y2_); }
    Colour BorderColor() const { return get(Prop::BorderColor, colour_); }
    void setX1(double v) { store(Prop::X1, x1_, v); }
    void setY1(double v) { store(Prop::Y1, y1_, v); }
    void setX2(double v) { store(Prop::X2, x2_, v); }
    void setY2(double v) { store(Prop::Y2, y2_, v); }
    void setBorderColor(Colour c) { assign(Prop::BorderColor, colour_, c); }
    // Position in the array, or -1 for a line of its own.
    std::int16_t Index() const { return index_; }

    // Unchecked reads for drawing.
    float x1() const { return x1_; }
    float y1() const { return y1_; }
    float x2() const { return x2_; }
    float y2() const { return y2_; }
    Colour colour() const { return colour_; }

private:
    friend class LineArray;
    float x1_, y1_, x2_, y2_;
    Colour colour_;
    std::int16_t index_ = -1;
};

// An element with a box in its container's coordinates.
class Boxed : public Element {
public:
    Boxed(Scene& s, Kind k, std::string_view name, Element* container, float left, float top, float width, float height,
          bool visible = true);
    double Left() const { return get(Prop::Left, left_); }
    double Top() const { return get(Prop::Top, top_); }
    double Width() const { return get(Prop::Width, width_); }
    double Height() const { return get(Prop::Height, height_); }
    void setLeft(double v) { store(Prop::Left, left_, v); }
    void setTop(double v) { store(Prop::Top, top_, v); }
    void setWidth(double v) { store(Prop::Width, width_, v); }
    void setHeight(double v) { store(Prop::Height, height_, v); }

    float left() const { return left_; }
    float top() const { return top_; }
    float width() const { return width_; }
    float height() const { return height_; }
    int tabIndex = -1;
    // The name assistive technology reads (UTF-8); empty where the caption serves.
    std::string_view accessibleName;
    // The element whose caption this label names, for assistive technology; empty for most.
    std::string_view labelFor;
    // A short account of what the element shows now (UTF-8).
    const std::string& description() const { return description_; }
    void describe(std::string text);

private:
    float left_, top_, width_, height_;
    std::string description_;
};

class Shape : public Boxed {
public:
    enum Figure : std::uint8_t { Rectangle = 0, Circle = 3 };
    Shape(Scene& s, std::string_view name, Element* container, float l, float t, float w, float h, Figure f,
          Colour border, bool visible);
    const Figure figure;
    const Colour borderColour;
};

class Label : public Boxed {
public:
    enum Align : std::uint8_t { LeftJustify = 0, RightJustify = 1, Center = 2 };
    Label(Scene& s, std::string_view name, float l, float t, float w, float h, Text caption, Align a, Font f,
          Colour back = colour::buttonFace, Colour fore = colour::buttonText);
    const Text& Caption() const { return get(Prop::Caption, caption_); }
    void setCaption(Text c) { assign(Prop::Caption, caption_, std::move(c)); }
    const Text& text() const { return caption_; }
    const Align alignment;
    const Font font;
    const Colour backColour, foreColour;

private:
    Text caption_;
};

class PictureBox : public Boxed {
public:
    PictureBox(Scene& s, std::string_view name, float l, float t, float w, float h, Colour back, Colour fore,
               bool enabled);
    const Colour backColour, foreColour;
    const bool enabled;

    // The user's pointer, in the panel's pixels, buttons as bit flags (1 the primary one), and the scroll bar's keys
    // while the panel has the focus. A panel without handlers takes none of them.
    std::function<void(int button, double x, double y)> MouseDown, MouseMove;
    std::function<void(ScrollStep)> KeyDown;
    bool takesPointer() const { return MouseDown || MouseMove; }
    // The user's input: runs the handler, if any, showing a run-time error it does not trap.
    void mouseDown(int button, double x, double y) const;
    void mouseMove(int button, double x, double y) const;
    void keyDown(ScrollStep step) const;
    // The wheel, as that many small steps' keys: positive adds.
    void wheel(int steps) const;
};

class CheckBox : public Boxed {
public:
    CheckBox(Scene& s, std::string_view name, float l, float t, float w, float h, Text caption, Font f,
             std::int16_t value);
    std::int16_t Value() const { return get(Prop::Value, value_); }
    // A changed value raises Click, as the user's click does.
    void setValue(std::int16_t v) { setRanged(Prop::Value, value_, v, 0, 2, Click); }
    std::int16_t value() const { return value_; }
    // The user's click: a checked box becomes unchecked, an unchecked or grayed one checked.
    void click();
    const Text caption;
    const Font font;
    std::function<void()> Click;

private:
    std::int16_t value_;
};

class CommandButton : public Boxed {
public:
    CommandButton(Scene& s, std::string_view name, float l, float t, float w, float h, Text caption);
    // The user's click.
    void click() const;
    const Text caption;
    std::function<void()> Click;
};

class HScrollBar : public Boxed {
public:
    HScrollBar(Scene& s, std::string_view name, float l, float t, float w, float h, std::int16_t min, std::int16_t max,
               std::int16_t small, std::int16_t large);
    std::int16_t Value() const { return get(Prop::Value, value_); }
    // A changed value raises Change before this returns; a value outside Min..Max raises 380.
    void setValue(std::int16_t v) { setRanged(Prop::Value, value_, v, Min, Max, Change); }
    // Asks the desktop for the keyboard focus; raises the desktop's error when it is refused.
    void SetFocus();
    std::int16_t value() const { return value_; }

    using Step = ScrollStep;
    // The value one step leads to, kept within Min..Max.
    std::int16_t stepped(Step step) const;
    // The user moves the scroll bar: to a value, or by a step. A step that the end stops raises Stopped instead.
    void moveTo(std::int16_t v);
    void move(Step step);
    // The wheel: that many small steps, positive adding.
    void wheel(int steps);
    const std::int16_t Min, Max, SmallChange, LargeChange;
    std::function<void()> Change, Stopped;
    // The value as assistive technology says it, where the number alone does not ("45 graus"; UTF-8).
    std::string valueWords;

private:
    std::int16_t value_;
};

} // namespace scene
