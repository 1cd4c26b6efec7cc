#include "runtime/services.h"

#include "runtime/error.h"

namespace rt {

void RecordedFocus::give(const scene::Element& element)
{
    if (refuseWith)
        throw RuntimeError(refuseWith);
    given.push_back(&element);
}

} // namespace rt
