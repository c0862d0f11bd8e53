#include "ShapingTestSupport.h"

#include "shaping/Clip.h"
#include "shaping/VertexEdit.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <unordered_set>

namespace {

class CorpusShapingTest : public EditingTest {
protected:
    void Open(const std::filesystem::path& path) {
        doc = std::make_unique<CMapDoc>();
        doc->AddView(&top);
        doc->AddView(&view3d);
        CMapDoc::SetActiveMapDoc(doc.get());
        ASSERT_TRUE(doc->OpenDocument(path.string())) << path;
        CMapDoc::SetActiveMapDoc(doc.get());
    }

    // Copies of solids in a world of their own, in the dialect of the document's map.
    ::testing::AssertionResult ReadBack(const std::vector<CMapSolid*>& solids) {
        RecordingPause pause;
        CMapWorld world;
        world.SetDialect(World().Dialect());
        for (CMapSolid* solid : solids) {
            world.AddChild(solid->Clone());
        }
        return MapReadsBackTheSame(world);
    }
};

std::vector<std::filesystem::path> CorpusMaps() {
    std::vector<std::filesystem::path> maps;
    for (const char* folder : {"maps", "axis-maps"}) {
        const std::filesystem::path dir = std::filesystem::path(BRICKHAVEN_CORPUS_DIR) / folder;
        if (!std::filesystem::is_directory(dir)) {
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            if (entry.path().extension() == ".map") {
                maps.push_back(entry.path());
            }
        }
    }
    std::sort(maps.begin(), maps.end());
    return maps;
}

Vector3d Rounded(const Vector& v) {
    return {std::round(v.x), std::round(v.y), std::round(v.z)};
}

// Every map of the corpus, in both dialects: all its solids clipped by a slanted plane through
// its middle, then one corner of each solid lifted. The pieces and the rebuilt solids are
// closed and read back the same from MAP text in the map's dialect, and undo gives back the
// map's exact RMF bytes.
TEST_F(CorpusShapingTest, ClipsAndVertexMovesOnRealMaps) {
    const std::vector<std::filesystem::path> maps = CorpusMaps();
    if (maps.empty()) {
        GTEST_SKIP() << "the map corpus is not there: " << BRICKHAVEN_CORPUS_DIR;
    }
    context.Context().options.undoLevels = 100000;
    int clipped = 0;
    int moved = 0;
    for (const std::filesystem::path& path : maps) {
        SCOPED_TRACE(path.filename().string());
        Open(path);
        const std::vector<CMapSolid*> original = AllSolids(World());
        const std::unordered_set<CMapSolid*> known(original.begin(), original.end());
        const std::string before = RmfBytes(World());

        doc->SelectObject(nullptr, SELECT_CLEAR);
        for (CMapClass* child : World().Children()) {
            doc->SelectObject(child, SELECT_ADD);
        }
        doc->SelectObject(nullptr, SELECT_UPDATE);
        const Vector3d c = Rounded(World().Bounds().Center());
        const auto plane = ClipPlaneThrough(c, c + Vector3d(64, 16, 0), c + Vector3d(0, 8, 64));
        ASSERT_TRUE(plane);
        const ClipResult result = OnClip(*doc, *plane, ClipKeep::Both);
        std::vector<CMapSolid*> pieces;
        for (CMapSolid* solid : AllSolids(World())) {
            if (!known.count(solid)) {
                EXPECT_TRUE(solid->IsClosed());
                pieces.push_back(solid);
            }
        }
        EXPECT_EQ(static_cast<int>(pieces.size()), result.pieces);
        EXPECT_EQ(result.pieces, 2 * result.clipped);
        EXPECT_TRUE(ReadBack(pieces));
        clipped += result.clipped;
        if (result.clipped > 0) {
            doc->OnUndo();
        }
        EXPECT_EQ(RmfBytes(World()), before);

        int steps = 0;
        std::vector<CMapSolid*> rebuilt;
        for (std::size_t i = 0; i < original.size() && i < 300; ++i) {
            CMapSolid* solid = original[i];
            if (OnVertexMove(*doc, {{solid, {0}}}, {0, 0, 16}).result == VertexMoveResult::Moved) {
                EXPECT_TRUE(solid->IsClosed());
                rebuilt.push_back(solid);
                ++steps;
            }
        }
        EXPECT_TRUE(ReadBack(rebuilt));
        moved += steps;
        for (int i = 0; i < steps; ++i) {
            doc->OnUndo();
        }
        EXPECT_EQ(RmfBytes(World()), before);
    }
    EXPECT_GT(clipped, 100);
    EXPECT_GT(moved, 100);
}

} // namespace
