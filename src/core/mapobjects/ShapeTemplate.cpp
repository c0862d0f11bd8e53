#include "mapobjects/ShapeTemplate.h"

#include "common/PrimitiveTable.h"
#include "mapobjects/MapServices.h"
#include "mapobjects/MapSolid.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace {
const char* const kWidth = "Width (X)";
const char* const kDepth = "Depth (Y)";
const char* const kHeight = "Height (Z)";
const char* const kSides = "Number of Sides";

// An extent with its fraction dropped; anything that is not a number counts as 0 and
// extents beyond the int range are held at its ends.
int TruncateExtent(float extent) {
    if (!(extent > 0.0f)) {
        return 0;
    }
    if (extent >= 2147483520.0f) {
        return 2147483520;
    }
    return static_cast<int>(extent);
}
} // namespace

CShapeTemplate::CShapeTemplate() {
    AddParameter(kWidth);
    AddParameter(kDepth);
    AddParameter(kHeight);
}

bool CShapeTemplate::AddParameter(const std::string& name) {
    if (m_parameterCount >= kMaxParameters) {
        return false;
    }
    ShapeParameter& parameter = m_parameters[static_cast<std::size_t>(m_parameterCount++)];
    parameter = ShapeParameter{};
    parameter.name = name.substr(0, ShapeParameter::kMaxName);
    return true;
}

bool CShapeTemplate::SetParameter(const std::string& name, int value) {
    for (int i = 0; i < m_parameterCount; ++i) {
        ShapeParameter& parameter = m_parameters[static_cast<std::size_t>(i)];
        if (parameter.name != name) {
            continue;
        }
        if (parameter.hasRange && (value < parameter.minimum || value > parameter.maximum)) {
            return false;
        }
        parameter.value = value;
        return true;
    }
    return false;
}

std::optional<int> CShapeTemplate::GetParameter(const std::string& name) const {
    for (int i = 0; i < m_parameterCount; ++i) {
        const ShapeParameter& parameter = m_parameters[static_cast<std::size_t>(i)];
        if (parameter.name == name) {
            return parameter.value;
        }
    }
    return std::nullopt;
}

void CShapeTemplate::SetFromBox(const BoundBox& box) {
    const Vector size = box.Size();
    for (int axis = 0; axis < 3; ++axis) {
        m_parameters[static_cast<std::size_t>(axis)].value = TruncateExtent(size[axis]);
    }
    m_center = box.Center();
}

Vector CShapeTemplate::HalfSize() const {
    return Vector{static_cast<float>(m_parameters[0].value) / 2.0f,
                  static_cast<float>(m_parameters[1].value) / 2.0f,
                  static_cast<float>(m_parameters[2].value) / 2.0f};
}

bool CShapeTemplate::FillSolid(CMapSolid& solid, const std::vector<ShapeFace>& faces) {
    if (!solid.SetFaceCount(static_cast<int>(faces.size()))) {
        return false;
    }
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const int count = static_cast<int>(faces[i].points.size());
        solid.Face(static_cast<int>(i))
            .SetPoints(faces[i].points.data(), faces[i].reversed ? -count : count);
    }
    solid.CalcBounds(false);
    solid.SetNeedsRebuild(true);
    return true;
}

CBlockShape::CBlockShape() = default;

bool CBlockShape::BuildSolid(CMapSolid& solid) const {
    const Vector c = Origin();
    const Vector half = HalfSize();
    const float x1 = c.x - half.x, x2 = c.x + half.x;
    const float y1 = c.y - half.y, y2 = c.y + half.y;
    const float z1 = c.z - half.z, z2 = c.z + half.z;
    const std::vector<ShapeFace> faces = {
        {{{x1, y2, z2}, {x2, y2, z2}, {x2, y1, z2}, {x1, y1, z2}}, false}, // top
        {{{x1, y2, z1}, {x2, y2, z1}, {x2, y1, z1}, {x1, y1, z1}}, true},  // bottom
        {{{x1, y2, z2}, {x1, y1, z2}, {x1, y1, z1}, {x1, y2, z1}}, false}, // low x
        {{{x2, y2, z2}, {x2, y1, z2}, {x2, y1, z1}, {x2, y2, z1}}, true},  // high x
        {{{x2, y2, z2}, {x1, y2, z2}, {x1, y2, z1}, {x2, y2, z1}}, false}, // high y
        {{{x2, y1, z2}, {x1, y1, z2}, {x1, y1, z1}, {x2, y1, z1}}, true},  // low y
    };
    return FillSolid(solid, faces);
}

CWedgeShape::CWedgeShape() = default;

bool CWedgeShape::BuildSolid(CMapSolid& solid) const {
    const Vector c = Origin();
    const Vector half = HalfSize();
    const float x1 = c.x - half.x, x2 = c.x + half.x;
    const float y1 = c.y - half.y, y2 = c.y + half.y;
    const float z1 = c.z - half.z, z2 = c.z + half.z;
    const std::vector<ShapeFace> faces = {
        {{{x1, y2, z2}, {x2, y2, z2}, {x2, y1, z2}, {x1, y1, z2}}, false}, // top
        {{{x1, y2, z1}, {x2, y2, z1}, {x2, y1, z2}, {x1, y1, z2}}, true},  // slope
        {{{x1, y2, z1}, {x1, y1, z2}, {x1, y2, z2}}, true},                // low x end
        {{{x2, y2, z1}, {x2, y1, z2}, {x2, y2, z2}}, false},               // high x end
        {{{x1, y2, z1}, {x1, y2, z2}, {x2, y2, z2}, {x2, y2, z1}}, true},  // high y side
    };
    return FillSolid(solid, faces);
}

