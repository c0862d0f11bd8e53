#include "mapobjects/MapClass.h"

#include "mapobjects/MapServices.h"

#include <cstring>

namespace {
constexpr std::uint32_t kSelectionColor = 220u << 16;
constexpr std::uint32_t kWhite = 0xFFFFFFu;
} // namespace

CMapClass::CMapClass() : m_objectId(MapServices::Installed().NextObjectId()) {}

CMapClass::~CMapClass() {
    // Unlink each child before destroying it, so the list never points at freed objects.
    while (CMapClass* child = m_children.front()) {
        m_children.remove(child);
        child->m_parent = nullptr;
        delete child;
    }
}

bool CMapClass::IsType(const char* typeName) const {
    const char* own = GetType();
    return own == typeName || (own && typeName && std::strcmp(own, typeName) == 0);
}

VisGroupIds CMapClass::GetVisGroups() const {
    if (!m_parent || m_parent->IsWorld()) {
        return m_visGroups;
    }
    return m_parent->GetVisGroups();
}

void CMapClass::SetVisGroups(const VisGroupIds& ids) {
    Services().ActiveHistory().Keep(this);
    m_visGroups = ids;
    VisGroupIds effective = GetVisGroups();
    if (effective[0] == 0) {
        SetRenderState(RENDER_CLEAR_VISGROUP, 0);
        return;
    }
    std::uint32_t color = 0;
    const CMapClass* world = OwningWorld();
    if (world && world->FindVisGroupColor(effective[0], color)) {
        SetRenderState(RENDER_SET_COLOR, color);
    }
}

int CMapClass::ChangeVisGroup(std::uint8_t id, int mode) {
    Services().ActiveHistory().Keep(this);
    for (std::size_t i = 0; i < m_visGroups.size(); ++i) {
        if (m_visGroups[i] != id) {
            continue;
        }
        if (mode == 0) {
            m_visGroups[i] = 0;
        } else if (mode == 2 && i != 0) {
            std::swap(m_visGroups[i], m_visGroups[0]);
        }
        return mode;
    }
    if (mode == 0) {
        return mode;
    }
    std::size_t freeSlot = m_visGroups.size();
    for (std::size_t i = 0; i < m_visGroups.size(); ++i) {
        if (m_visGroups[i] == 0) {
            freeSlot = i;
            break;
        }
    }
    if (freeSlot == m_visGroups.size()) {
        return mode;
    }
    if (mode == 1 || freeSlot == 0) {
        m_visGroups[freeSlot] = id;
    } else {
        m_visGroups[freeSlot] = m_visGroups[0];
        m_visGroups[0] = id;
    }
    return mode;
}

bool CMapClass::IsInVisGroup(std::uint8_t id) const {
    for (std::uint8_t slot : GetVisGroups()) {
        if (slot == id) {
            return true;
        }
    }
    return false;
}

bool CMapClass::BuildRenderObjects(RenderFrame& frame, bool rebuild) {
    for (CMapClass* child : m_children) {
        if (rebuild) {
            child->m_needsRebuild = true;
        }
        if (!child->BuildRenderObjects(frame, child->m_needsRebuild)) {
            return false;
        }
    }
    m_needsRebuild = false;
    return true;
}

void CMapClass::PropagateWorldIndex(std::uint8_t index) {
    m_worldIndex = index;
    for (CMapClass* child : m_children) {
        child->PropagateWorldIndex(index);
    }
}

void CMapClass::AddChild(CMapClass* child) {
    if (!child || child == this || child->m_parent == this) {
        return;
    }
    // An object lives in one children list at a time: take it from its old parent first.
    if (child->m_parent) {
        child->m_parent->RemoveChild(child, true);
    }
    Services().ActiveHistory().KeepParent(child);
    m_children.push_back(child);
    child->m_parent = this;
    child->PropagateWorldIndex(m_worldIndex);
    m_bounds.UpdateBounds(child->m_bounds);
}

void CMapClass::AddChildBefore(CMapClass* child, CMapClass* before) {
    if (!before || before->m_parent != this || before == child) {
        AddChild(child);
        return;
    }
    if (!child || child == this || child->m_parent == this) {
        return;
    }
    if (child->m_parent) {
        child->m_parent->RemoveChild(child, true);
    }
    Services().ActiveHistory().KeepParent(child);
    m_children.insert_before(child, before);
    child->m_parent = this;
    child->PropagateWorldIndex(m_worldIndex);
    m_bounds.UpdateBounds(child->m_bounds);
}

bool CMapClass::RemoveChild(CMapClass* child, bool recalc) {
    if (!child || child->m_parent != this) {
        return false;
    }
    Services().ActiveHistory().KeepParent(child);
    m_children.remove(child);
    child->m_parent = nullptr;
    child->PropagateWorldIndex(kNoWorld);
    if (recalc) {
        CalcBounds(false);
    }
    return true;
}

