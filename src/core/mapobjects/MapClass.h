#pragma once

#include "geometry/BoundBox.h"
#include "geometry/Vector3d.h"
#include "mapobjects/ChildList.h"
#include "mapobjects/PointTransform.h"
#include "mapobjects/RenderObject.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

// Type names: map classes are told apart by these strings, which RMF files also store.
inline constexpr const char* kTypeMapSolid = "CMapSolid";
inline constexpr const char* kTypeMapEntity = "CMapEntity";
inline constexpr const char* kTypeMapGroup = "CMapGroup";
inline constexpr const char* kTypeMapWorld = "CMapWorld";

// SetRenderState kinds.
enum RenderStateKind {
    RENDER_SELECT = 2,
    RENDER_DESELECT = 4,
    RENDER_SET_COLOR = 8,
    RENDER_CLEAR_VISGROUP = 16,
    RENDER_REFRESH = 32,
};

using VisGroupIds = std::array<std::uint8_t, 8>;

// Base of every map object (world, entities, groups, solids): a node of the map tree that
// owns its children, with bounds, colour, visgroup memberships and the transformations.
class MapServices;

class CMapClass {
public:
    static constexpr std::uint8_t kNoWorld = 255;
    static constexpr std::uint32_t kDefaultColor = (220u << 16) | (220u << 8) | 220u;

    CMapClass();
    virtual ~CMapClass();
    CMapClass(const CMapClass&) = delete;
    CMapClass& operator=(const CMapClass&) = delete;

    // 0: bytes accounted for undo memory.
    virtual int GetSize() const { return 96; }

    // 1-4: visgroup memberships.
    virtual VisGroupIds GetVisGroups() const;
    virtual void SetVisGroups(const VisGroupIds& ids);
    // mode 0 removes id, 1 adds it, 2 makes it the first entry. Returns mode.
    virtual int ChangeVisGroup(std::uint8_t id, int mode);
    virtual bool IsInVisGroup(std::uint8_t id) const;

    // 5: builds the 3D representation of the children; false when one fails.
    virtual bool BuildRenderObjects(RenderFrame& frame, bool rebuild);

    // 6-10: the tree.
    virtual void AddChild(CMapClass* child);
    // As AddChild, but placed before `before` when that is one of this object's children
    // (undo puts objects back where they were).
    void AddChildBefore(CMapClass* child, CMapClass* before);
    virtual bool RemoveChild(CMapClass* child, bool recalc = true);
    virtual void AddClonesOf(const CMapClass& other);
    virtual void AddDeepClonesOf(const CMapClass& other);
    virtual void CalcBounds(bool recursive = false);

    // 11-15: transformations; each records the object, applies itself to the children, marks
    // the object for rebuild and recomputes the bounds.
    virtual void TransformByTool(const PointTransform& tool);
    virtual void TransMove(const Vector& delta);
    virtual void TransRotate(const Vector& center, const Vector& angles);
    virtual void TransScale(const Vector& center, const Vector3d& factors);
    virtual void TransFlip(const Vector& point);

    // 16.
    virtual void SetRenderState(int kind, std::uint32_t value);
    // 17: what a click on this object selects.
    virtual CMapClass* GetSelectionTarget(bool flag);
    // 18-19.
    virtual const char* GetType() const = 0;
    bool IsType(const char* typeName) const;

    // 20-21: own data only, never children.
    virtual void CopyFrom(const CMapClass& other);
    virtual CMapClass* Clone() const = 0;

    // 24-26, 28.
    virtual bool IsWorld() const { return false; }
    virtual bool IsScalable() const { return true; }
    virtual bool HasTexturedFaces() const { return true; }
    virtual std::string GetDescription() const { return {}; }
    // Only the world answers true while the 3D view shows textures.
    virtual bool TexturesShown() const { return false; }
    // Only the world has visgroups: the colour of the visgroup with this id, if it exists.
    virtual bool FindVisGroupColor(std::uint8_t id, std::uint32_t& color) const {
        (void)id;
        (void)color;
        return false;
    }

    // Fields.
    const BoundBox& Bounds() const { return m_bounds; }
    void SetBounds(const BoundBox& box) { m_bounds = box; }
    bool NeedsRebuild() const { return m_needsRebuild; }
    void SetNeedsRebuild(bool value) { m_needsRebuild = value; }
    bool IsSelected() const { return m_selected; }
    const VisGroupIds& OwnVisGroups() const { return m_visGroups; }
    std::uint32_t GetColor() const { return m_color; }
    std::uint32_t Color3D() const { return m_color3D; }
    CMapClass* Parent() const { return m_parent; }
    CMapClass* NextSibling() const { return m_nextSibling; }
    ChildList& Children() { return m_children; }
    const ChildList& Children() const { return m_children; }
    std::uint32_t ObjectId() const { return m_objectId; }
    std::uint8_t WorldIndex() const { return m_worldIndex; }
    void SetWorldIndex(std::uint8_t index) { m_worldIndex = index; }
    bool IsShown() const { return m_shown != 0; }
    void SetShown(bool shown) { m_shown = shown ? 1 : 0; }
    RenderObject* Render3D() const { return m_render3D.get(); }
    void SetRender3D(std::unique_ptr<RenderObject> object) { m_render3D = std::move(object); }
    // Low 28 bits: the last undo track that recorded this object; high 4 bits: the kinds.
    std::uint32_t& RecordStamp() { return m_recordStamp; }

    // The world this object belongs to (the root of its parent chain, when that is a world),
    // or null.
    CMapClass* OwningWorld() const;
    // The services of this object's world, or the installed ones while it is in no world.
    MapServices& Services() const;
    // The services an object carries for its subtree (a world's); null for the others.
    virtual MapServices* OwnServices() const { return nullptr; }
    // True when the owning world shows textures in the 3D view.
    bool WorldShowsTextures() const;
    // The top-level ancestor: the object whose parent is the world (or the object itself).
    CMapClass* TopLevelAncestor();

protected:
    // Sets the world index of this object and its whole subtree.
    void PropagateWorldIndex(std::uint8_t index);

    BoundBox m_bounds;
    bool m_needsRebuild = false;
    bool m_selected = false;
    VisGroupIds m_visGroups{};
    std::uint32_t m_color = kDefaultColor;
    std::uint32_t m_color3D = kDefaultColor;
    std::unique_ptr<RenderObject> m_render3D;
    ChildList m_children;
    CMapClass* m_parent = nullptr;
    std::uint32_t m_objectId;
    std::uint8_t m_worldIndex = kNoWorld;
    std::uint32_t m_shown = 1;
    std::uint32_t m_recordStamp = 0;

private:
    friend class ChildList;
    friend class MapObjectAccess;
    // Sibling links of the intrusive child list (O(1) removal on maps of many thousand objects).
    CMapClass* m_prevSibling = nullptr;
    CMapClass* m_nextSibling = nullptr;
};
