#pragma once

#include "mapobjects/EditGameClass.h"
#include "mapobjects/MapClass.h"

#include <cstdint>
#include <memory>
#include <string>

class CMapSolid;

// A game object with a class and keyvalues: a point entity, placed by its origin and shown as
// a box, or a solid entity whose children are the solids of its shape.
class CMapEntity : public CMapClass, public CEditGameClass {
public:
    static constexpr std::uint16_t kFlagPointEntity = 2;
    // Bytes each entity adds to the editor's object memory while it exists.
    static constexpr int kObjectMemory = 220;
    // Half size of the box of a point entity without a game class.
    static constexpr float kDefaultHalfSize = 10.0f;
    // The 3D colour of a point entity without a game class.
    static constexpr std::uint32_t kNoClassColor = (180u << 16) | (0u << 8) | 220u;

    CMapEntity();
    ~CMapEntity() override;

    bool IsPointEntity() const { return (m_flags & kFlagPointEntity) != 0; }
    void SetPointEntity(bool point);
    std::uint16_t Flags() const { return m_flags; }
    void SetFlags(std::uint16_t flags) { m_flags = flags; }
    std::int32_t Reserved() const { return m_reserved; }
    void SetReserved(std::int32_t value) { m_reserved = value; }
    const Vector& Origin() const { return m_origin; }

    // Point entities only: records the entity, stores the origin and sets the bounds to the
    // game class's box around it (or +-10 without a class).
    void SetOrigin(const Vector& origin);

    // Records the entity and takes the class. Giving the name it already has (same case)
    // while it has a game class changes nothing; otherwise a point class moves the bounds to
    // its box and a known class gives the entity its colour.
    void SetClass(const std::string& name) override;

    int GetSize() const override { return kObjectMemory; }
    bool BuildRenderObjects(RenderFrame& frame, bool rebuild) override;
    void CalcBounds(bool recursive = false) override;

    void TransformByTool(const PointTransform& tool) override;
    void TransMove(const Vector& delta) override;
    // A point entity's origin turns about center like the points of a solid.
    void TransRotate(const Vector& center, const Vector& angles) override;
    void TransScale(const Vector& center, const Vector3d& factors) override;
    void TransFlip(const Vector& point) override;

    const char* GetType() const override { return kTypeMapEntity; }
    void CopyFrom(const CMapClass& other) override;
    CMapClass* Clone() const override;
    std::string GetDescription() const override { return ClassName(); }
    bool IsScalable() const override { return !IsPointEntity(); }
    bool HasTexturedFaces() const override { return !IsPointEntity(); }

    // The box solid shown for a point entity in the 3D view (null until built).
    const CMapSolid* DisplayBox() const { return m_displayBox.get(); }

private:
    // Sets the bounds from the origin and the class box; records nothing.
    void PlaceBounds();
    // Stores a moved origin of a point entity and marks the entity for rebuild.
    void MoveOrigin(const Vector& origin);

    std::int32_t m_reserved = 0;
    std::uint16_t m_flags = 0;
    Vector m_origin;
    std::unique_ptr<CMapSolid> m_displayBox;
};
