// A toolkit that refuses every write to one element, the way a failing one would: for the untrapped-error tests of
// both bindings.
#pragma once
#include "runtime/error.h"
#include "scene/scene.h"

struct RefusedWrites : scene::Faults {
    const scene::Element* element = nullptr;
    void access(const scene::Element& e, scene::Prop, bool write) override
    {
        if (&e == element && write)
            throw rt::RuntimeError(rt::InvalidPropertyValue);
    }
};
