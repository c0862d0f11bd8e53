#pragma once

#include "geometry/BoundBox.h"
#include "geometry/Vector.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CMapSolid;

// A named integer parameter of a shape template, with an optional range.
struct ShapeParameter {
    static constexpr std::size_t kMaxName = 127;
    static constexpr int kKindInteger = 0;

    int kind = kKindInteger;
    std::string name;
    bool hasRange = false;
    int minimum = 0;
    int maximum = 0;
    int value = 0;
};

// Describes a primitive shape by a few integer parameters and a centre; fills a box
// (SetFromBox) and builds the shape into a solid (BuildSolid).
class CShapeTemplate {
public:
    static constexpr int kMaxParameters = 8;

    virtual ~CShapeTemplate() = default;

    // Width, depth and height become the box's extents with the fraction dropped; the centre
    // becomes the box's centre.
    void SetFromBox(const BoundBox& box);

    // Gives solid the shape's faces: existing faces are reused or removed, new ones take the
    // default face settings and the current texture. Each face gets its polygon through
    // SetPoints, so its plane points are its first three points. False (with an error line)
    // when the parameters describe no valid shape; the solid is then unchanged.
    virtual bool BuildSolid(CMapSolid& solid) const = 0;

    // False for an unknown name or a value outside the parameter's range.
    bool SetParameter(const std::string& name, int value);
    std::optional<int> GetParameter(const std::string& name) const;
    int ParameterCount() const { return m_parameterCount; }
    const ShapeParameter& Parameter(int index) const {
        return m_parameters[static_cast<std::size_t>(index)];
    }

    const Vector& Center() const { return m_center; }
    void SetCenter(const Vector& center) { m_center = center; }

protected:
    // One face of a built shape: its points in the given order, stored in reverse when
    // reversed is set.
    struct ShapeFace {
        std::vector<Vector> points;
        bool reversed = false;
    };

    CShapeTemplate();
    bool AddParameter(const std::string& name);
    // Half of width, depth and height.
    Vector HalfSize() const;
    Vector Origin() const { return m_center + m_offset; }
    static bool FillSolid(CMapSolid& solid, const std::vector<ShapeFace>& faces);

private:
    Vector m_center;
    Vector m_offset;
    std::array<ShapeParameter, kMaxParameters> m_parameters{};
    int m_parameterCount = 0;
};

// A box: 6 faces.
class CBlockShape : public CShapeTemplate {
public:
    CBlockShape();
    bool BuildSolid(CMapSolid& solid) const override;
};

// A box cut along the plane through its top edge at the low y side and its bottom edge at
// the high y side: 5 faces.
class CWedgeShape : public CShapeTemplate {
public:
    CWedgeShape();
    bool BuildSolid(CMapSolid& solid) const override;
};

// Shapes on a ring of "Number of Sides" points.
class CRingShape : public CShapeTemplate {
public:
    // Sides a ring shape can have: at least 3; at most what fits the face limit of a solid.
    static constexpr int kMinSides = 3;
    static constexpr int kMaxSides = 124;

protected:
    CRingShape();
    // The ring's points in the x-y plane, clockwise seen from above, starting at the
    // middle of the high y edge; empty (with an error line) for a side count out of range.
    std::vector<Vector> Ring() const;
};

// A prism on the ring: n + 2 faces.
class CCylinderShape : public CRingShape {
public:
    CCylinderShape() = default;
    bool BuildSolid(CMapSolid& solid) const override;
};

// A pyramid on the ring with its apex at the top centre: n + 1 faces.
class CSpikeShape : public CRingShape {
public:
    CSpikeShape() = default;
    bool BuildSolid(CMapSolid& solid) const override;
};

// The template of a primitive kind (PrimitiveShape), or null for an unknown kind.
std::unique_ptr<CShapeTemplate> MakeShapeTemplate(int kind);

// Makes a new solid of a primitive kind filling box. For the cylinder and the spike,
// faceCount must lie in the kind's range of the editor's primitive table; otherwise the user
// is told so and nothing is created. The new solid is recorded as created in the active
// history and belongs to the caller.
CMapSolid* CreatePrimitive(int kind, int faceCount, const BoundBox& box);
