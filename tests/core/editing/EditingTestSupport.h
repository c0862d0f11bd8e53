#pragma once

#include "document/CommandSupport.h"
#include "document/EditorSinks.h"
#include "document/MapDoc.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapGroup.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/FakeServices.h"
#include "support/FakeViews.h"
#include "support/ScriptedPrompts.h"
#include "support/Selection.h"
#include "support/SolidBuilders.h"
#include "support/WorldSnapshot.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// An axis-aligned box solid lo..hi with polygons and bounds. Test objects are built without
// recording, so they never end up in an undo step of the command under test.
inline CMapSolid* MakeBox(const Vector& lo, const Vector& hi, const char* texture = "WALL") {
    RecordingPause pause;
    auto* solid = new CMapSolid;
    AddBoxPlanes(*solid, lo, hi);
    solid->SetTexture(texture);
    EXPECT_TRUE(solid->CreateFromPlanes());
    solid->CalcBounds();
    return solid;
}

inline CMapEntity* MakePointEntity(const std::string& className, const Vector& origin) {
    RecordingPause pause;
    auto* entity = new CMapEntity;
    entity->SetPointEntity(true);
    entity->SetClass(className);
    entity->SetOrigin(origin);
    return entity;
}

// The solids below object (object included), in tree order.
std::vector<CMapSolid*> SolidsBelow(CMapClass& object);

// Empty when the bounds of every container below root (root included) cover those of its
// children; otherwise the first container whose bounds are stale, described.
std::string StaleBounds(const CMapClass& root);

// Sum of the volumes of box solids (from their bounds).
double BoxVolume(const std::vector<CMapSolid*>& solids);

class RecordingProperties : public ObjectPropertiesSink {
public:
    int clears = 0;
    int shows = 0;
    std::vector<std::vector<CMapClass*>> sets;
    void SetObjects(const std::vector<CMapClass*>& objects) override { sets.push_back(objects); }
    void ClearObjects() override { ++clears; }
    void ShowAndActivate() override { ++shows; }
};

// A document with a top (X/Y) 2D view and a 3D view, active, with scripted prompts.
class EditingTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    FakeStatusPanes panes;
    FakeMainFrame frame;
    RecordingProperties properties;
    FakeEntityClasses classes;
    std::unique_ptr<CMapDoc> doc;
    FakeView top{false, 0, 1, Vector{0, 0, 0}};
    FakeView view3d{true};

    void SetUp() override {
        EditorContext& editor = context.Context();
        editor.SetPrompts(&prompts);
        editor.statusPanes = &panes;
        editor.mainFrame = &frame;
        editor.objectProperties = &properties;
        editor.entityClasses = &classes;
        editor.random.Seed(1234);
        doc = std::make_unique<CMapDoc>();
        doc->AddView(&top);
        doc->AddView(&view3d);
        CMapDoc::SetActiveMapDoc(doc.get());
    }

    void TearDown() override { doc.reset(); }

    CMapWorld& World() { return *doc->World(); }
    std::string Snapshot() { return WorldSnapshot(World()); }

    template <typename T> T* Add(T* object) {
        World().AddChild(object);
        return object;
    }
    void Select(std::initializer_list<CMapClass*> objects) { SelectExactly(*doc, objects); }

    // Undo must give back exactly `before`, redo exactly the state after the step, and undo
    // again `before`.
    ::testing::AssertionResult UndoRedoExact(const std::string& before) {
        const std::string after = Snapshot();
        doc->OnUndo();
        std::string diff = SnapshotDifference(before, Snapshot());
        if (!diff.empty()) {
            return ::testing::AssertionFailure() << "undo: " << diff;
        }
        doc->OnRedo();
        diff = SnapshotDifference(after, Snapshot());
        if (!diff.empty()) {
            return ::testing::AssertionFailure() << "redo: " << diff;
        }
        doc->OnUndo();
        diff = SnapshotDifference(before, Snapshot());
        if (!diff.empty()) {
            return ::testing::AssertionFailure() << "second undo: " << diff;
        }
        doc->OnRedo();
        return ::testing::AssertionSuccess();
    }
};
