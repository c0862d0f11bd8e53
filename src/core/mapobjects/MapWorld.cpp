#include "mapobjects/MapWorld.h"

#include "common/StatusPanes.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapServices.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/TreeWalk.h"
#include "mapobjects/VisibilityTest.h"

CMapWorld::CMapWorld() : CMapWorld(MapServices::Installed()) {}

CMapWorld::CMapWorld(MapServices& services) : m_services(&services) {
    m_visGroupIndex.fill(kNoVisGroupIndex);
    m_bounds.mins = m_bounds.maxs = Vector{0, 0, 0};
    CEditGameClass::SetClass("worldspawn");
    m_holdsWorldIndex = m_services->TakeWorldIndex(m_worldIndex);
}

CMapWorld::~CMapWorld() {
    if (m_holdsWorldIndex) {
        m_services->ReleaseWorldIndex(m_worldIndex);
    }
}

void CMapWorld::AddVisGroup(const VisGroup& group) {
    m_visGroupTable.push_back(group);
    m_visGroupTable.back().name = group.name.substr(0, VisGroup::kMaxName);
    if (m_visGroupTable.size() <= kNoVisGroupIndex) {
        m_visGroupIndex[group.id] = static_cast<std::uint8_t>(m_visGroupTable.size() - 1);
    }
}

void CMapWorld::ReplaceVisGroups(std::vector<VisGroup> groups) {
    m_visGroupTable = std::move(groups);
    for (VisGroup& group : m_visGroupTable) {
        if (group.name.size() > VisGroup::kMaxName) {
            group.name.resize(VisGroup::kMaxName);
        }
    }
    RebuildVisGroupIndex();
}

void CMapWorld::RebuildVisGroupIndex() {
    m_visGroupIndex.fill(kNoVisGroupIndex);
    // Index 255 means "none", so only the first 255 records can be found by id.
    const std::size_t count = std::min<std::size_t>(m_visGroupTable.size(), kNoVisGroupIndex);
    for (std::size_t i = 0; i < count; ++i) {
        m_visGroupIndex[m_visGroupTable[i].id] = static_cast<std::uint8_t>(i);
    }
}

const VisGroup* CMapWorld::FindVisGroup(std::uint8_t id, int* index) const {
    const std::uint8_t position = m_visGroupIndex[id];
    if (position == kNoVisGroupIndex || position >= m_visGroupTable.size()) {
        if (index) {
            *index = -1;
        }
        return nullptr;
    }
    if (index) {
        *index = position;
    }
    return &m_visGroupTable[position];
}

VisGroup* CMapWorld::FindVisGroup(std::uint8_t id, int* index) {
    return const_cast<VisGroup*>(static_cast<const CMapWorld*>(this)->FindVisGroup(id, index));
}

bool CMapWorld::FindVisGroupColor(std::uint8_t id, std::uint32_t& color) const {
    const VisGroup* group = FindVisGroup(id);
    if (!group) {
        return false;
    }
    color = group->color;
    return true;
}

void CMapWorld::UpdateVisibleObjects(int flags) {
    if (flags != kUseStoredFilter) {
        m_filterFlags = static_cast<std::uint32_t>(flags);
    }
    m_visibleObjects.clear();
    // The solids, then the entities, each in the order of the tree: from one walk over it, as
    // a large map's objects are far apart in memory.
    std::vector<CMapClass*> entities;
    EnumChildren(*this, [this, &entities](CMapClass* object) {
        const bool solid = object->IsType(kTypeMapSolid);
        if ((solid || object->IsType(kTypeMapEntity)) &&
            PassesVisibilityTest(*object, *this, m_filterFlags)) {
            (solid ? m_visibleObjects : entities).push_back(object);
        }
        return true;
    });
    m_visibleObjects.insert(m_visibleObjects.end(), entities.begin(), entities.end());
}

void CMapWorld::ShowTextures(bool on) {
    Services().ActiveHistory().Keep(this);
    m_texturesShown = on;
    StatusPanes* panes = Services().statusPanes;
    if (panes) {
        panes->SetPaneText(0, "Loading textures...");
    }
    EnumChildren(
        *this,
        [on](CMapClass* object) {
            RenderObject* mesh = object->Render3D();
            if (!mesh) {
                return true;
            }
            auto* solid = static_cast<CMapSolid*>(object);
            if (!on) {
                mesh->ClearTextures();
            }
            solid->SetRenderState(RENDER_REFRESH, 0);
            for (int i = 0; i < solid->FaceCount(); ++i) {
                CMapFace& face = solid->Face(i);
                if (on) {
                    face.CalcTextureCoordinates();
                }
                if (face.IsSelected()) {
                    face.SetFaceRenderState(RENDER_SELECT);
                }
            }
            return true;
        },
        kTypeMapSolid);
    if (panes) {
        panes->SetPaneText(0, "");
    }
}

void CMapWorld::CopyFrom(const CMapClass& other) {
    // The map properties (class, angle, flags, keyvalues) so the undo history can put them
    // back; the tree and the visgroup table are not copied.
    if (other.IsWorld()) {
        CopyGameClassFrom(static_cast<const CMapWorld&>(other));
    }
}

CMapClass* CMapWorld::Clone() const {
    auto* copy = new CMapWorld;
    copy->CopyFrom(*this);
    Services().ActiveHistory().KeepNew(copy);
    return copy;
}
