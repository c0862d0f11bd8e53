#include "mapobjects/MapEntity.h"

#include "gamedata/EntityClassDef.h"
#include "geometry/Rotation.h"
#include "mapobjects/MapServices.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/ShapeTemplate.h"

namespace {
constexpr float kNoCoordinate = 99999.0f;
} // namespace

CMapEntity::CMapEntity() {
    MapServices::Installed().objectMemory += kObjectMemory;
}

CMapEntity::~CMapEntity() {
    MapServices::Installed().objectMemory -= kObjectMemory;
}

void CMapEntity::SetPointEntity(bool point) {
    if (point) {
        m_flags = static_cast<std::uint16_t>(m_flags | kFlagPointEntity);
    } else {
        m_flags = static_cast<std::uint16_t>(m_flags & ~kFlagPointEntity);
    }
}

void CMapEntity::PlaceBounds() {
    if (const EntityClassDef* gameClass = GameClass()) {
        m_bounds.mins = m_origin + gameClass->boxMin;
        m_bounds.maxs = m_origin + gameClass->boxMax;
    } else {
        const Vector half{kDefaultHalfSize, kDefaultHalfSize, kDefaultHalfSize};
        m_bounds.mins = m_origin - half;
        m_bounds.maxs = m_origin + half;
    }
}

void CMapEntity::SetOrigin(const Vector& origin) {
    if (!IsPointEntity()) {
        return;
    }
    Services().ActiveHistory().Keep(this);
    m_origin = origin;
    PlaceBounds();
}

void CMapEntity::SetClass(const std::string& name) {
    Services().ActiveHistory().Keep(this);
    if (GameClass() && name.substr(0, kMaxClassName) == ClassName()) {
        return;
    }
    CEditGameClass::SetClass(name);
    const EntityClassDef* gameClass = GameClass();
    if (gameClass && gameClass->IsPointClass()) {
        SetOrigin(m_origin);
    }
    if (gameClass) {
        SetRenderState(RENDER_SET_COLOR, gameClass->ColorRGB());
    }
}

bool CMapEntity::BuildRenderObjects(RenderFrame& frame, bool rebuild) {
    if (IsPointEntity() && (rebuild || !m_render3D)) {
        m_render3D.reset();
        m_displayBox = std::make_unique<CMapSolid>();
        CBlockShape block;
        block.SetFromBox(m_bounds);
        if (!block.BuildSolid(*m_displayBox)) {
            return false;
        }
        m_render3D = frame.CreateSolidMesh(*m_displayBox, *this);
        if (!m_render3D) {
            return false;
        }
        const EntityClassDef* gameClass = GameClass();
        std::uint32_t color = gameClass ? gameClass->ColorRGB() : kNoClassColor;
        m_render3D->SetColor(m_selected ? m_color3D : color);
    }
    return CMapClass::BuildRenderObjects(frame, rebuild);
}

void CMapEntity::CalcBounds(bool recursive) {
    CMapClass::CalcBounds(recursive);
    if (IsPointEntity()) {
        PlaceBounds();
    }
}

void CMapEntity::MoveOrigin(const Vector& origin) {
    SetOrigin(origin);
    m_needsRebuild = true;
}

void CMapEntity::TransformByTool(const PointTransform& tool) {
    if (IsPointEntity()) {
        Vector origin = m_origin;
        tool.TransformPoint(origin);
        MoveOrigin(origin);
    }
    CMapClass::TransformByTool(tool);
}

void CMapEntity::TransMove(const Vector& delta) {
    if (IsPointEntity()) {
        MoveOrigin(m_origin + delta);
    }
    CMapClass::TransMove(delta);
}

void CMapEntity::TransRotate(const Vector& center, const Vector& angles) {
    Services().ActiveHistory().Keep(this);
    if (IsPointEntity()) {
        MoveOrigin(RotateAbout(m_origin, center, angles));
    }
    CMapClass::TransRotate(center, angles);
}

void CMapEntity::TransScale(const Vector& center, const Vector3d& factors) {
    if (IsPointEntity()) {
        Vector origin;
        for (int axis = 0; axis < 3; ++axis) {
            origin[axis] =
                static_cast<float>(center[axis] + (m_origin[axis] - center[axis]) * factors[axis]);
        }
        MoveOrigin(origin);
    }
    CMapClass::TransScale(center, factors);
}

void CMapEntity::TransFlip(const Vector& point) {
    if (IsPointEntity()) {
        Vector origin = m_origin;
        for (int axis = 0; axis < 3; ++axis) {
            if (point[axis] != kNoCoordinate) {
                origin[axis] = 2.0f * point[axis] - origin[axis];
            }
        }
        MoveOrigin(origin);
    }
    CMapClass::TransFlip(point);
}

void CMapEntity::CopyFrom(const CMapClass& other) {
    CMapClass::CopyFrom(other);
    const auto* entity = dynamic_cast<const CMapEntity*>(&other);
    if (!entity) {
        return;
    }
    // A copy records nothing: the plain class lookup, and the colour came with the base copy.
    CEditGameClass::SetClass(entity->ClassName());
    m_angle = entity->m_angle;
    m_spawnFlags = entity->m_spawnFlags;
    m_keyValues = entity->m_keyValues;
    m_reserved = entity->m_reserved;
    m_flags = entity->m_flags;
    m_origin = entity->m_origin;
    if (IsPointEntity()) {
        PlaceBounds();
    }
    m_displayBox.reset();
    m_needsRebuild = true;
}

CMapClass* CMapEntity::Clone() const {
    auto* copy = new CMapEntity;
    copy->CopyFrom(*this);
    Services().ActiveHistory().KeepNew(copy);
    return copy;
}
