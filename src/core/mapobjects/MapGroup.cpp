#include "mapobjects/MapGroup.h"

#include "common/EditorContext.h"

#include <cstdio>

CMapClass* CMapGroup::Clone() const {
    auto* copy = new CMapGroup;
    copy->CopyFrom(*this);
    Editor().ActiveHistory().KeepNew(copy);
    return copy;
}

std::string CMapGroup::GetDescription() const {
    char text[64];
    std::snprintf(text, sizeof text, "group of %d objects", static_cast<int>(Children().size()));
    return text;
}