void CMapClass::AddClonesOf(const CMapClass& other) {
    for (CMapClass* child : other.m_children) {
        AddChild(child->Clone());
    }
    CalcBounds(false);
}

void CMapClass::AddDeepClonesOf(const CMapClass& other) {
    for (CMapClass* child : other.m_children) {
        CMapClass* copy = child->Clone();
        copy->AddDeepClonesOf(*child);
        AddChild(copy);
    }
    CalcBounds(false);
}

void CMapClass::CalcBounds(bool recursive) {
    m_bounds.ResetBounds();
    for (CMapClass* child : m_children) {
        if (recursive) {
            child->CalcBounds(true);
        }
        m_bounds.UpdateBounds(child->m_bounds);
    }
}

void CMapClass::TransformByTool(const PointTransform& tool) {
    Services().ActiveHistory().Keep(this);
    for (CMapClass* child : m_children) {
        child->TransformByTool(tool);
    }
    m_needsRebuild = true;
    CalcBounds(false);
}

void CMapClass::TransMove(const Vector& delta) {
    Services().ActiveHistory().Keep(this);
    for (CMapClass* child : m_children) {
        child->TransMove(delta);
    }
    m_needsRebuild = true;
    CalcBounds(false);
}

void CMapClass::TransRotate(const Vector& center, const Vector& angles) {
    Services().ActiveHistory().Keep(this);
    for (CMapClass* child : m_children) {
        child->TransRotate(center, angles);
    }
    m_needsRebuild = true;
    CalcBounds(false);
}

void CMapClass::TransScale(const Vector& center, const Vector3d& factors) {
    Services().ActiveHistory().Keep(this);
    for (CMapClass* child : m_children) {
        child->TransScale(center, factors);
    }
    m_needsRebuild = true;
    CalcBounds(false);
}

void CMapClass::TransFlip(const Vector& point) {
    Services().ActiveHistory().Keep(this);
    for (CMapClass* child : m_children) {
        child->TransFlip(point);
    }
    m_needsRebuild = true;
    CalcBounds(false);
}

void CMapClass::SetRenderState(int kind, std::uint32_t value) {
    const bool texturedWhite = HasTexturedFaces() && WorldShowsTextures();
    if (kind == RENDER_SET_COLOR) {
        m_color = value & 0xFFFFFFu;
        if (m_selected) {
            return;
        }
        m_color3D = texturedWhite ? kWhite : m_color;
    } else if (kind == RENDER_SELECT || (kind == RENDER_REFRESH && m_selected)) {
        m_selected = true;
        m_color3D = kSelectionColor;
    } else if (kind == RENDER_DESELECT || kind == RENDER_CLEAR_VISGROUP || kind == RENDER_REFRESH) {
        if (!(m_selected && kind != RENDER_DESELECT)) {
            m_selected = false;
            m_color3D = (m_parent && !m_parent->IsWorld()) ? m_parent->m_color : m_color;
            if (texturedWhite) {
                m_color3D = kWhite;
            }
        }
    }
    if (m_render3D) {
        m_render3D->SetColor(m_color3D);
    }
    for (CMapClass* child : m_children) {
        child->SetRenderState(kind, value);
    }
}

CMapClass* CMapClass::GetSelectionTarget(bool flag) {
    if (flag || !m_parent || m_parent->IsWorld()) {
        return this;
    }
    return m_parent->GetSelectionTarget(false);
}

void CMapClass::CopyFrom(const CMapClass& other) {
    m_visGroups = other.m_visGroups;
    m_color = other.m_color;
    m_color3D = other.m_color3D;
    m_worldIndex = other.m_worldIndex;
    m_bounds = other.m_bounds;
    m_needsRebuild = true;
    m_selected = false;
    m_render3D.reset();
}

CMapClass* CMapClass::OwningWorld() const {
    const CMapClass* root = this;
    while (root->m_parent) {
        root = root->m_parent;
    }
    return root->IsWorld() ? const_cast<CMapClass*>(root) : nullptr;
}

MapServices& CMapClass::Services() const {
    for (const CMapClass* object = this; object; object = object->m_parent) {
        if (MapServices* services = object->OwnServices()) {
            return *services;
        }
    }
    return MapServices::Installed();
}

bool CMapClass::WorldShowsTextures() const {
    const CMapClass* world = OwningWorld();
    return world && world->TexturesShown();
}

CMapClass* CMapClass::TopLevelAncestor() {
    CMapClass* object = this;
    while (object->m_parent && !object->m_parent->IsWorld()) {
        object = object->m_parent;
    }
    return object;
}
