#include "mapobjects/MapGroup.h"

#include "common/CountText.h"

#include "common/EditorContext.h"

#include <cstdio>

CMapClass* CMapGroup::Clone() const {
    auto* copy = new CMapGroup;
    copy->CopyFrom(*this);
    Editor().ActiveHistory().KeepNew(copy);
    return copy;
}

std::string CMapGroup::GetDescription() const {
    return "group of " + CountText(static_cast<long long>(Children().size()), "object", "objects");
}
