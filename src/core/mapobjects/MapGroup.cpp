#include "mapobjects/MapGroup.h"

#include "common/CountText.h"

#include "mapobjects/MapServices.h"

#include <cstdio>

CMapClass* CMapGroup::Clone() const {
    auto* copy = new CMapGroup;
    copy->CopyFrom(*this);
    Services().ActiveHistory().KeepNew(copy);
    return copy;
}

std::string CMapGroup::GetDescription() const {
    return "group of " + CountText(static_cast<long long>(Children().size()), "object", "objects");
}
