#include "scene/scene.h"

#include "runtime/error.h"
#include "runtime/numbers.h"
#include "runtime/services.h"

namespace scene {

LineArray::LineArray(Line& first) : first_(first)
{
    first.index_ = 0;
    elements_.resize(1);
}

Line* LineArray::at(int i) const
{
    if (i == 0)
        return &first_;
    if (i < 0 || i >= count())
        return nullptr;
    return elements_[static_cast<std::size_t>(i)].get();
}

Line& LineArray::operator[](double index) const
{
    Line* line = at(rt::int16(index));
    if (!line)
        throw rt::RuntimeError(rt::ElementMissing);
    return *line;
}

void LineArray::Load(double index)
{
    const int i = rt::int16(index);
    if (i < 0)
        throw rt::RuntimeError(rt::ElementMissing);
    if (at(i))
        throw rt::RuntimeError(rt::AlreadyLoaded);
    Scene& s = first_.scene();
    if (s.faults)
        s.faults->load(*this, i);
    if (i >= count())
        try {
            elements_.resize(static_cast<std::size_t>(i) + 1);
        } catch (const std::bad_alloc&) {
            throw rt::RuntimeError(rt::OutOfMemory);
        }
    auto& slot = elements_[static_cast<std::size_t>(i)];
    try {
        slot = std::make_unique<Line>(first_, static_cast<std::int16_t>(i));
    } catch (const std::bad_alloc&) {
        throw rt::RuntimeError(rt::OutOfMemory);
    }
    s.notify(*slot, Prop::Visible);
}

Scene::Scene() = default;
Scene::~Scene() = default;

void Scene::own(std::unique_ptr<Element> e) { elements_.push_back(std::move(e)); }

LineArray& Scene::addArray(Line& first)
{
    arrays_.push_back(std::make_unique<LineArray>(first));
    return *arrays_.back();
}

Element* Scene::find(std::string_view name) const
{
    for (const auto& e : elements_)
        if (e->name() == name)
            return e.get();
    return nullptr;
}

LineArray* Scene::array(std::string_view name) const
{
    for (const auto& a : arrays_)
        if (a->name() == name)
            return a.get();
    return nullptr;
}

double Scene::checked(double v) const
{
    compute();
    return rt::checked(v);
}

void Scene::untrapped(const std::function<void()>& handler) const
{
    try {
        handler();
    } catch (const rt::RuntimeError& e) {
        if (messages)
            messages->show(e.text());
    }
}

void Scene::showInPanels(const std::function<PanelView*(const Element& panel)>& viewOf)
{
    for (const auto& e : elements_) {
        if (!e->container())
            continue;
        PanelView* panel = viewOf(*e->container());
        e->view = panel;
        const LineArray* a = array(e->name());
        const auto* line = dynamic_cast<const Line*>(e.get());
        if (!a || !line || line->Index() != 0) {
            panel->add(*e);
            continue;
        }
        panel->add(*a);
        for (int i = 1; i < a->count(); ++i) // already loaded when the window is made after the load
            if (Line* l = a->at(i))
                l->view = panel;
    }
}

void Scene::notify(const Element& e, Prop p) const
{
    if (e.view)
        e.view->changed(e, p);
    for (const auto& w : watchers)
        w(e, p);
}

} // namespace scene
