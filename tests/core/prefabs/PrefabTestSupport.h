#pragma once

#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "prefabs/Prefab.h"
#include "prefabs/PrefabLibrary.h"
#include "prefabs/PrefabRegistry.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

// A fresh editor context with recorded prompts and a temporary program folder, so the prefab
// folder is <temp>/prefabs.
class PrefabTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    std::filesystem::path root;

    void SetUp() override {
        context.Context().SetPrompts(&prompts);
        char pattern[] = "/tmp/prefab-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        context.Context().programDirectory = root.string();
    }
    void TearDown() override {
        // Libraries and maps go before the folder.
        context.Context().ResetPart<PrefabRegistry>();
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    PrefabRegistry& Registry() { return context.Context().Prefabs(); }
    std::string PrefabDir() { return Registry().PrefabDirectory(); }

    static std::string ReadBytes(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    static std::uint32_t Le32(const std::string& bytes, std::size_t at) {
        std::uint32_t value = 0;
        std::memcpy(&value, bytes.data() + at, 4);
        return value;
    }

    // An axis-aligned box solid from lo to hi.
    static CMapSolid* Box(const Vector& lo, const Vector& hi) {
        auto* solid = new CMapSolid;
        AddBoxPlanes(*solid, lo, hi);
        EXPECT_TRUE(solid->CreateFromPlanes());
        solid->CalcBounds();
        return solid;
    }
    // A map of count boxes of size 16, 32 units apart along x, starting at x0.
    static std::unique_ptr<CMapWorld> BoxesMap(int count, float x0 = 0) {
        auto map = std::make_unique<CMapWorld>();
        for (int i = 0; i < count; ++i) {
            const float x = x0 + 32.0f * static_cast<float>(i);
            map->AddChild(Box({x, 0, 0}, {x + 16, 16, 16}));
        }
        map->CalcBounds(false);
        return map;
    }
    // A new prefab with the map, added to the library.
    static CPrefab* AddPrefab(CPrefabLibrary& library, const std::string& name,
                              std::unique_ptr<CMapWorld> map, const std::string& notes = {}) {
        auto prefab = std::make_unique<CPrefab>();
        prefab->SetName(name);
        prefab->SetNotes(notes);
        prefab->SetMap(std::move(map));
        return library.AddPrefab(std::move(prefab));
    }
    // A library file with prefabs of 1, 2 and 3 boxes named a, b, c; returns its path.
    std::string MakeLibraryFile(const std::string& name = "stuff") {
        auto library = std::make_unique<CPrefabLibrary>();
        library->SetName(name);
        library->SetDescription("three prefabs");
        AddPrefab(*library, "a", BoxesMap(1), "one box");
        AddPrefab(*library, "b", BoxesMap(2), "two boxes");
        AddPrefab(*library, "c", BoxesMap(3), "three boxes");
        EXPECT_EQ(library->Save(), 0);
        return library->Path();
    }
};

// A loaded library (made by MakeLibraryFile) and its prefab "b" of two boxes, for the tests of
// documents that edit a prefab.
class PrefabDocumentFixture : public PrefabTest {
protected:
    CPrefabLibrary* library = nullptr;
    CPrefab* prefab = nullptr;
    void SetUp() override {
        PrefabTest::SetUp();
        library = Registry().LoadLibrary(MakeLibraryFile());
        ASSERT_NE(library, nullptr);
        prefab = library->Prefabs()[1].get();
    }
    // Adds a box to the document's world, as an edit would.
    template <class Document> static void AddBox(Document& doc) {
        doc.World()->AddChild(Box({200, 0, 0}, {216, 16, 16}));
        doc.SetModified();
    }
};
