// The window's retained scene: every element by name, the Line arrays, and the toolkit's checks.
#pragma once
#include "scene/element.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace rt {
struct Focus;
struct MessageBox;
} // namespace rt

namespace scene {

// What the toolkit checks before it lets an access through; a test overrides it to refuse one,
// by throwing an rt::RuntimeError, the way a failing toolkit or runtime would.
struct Faults {
    virtual ~Faults() = default;
    virtual void access(const Element&, Prop, bool /*write*/) {}
    virtual void load(const LineArray&, int /*index*/) {}
    // The floating-point check after a computation.
    virtual void compute() {}
};

// A Line array: element 0 comes from the layout, the others exist once loaded.
class LineArray {
public:
    explicit LineArray(Line& first);
    std::string_view name() const { return first_.name(); }
    Element* container() const { return first_.container(); }
    // Element `index`; raises 340 when it has not been loaded, 6 when the index is not 16-bit.
    Line& operator[](double index) const;
    // Creates element `index` as a copy of element 0's current properties, hidden.
    void Load(double index);
    // Element i, or null when it does not exist; for drawing and tests.
    Line* at(int i) const;
    int count() const { return static_cast<int>(elements_.size()); }

private:
    Line& first_;
    std::vector<std::unique_ptr<Line>> elements_; // index 0 stays null: element 0 is first_
};

class Scene {
public:
    Scene();
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Adds an element in layout order; the scene owns it.
    template <class T, class... A>
    T& add(A&&... args)
    {
        auto e = std::make_unique<T>(*this, std::forward<A>(args)...);
        T& ref = *e;
        own(std::move(e));
        return ref;
    }
    LineArray& addArray(Line& first);

    // Lookup by name; null when there is no such element.
    Element* find(std::string_view name) const;
    LineArray* array(std::string_view name) const;
    // The element of that name and kind; a name the layout lacks is the program's own fault.
    template <class T>
    T& get(std::string_view name) const
    {
        if (auto* e = dynamic_cast<T*>(find(name)))
            return *e;
        throw std::logic_error("no element " + std::string(name) + " of that kind");
    }
    // Every element of the layout, in layout order (arrays by their element 0).
    const std::vector<std::unique_ptr<Element>>& elements() const { return elements_; }
    const std::vector<std::unique_ptr<LineArray>>& arrays() const { return arrays_; }

    // The window's own properties.
    Text caption;
    float clientWidth = 0, clientHeight = 0;
    double twipsPerPixel = 15;

    Faults* faults = nullptr;
    rt::Focus* focus = nullptr;
    // Where a run-time error that no handler traps is shown.
    rt::MessageBox* messages = nullptr;
    // Runs an event's handler; a run-time error it does not trap is shown, and the program goes on.
    void untrapped(const std::function<void()>& handler) const;
    // Called after every property change, beside the element's view.
    std::vector<std::function<void(const Element&, Prop)>> watchers;
    // Tells assistive technology what has just changed (UTF-8), about the element the change came through; the
    // binding installs it. Nothing is said while it is empty.
    std::function<void(const Element& about, const std::string& text)> announce;
    // Whether assistive technology listens; the binding keeps it. While nothing listens the window class leaves
    // its descriptions and sentences unmade, and redescribe makes the descriptions current when one comes.
    bool listening = true;
    std::function<void()> redescribe;
    void say(const Element& about, const std::string& text) const
    {
        if (announce)
            announce(about, text);
    }

    void access(const Element& e, Prop p, bool write) const
    {
        if (faults)
            faults->access(e, p, write);
    }
    // The floating-point check of a working value's computation.
    double checked(double v) const;
    // Its use where nothing was computed, as before a test.
    void compute() const
    {
        if (faults)
            faults->compute();
    }
    void notify(const Element& e, Prop p) const;
    // Gives every element that lies in a panel to that panel's view, in layout order: a line or shape of its own,
    // or a Line array once, by its element 0, whose loaded elements take the same view (as later ones will).
    void showInPanels(const std::function<PanelView*(const Element& panel)>& viewOf);

private:
    void own(std::unique_ptr<Element> e);
    std::vector<std::unique_ptr<Element>> elements_;
    std::vector<std::unique_ptr<LineArray>> arrays_;
};

} // namespace scene
