#pragma once

#include "core/editing/EditingTestSupport.h"

#include "formats/FileAccess.h"
#include "formats/MapTextReader.h"
#include "formats/MapTextWriter.h"
#include "formats/RmfWriter.h"
#include "mapobjects/TreeWalk.h"

#include <cmath>
#include <string>
#include <vector>

// The volume a solid's polygons enclose (all wound the same way).
inline double SolidVolume(const CMapSolid& solid) {
    double volume = 0.0;
    for (const CMapFace& face : solid.Faces()) {
        for (int i = 1; i + 1 < face.PointCount(); ++i) {
            const Vector3d a(face.Point(0));
            const Vector3d b(face.Point(i));
            const Vector3d c(face.Point(i + 1));
            volume += Dot(a, Cross(b, c)) / 6.0;
        }
    }
    return std::abs(volume);
}

inline std::vector<CMapSolid*> AllSolids(const CMapClass& root) {
    std::vector<CMapSolid*> solids;
    EnumChildren(
        root,
        [&solids](CMapClass* object) {
            solids.push_back(static_cast<CMapSolid*>(object));
            return true;
        },
        kTypeMapSolid);
    return solids;
}

// The solids in the order a MAP file holds them: the world's (those in groups included), then
// each entity's.
inline std::vector<CMapSolid*> SolidsInFileOrder(const CMapClass& world) {
    const auto inEntity = [&world](const CMapClass* object) {
        for (const CMapClass* p = object->Parent(); p && p != &world; p = p->Parent()) {
            if (p->IsType(kTypeMapEntity)) {
                return true;
            }
        }
        return false;
    };
    std::vector<CMapSolid*> solids;
    for (const bool entities : {false, true}) {
        for (CMapSolid* solid : AllSolids(world)) {
            if (inEntity(solid) == entities) {
                solids.push_back(solid);
            }
        }
    }
    return solids;
}

inline std::string RmfBytes(const CMapWorld& world) {
    std::string bytes;
    EXPECT_TRUE(RmfWriter::Write(world, SinkInto(bytes)).Ok());
    return bytes;
}

inline std::string MapText(const CMapWorld& world) {
    std::string text;
    EXPECT_TRUE(MapTextWriter::Write(world, SinkInto(text), MapWriteOptions{}).Ok());
    return text;
}

// The map written as MAP text reads back into solids that are all sound and closed, as many
// as were written, and writes out again as the same text.
inline ::testing::AssertionResult MapReadsBackTheSame(const CMapWorld& world) {
    const std::string text = MapText(world);
    RecordingPause pause;
    CMapWorld read;
    if (!MapTextReader::Read(read, text, nullptr).Ok()) {
        return ::testing::AssertionFailure() << "the MAP text does not read:\n" << text;
    }
    const std::vector<CMapSolid*> written = SolidsInFileOrder(world);
    const std::vector<CMapSolid*> solids = AllSolids(read);
    if (solids.size() != written.size()) {
        return ::testing::AssertionFailure()
               << written.size() << " solids written, " << solids.size() << " read";
    }
    for (std::size_t i = 0; i < solids.size(); ++i) {
        if (!solids[i]->IsClosed() || solids[i]->FaceCount() != written[i]->FaceCount()) {
            return ::testing::AssertionFailure()
                   << "solid " << i << " reads back with " << solids[i]->FaceCount() << " faces of "
                   << written[i]->FaceCount() << ":\n"
                   << text;
        }
        const double a = SolidVolume(*written[i]);
        const double b = SolidVolume(*solids[i]);
        // The reader builds solids in single precision with a tolerance of a tenth of a unit,
        // so the volume may differ by that much over the solid's surface.
        const Vector size = written[i]->Bounds().maxs - written[i]->Bounds().mins;
        const double surface =
            2.0 * (double(size.x) * size.y + double(size.y) * size.z + double(size.z) * size.x);
        if (std::abs(a - b) > std::max(1e-2 * a, 0.1 * surface)) {
            return ::testing::AssertionFailure()
                   << "solid " << i << " volume " << a << " reads back as " << b << "\n"
                   << text;
        }
    }
    const std::string again = MapText(read);
    if (again != text) {
        return ::testing::AssertionFailure() << "written again differently:\n"
                                             << text << "\n----\n"
                                             << again;
    }
    return ::testing::AssertionSuccess();
}
