#include "editing/Clipboard.h"

#include "document/CommandSupport.h"
#include "mapobjects/TreeWalk.h"

Clipboard::~Clipboard() = default;

void Clipboard::Clear() {
    m_objects.clear();
    m_bounds.ResetBounds();
    m_center = Vector{};
}

void Clipboard::Store(const std::vector<CMapClass*>& objects, const BoundBox& box) {
    Clear();
    m_bounds = box;
    m_center = box.Center();
    RecordingPause pause;
    for (const CMapClass* object : objects) {
        std::unique_ptr<CMapClass> copy(object->Clone());
        copy->AddDeepClonesOf(*object);
        copy->TransMove(-m_center);
        // The copies belong to no world; the source map may close while they are kept.
        copy->SetWorldIndex(CMapClass::kNoWorld);
        EnumChildren(*copy, [](CMapClass* child) {
            child->SetWorldIndex(CMapClass::kNoWorld);
            return true;
        });
        m_objects.push_back(std::move(copy));
    }
}

CMapClass* Clipboard::MakeCopy(std::size_t index) const {
    const CMapClass& stored = *m_objects[index];
    CMapClass* copy = stored.Clone();
    copy->AddDeepClonesOf(stored);
    return copy;
}