CRingShape::CRingShape() {
    AddParameter(kSides);
}

std::vector<Vector> CRingShape::Ring() const {
    const int sides = GetParameter(kSides).value_or(0);
    if (sides < kMinSides || sides > kMaxSides) {
        MapServices::Installed().messages.AddLine(
            MessageLog::Error, "A shape on a ring needs %d to %d sides; %d were asked for.",
            kMinSides, kMaxSides, sides);
        return {};
    }
    const Vector c = Origin();
    const Vector half = HalfSize();
    const double step = 360.0 / sides;
    std::vector<Vector> ring;
    ring.reserve(static_cast<std::size_t>(sides));
    for (int i = 0; i < sides; ++i) {
        double degrees = i * step;
        if (degrees > 360.0) {
            degrees -= 360.0;
        }
        const double radians = degrees * std::numbers::pi / 180.0;
        ring.push_back(Vector{static_cast<float>(c.x + half.x * std::sin(radians)),
                              static_cast<float>(c.y + half.y * std::cos(radians)), 0.0f});
    }
    return ring;
}

namespace {
std::vector<Vector> RingAt(const std::vector<Vector>& ring, float z) {
    std::vector<Vector> points = ring;
    for (Vector& p : points) {
        p.z = z;
    }
    return points;
}
} // namespace

bool CCylinderShape::BuildSolid(CMapSolid& solid) const {
    const std::vector<Vector> ring = Ring();
    if (ring.empty()) {
        return false;
    }
    const Vector c = Origin();
    const float z1 = c.z - HalfSize().z, z2 = c.z + HalfSize().z;
    const std::size_t n = ring.size();
    std::vector<ShapeFace> faces;
    faces.reserve(n + 2);
    faces.push_back({RingAt(ring, z1), true});
    faces.push_back({RingAt(ring, z2), false});
    for (std::size_t i = 0; i < n; ++i) {
        const Vector& a = ring[i];
        const Vector& b = ring[(i + 1) % n];
        faces.push_back({{{a.x, a.y, z1}, {b.x, b.y, z1}, {b.x, b.y, z2}, {a.x, a.y, z2}}, false});
    }
    return FillSolid(solid, faces);
}

bool CSpikeShape::BuildSolid(CMapSolid& solid) const {
    const std::vector<Vector> ring = Ring();
    if (ring.empty()) {
        return false;
    }
    const Vector c = Origin();
    const float z1 = c.z - HalfSize().z, z2 = c.z + HalfSize().z;
    const std::size_t n = ring.size();
    std::vector<ShapeFace> faces;
    faces.reserve(n + 1);
    faces.push_back({RingAt(ring, z1), true});
    for (std::size_t i = 0; i < n; ++i) {
        const Vector& a = ring[i];
        const Vector& b = ring[(i + 1) % n];
        faces.push_back({{{c.x, c.y, z2}, {a.x, a.y, z1}, {b.x, b.y, z1}}, false});
    }
    return FillSolid(solid, faces);
}

std::unique_ptr<CShapeTemplate> MakeShapeTemplate(int kind) {
    switch (kind) {
    case PRIMITIVE_BLOCK:
        return std::make_unique<CBlockShape>();
    case PRIMITIVE_WEDGE:
        return std::make_unique<CWedgeShape>();
    case PRIMITIVE_CYLINDER:
        return std::make_unique<CCylinderShape>();
    case PRIMITIVE_SPIKE:
        return std::make_unique<CSpikeShape>();
    default:
        return nullptr;
    }
}

CMapSolid* CreatePrimitive(int kind, int faceCount, const BoundBox& box) {
    std::unique_ptr<CShapeTemplate> shape = MakeShapeTemplate(kind);
    if (!shape) {
        return nullptr;
    }
    const bool hasSides = kind == PRIMITIVE_CYLINDER || kind == PRIMITIVE_SPIKE;
    if (hasSides) {
        const PrimitiveKind& entry =
            MapServices::Installed().primitives[static_cast<std::size_t>(kind)];
        if (faceCount < entry.minimum || faceCount > entry.maximum) {
            char text[128];
            std::snprintf(text, sizeof text,
                          "The face count for a %s must be in the range of %d to %d.", entry.name,
                          entry.minimum, entry.maximum);
            MapServices::Installed().GetPrompts().Message(text, Prompts::Icon::Warning);
            return nullptr;
        }
        shape->SetParameter(kSides, faceCount);
    }
    auto solid = std::make_unique<CMapSolid>();
    shape->SetFromBox(box);
    if (!shape->BuildSolid(*solid)) {
        return nullptr;
    }
    MapServices::Installed().ActiveHistory().KeepNew(solid.get());
    return solid.release();
}
