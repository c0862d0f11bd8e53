#include "support/WorldSnapshot.h"

#include "mapobjects/EditGameClass.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"

#include <charconv>
#include <sstream>

namespace {

void Put(std::ostringstream& out, const Vector& v) {
    // Shortest exact form: fast, and equal text means equal floats.
    char buffer[64];
    char* p = buffer;
    *p++ = '(';
    for (int i = 0; i < 3; ++i) {
        p = std::to_chars(p, buffer + sizeof buffer, v[i]).ptr;
        *p++ = i < 2 ? ' ' : ')';
    }
    out.write(buffer, p - buffer);
}

void Describe(std::ostringstream& out, const CMapClass& object, int depth) {
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << object.GetType() << " color "
        << object.GetColor() << " vis";
    for (auto id : object.OwnVisGroups()) {
        out << ' ' << static_cast<int>(id);
    }
    out << " shown " << object.IsShown();
    // Containers' bounds are derived from their children and only grow between
    // recalculations; solids and point entities own theirs.
    if (object.Children().empty() && !object.IsWorld()) {
        out << " bounds ";
        Put(out, object.Bounds().mins);
        Put(out, object.Bounds().maxs);
    }
    const CEditGameClass* keys = nullptr;
    if (object.IsType(kTypeMapEntity)) {
        const auto& entity = static_cast<const CMapEntity&>(object);
        keys = &entity;
        out << " point " << entity.IsPointEntity() << " origin ";
        Put(out, entity.Origin());
    } else if (object.IsWorld()) {
        keys = static_cast<const CMapWorld*>(&object);
    }
    if (keys) {
        out << " class " << keys->ClassName() << " angle " << keys->Angle() << " flags "
            << keys->SpawnFlags();
        for (const auto& kv : keys->KeyValues()) {
            out << " [" << kv.key << '=' << kv.value << ']';
        }
    }
    out << '\n';
    if (object.IsType(kTypeMapSolid)) {
        const auto& solid = static_cast<const CMapSolid&>(object);
        for (const CMapFace& face : solid.Faces()) {
            out << std::string(static_cast<std::size_t>(depth) * 2 + 2, ' ') << "face "
                << face.TextureName();
            for (const Vector3d& p : face.PlanePoints()) {
                Put(out, p.ToFloat());
            }
            out << " poly";
            for (int i = 0; i < face.PointCount(); ++i) {
                Put(out, face.Point(i));
            }
            out << '\n';
        }
    }
    for (const CMapClass* child : object.Children()) {
        Describe(out, *child, depth + 1);
    }
}

} // namespace

std::string WorldSnapshot(const CMapClass& root) {
    std::ostringstream out;
    Describe(out, root, 0);
    return out.str();
}

std::string SnapshotDifference(const std::string& expected, const std::string& actual) {
    if (expected == actual) {
        return {};
    }
    std::istringstream a(expected), b(actual);
    std::string la, lb;
    int line = 1;
    while (true) {
        bool ga = static_cast<bool>(std::getline(a, la));
        bool gb = static_cast<bool>(std::getline(b, lb));
        if (!ga && !gb) {
            return "equal lines, different text";
        }
        if (!ga || !gb || la != lb) {
            return "line " + std::to_string(line) + "\n  expected: " + (ga ? la : "<end>") +
                   "\n  actual:   " + (gb ? lb : "<end>");
        }
        ++line;
    }
}
