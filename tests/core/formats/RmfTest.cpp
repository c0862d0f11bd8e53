#include "FormatTestSupport.h"

#include "formats/RmfStream.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapGroup.h"
#include "mapobjects/MapSolid.h"
#include "support/FakeServices.h"
#include "support/SolidBuilders.h"

namespace {

const char* const kCorrupt = "The file is corrupt.";
const char* const kInvalid = "Invalid file type.";

class RmfTest : public FormatTest {
protected:
    // Reads data into a fresh world; the messages shown are in prompts.
    std::unique_ptr<CMapWorld> Read(const std::string& data, int expected = 0) {
        prompts.shown.clear();
        auto world = std::make_unique<CMapWorld>();
        EXPECT_EQ(ReadRmfData(*world, data, "test.rmf"), expected);
        return world;
    }
    std::string OnlyMessage() const {
        return prompts.shown.size() == 1
                   ? prompts.shown[0].text
                   : "<" + std::to_string(prompts.shown.size()) + " messages>";
    }

    // Object record body without children: visgroup bytes, colour.
    static void Body(ByteWriter& w, std::int32_t children, std::vector<std::uint8_t> visGroups = {},
                     std::uint32_t rgb = 0x102030) {
        w.Int(static_cast<std::int32_t>(visGroups.size()));
        for (std::uint8_t id : visGroups) {
            w.Byte(id);
        }
        w.Byte(static_cast<std::uint8_t>(rgb >> 16)).Byte(static_cast<std::uint8_t>(rgb >> 8));
        w.Byte(static_cast<std::uint8_t>(rgb)).Int(children);
    }
    static void TextureBlock(ByteWriter& w, const char* name) {
        char field[16] = {};
        std::strncpy(field, name, 15);
        w.Raw(field, 16).Float(45).Float(1).Float(2).Float(0.5f).Float(2);
    }
    // A file of version with one triangle face solid and a point entity at (1, 2, 3).
    static std::string OldFile(float version) {
        ByteWriter w;
        w.Float(version);
        if (version >= 0.8f) {
            w.Text("RMF");
        }
        w.String("CMapWorld");
        Body(w, 2);
        w.String("CMapSolid");
        Body(w, 0, {0, 5, 0, 7, 0, 0, 0, 0});
        w.Int(1);
        TextureBlock(w, "wall_1");
        if (version < 0.6f) {
            w.Int(0x12345678);
        }
        w.Int(3).Vec(0, 0, 8).Vec(0, 64, 8).Vec(64, 64, 8);
        if (version >= 0.7f) {
            w.Vec(64, 0, 8).Vec(0, 0, 8).Vec(0, 64, 8);
        }
        w.String("CMapEntity");
        Body(w, 0);
        w.String("light").Int(90).Int(1).Int(1).String("light").String("300");
        w.Short(CMapEntity::kFlagPointEntity).Vec(1, 2, 3).Int(7);
        w.String("worldspawn").Int(0).Int(0).Int(0);
        w.Int(0);
        return w.bytes;
    }

    static CMapSolid* Box(const Vector& lo, const Vector& hi) {
        auto* solid = new CMapSolid;
        AddBoxPlanes(*solid, lo, hi);
        EXPECT_TRUE(solid->CreateFromPlanes());
        solid->CalcBounds();
        return solid;
    }
    // A world with a group, visgroups, a solid entity and a point entity.
    static std::unique_ptr<CMapWorld> RichWorld() {
        auto world = std::make_unique<CMapWorld>();
        world->SetKeyValue("message", std::string("rich"));
        world->AddVisGroup(VisGroup{"walls", 0x00FF00, 3, true});
        world->AddVisGroup(VisGroup{std::string(127, 'n'), 0x123456, 9, false});
        auto* group = new CMapGroup;
        CMapSolid* solid = Box({0, 0, 0}, {64, 64, 8});
        solid->ChangeVisGroup(3, 1);
        solid->ChangeVisGroup(9, 1);
        solid->Face(2).SetTextureName("*lava1");
        solid->Face(2).SetShift(3.5f, -2);
        solid->Face(2).SetRotation(30);
        solid->Face(2).SetScale(0.25f, 4);
        group->AddChild(solid);
        group->AddChild(Box({100, 0, 0}, {164, 64, 8}));
        world->AddChild(group);
        auto* door = new CMapEntity;
        door->SetClass("func_door");
        door->SetKeyValue("speed", std::string("100"));
        door->AddChild(Box({0, 100, 0}, {32, 132, 64}));
        world->AddChild(door);
        auto* light = new CMapEntity;
        light->SetPointEntity(true);
        light->SetClass("light");
        light->SetAngle(-90);
        light->SetSpawnFlags(3);
        light->SetOrigin({16, 16, 48});
        world->AddChild(light);
        return world;
    }
};

TEST_F(RmfTest, AWrittenFileStartsWithVersionMagicAndTheWorldsClassName) {
    CMapWorld world;
    const std::string bytes = RmfBytes(world);
    // Version 0.9: faces with exact plane points and texture axes.
    const std::string head("\x66\x66\x66\x3F"
                           "RMF\x0A"
                           "CMapWorld\0",
                           18);
    EXPECT_EQ(bytes.substr(0, head.size()), head);
}

TEST_F(RmfTest, AMapComesBackTheSameAndWritesTheSameBytes) {
    auto world = RichWorld();
    const std::string bytes = RmfBytes(*world);
    auto loaded = Read(bytes);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(RmfBytes(*loaded), bytes);

    ASSERT_EQ(loaded->VisGroupCount(), 2);
    EXPECT_EQ(loaded->VisGroups()[1].name, std::string(127, 'n'));
    EXPECT_EQ(loaded->VisGroups()[1].color, 0x123456u);
    EXPECT_EQ(loaded->VisGroups()[1].id, 9);
    EXPECT_TRUE(loaded->VisGroups()[0].visible);
    EXPECT_EQ(loaded->FindVisGroup(9), &loaded->VisGroupAt(1));
    EXPECT_EQ(loaded->GetKeyValue("message")->first, "rich");

    std::vector<CMapClass*> top(loaded->Children().begin(), loaded->Children().end());
    ASSERT_EQ(top.size(), 3u);
    ASSERT_TRUE(top[0]->IsType(kTypeMapGroup));
    ASSERT_EQ(top[0]->Children().size(), 2u);
    auto* solid = static_cast<CMapSolid*>(top[0]->Children().front());
    auto* original = static_cast<CMapSolid*>(world->Children().front()->Children().front());
    EXPECT_NE(solid->ObjectId(), original->ObjectId());
    EXPECT_EQ(solid->OwnVisGroups(), original->OwnVisGroups());
    EXPECT_EQ(solid->GetColor(), original->GetColor());
    EXPECT_EQ(solid->Contents(), CONTENTS_SOLID);
    ASSERT_EQ(solid->FaceCount(), 6);
    for (int i = 0; i < 6; ++i) {
        const CMapFace& a = solid->Face(i);
        const CMapFace& b = original->Face(i);
        EXPECT_STREQ(a.TextureName(), b.TextureName());
        EXPECT_EQ(a.PlanePoints(), b.PlanePoints());
        EXPECT_EQ(a.GetPlane().normal, b.GetPlane().normal);
        ASSERT_EQ(a.PointCount(), b.PointCount());
        for (int k = 0; k < a.PointCount(); ++k) {
            EXPECT_EQ(a.Point(k), b.Point(k));
        }
        EXPECT_EQ(a.ShiftX(), b.ShiftX());
        EXPECT_EQ(a.Rotation(), b.Rotation());
        EXPECT_EQ(a.ScaleY(), b.ScaleY());
    }
    EXPECT_EQ(solid->Bounds(), original->Bounds());

    auto* door = static_cast<CMapEntity*>(top[1]);
    EXPECT_FALSE(door->IsPointEntity());
    EXPECT_EQ(door->ClassName(), "func_door");
    EXPECT_EQ(door->Children().size(), 1u);
    auto* light = static_cast<CMapEntity*>(top[2]);
    EXPECT_TRUE(light->IsPointEntity());
    EXPECT_EQ(light->Origin(), (Vector{16, 16, 48}));
    EXPECT_EQ(light->Angle(), -90);
    EXPECT_EQ(light->SpawnFlags(), 3u);
    EXPECT_EQ(loaded->VisibleObjects().size(), 5u);
}

TEST_F(RmfTest, OlderVersionsLoadByTheirRules) {
    // 0.5: no magic, four extra bytes per face, plane points from the polygon.
    auto v5 = Read(OldFile(0.5f));
    EXPECT_TRUE(prompts.shown.empty());
    ASSERT_EQ(v5->Children().size(), 2u);
    auto* solid = static_cast<CMapSolid*>(v5->Children().front());
    EXPECT_EQ(solid->OwnVisGroups(), (VisGroupIds{5, 7, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(solid->GetColor(), 0x102030u);
    ASSERT_EQ(solid->FaceCount(), 1);
    const CMapFace& face = solid->Face(0);
    EXPECT_STREQ(face.TextureName(), "WALL_1");
    EXPECT_EQ(face.Rotation(), 45.0f);
    EXPECT_EQ(face.ShiftY(), 2.0f);
    EXPECT_EQ(face.ScaleX(), 0.5f);
    EXPECT_EQ(face.PlanePoints()[0], (Vector{0, 0, 8}));
    EXPECT_EQ(face.PlanePoints()[2], (Vector{64, 64, 8}));
    EXPECT_EQ(face.GetPlane().normal, (Vector{0, 0, 1}));
    EXPECT_EQ(solid->Bounds().maxs, (Vector{64, 64, 8}));
    auto* light = static_cast<CMapEntity*>(v5->Children().back());
    EXPECT_EQ(light->ClassName(), "light");
    EXPECT_EQ(light->Angle(), 90);
    EXPECT_EQ(light->Reserved(), 0);
    EXPECT_EQ(light->Origin(), (Vector{1, 2, 3}));
    EXPECT_EQ(light->GetKeyValue("light")->first, "300");

    // 0.4: z of face points and origins negated.
    auto v4 = Read(OldFile(0.4f));
    EXPECT_TRUE(prompts.shown.empty());
    auto* solid4 = static_cast<CMapSolid*>(v4->Children().front());
    EXPECT_EQ(solid4->Face(0).Point(1), (Vector{0, 64, -8}));
    EXPECT_EQ(solid4->Face(0).PlanePoints()[1], (Vector{0, 64, -8}));
    EXPECT_EQ(static_cast<CMapEntity*>(v4->Children().back())->Origin(), (Vector{1, 2, -3}));

    // 0.7: plane points of their own follow the polygon.
    auto v7 = Read(OldFile(0.7f));
    EXPECT_TRUE(prompts.shown.empty());
    const CMapFace& face7 = static_cast<CMapSolid*>(v7->Children().front())->Face(0);
    EXPECT_EQ(face7.PlanePoints()[0], (Vector{64, 0, 8}));
    EXPECT_EQ(face7.Point(0), (Vector{0, 0, 8}));

    // 0.8 files, the newest before exact faces, still load.
    auto v8 = Read(OldFile(0.8f));
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(v8->Children().size(), 2u);
}

TEST_F(RmfTest, VersionsOutsideTheRangeAndOtherFilesAreRefused) {
    Read(OldFile(1.0f), -1);
    EXPECT_EQ(OnlyMessage(), "Oops! SerializeRMF() v0.9 tried to load a file v1.0. Aborting.");
    Read(OldFile(0.2f), -1);
    EXPECT_EQ(OnlyMessage(), "Oops! SerializeRMF() v0.9 tried to load a file v0.2. Aborting.");
    Read(ByteWriter().Float(std::numeric_limits<float>::quiet_NaN()).Text("RMF").bytes, -1);
    EXPECT_NE(OnlyMessage().find("Oops!"), std::string::npos);

    std::string badMagic = OldFile(0.8f);
    badMagic[5] = 'X';
    Read(badMagic, -1);
    EXPECT_EQ(OnlyMessage(), kInvalid);
    Read(ByteWriter().Float(0.8f).Text("RMF").String("CMapSolid").bytes, -1);
    EXPECT_EQ(OnlyMessage(), kInvalid);
    Read(ByteWriter().Float(0.8f).Text("RMF").String("cmapworld").bytes, -1);
    EXPECT_EQ(OnlyMessage(), kInvalid);
    Read("#!/bin/sh\necho not a map\n", -1);
    EXPECT_NE(OnlyMessage().find("Oops!"), std::string::npos);
}

TEST_F(RmfTest, MapTextGivenAnRmfNameIsCalledWhatItIs) {
    const std::string mapText = "{\n\"classname\" \"worldspawn\"\n}\n";
    for (const std::string& text : {mapText, "\r\n  " + mapText, "// Game: Quake\n" + mapText}) {
        Read(text, -1);
        EXPECT_EQ(OnlyMessage(), "test.rmf is not an RMF file; it looks like a MAP file.\n"
                                 "Give it the extension .map to open it.");
    }
    EXPECT_TRUE(LooksLikeMapText("{\n"));
    EXPECT_FALSE(LooksLikeMapText("#!/bin/sh\n"));
    // Real RMF data whose version bytes happen to start with a brace is still RMF.
    std::string version(4, '\0');
    const float v = 0.5f;
    std::memcpy(version.data(), &v, 4);
    version[0] = '{';
    EXPECT_FALSE(LooksLikeMapText(version + "\n"));
}

TEST_F(RmfTest, CountsAndStringsBeyondTheirFieldsMakeTheFileCorrupt) {
    auto world = [](const std::function<void(ByteWriter&)>& child) {
        ByteWriter w;
        w.Float(0.8f).Text("RMF").String("CMapWorld");
        Body(w, 1);
        child(w);
        w.String("worldspawn").Int(0).Int(0).Int(0).Int(0);
        return w.bytes;
    };
    auto solid = [](std::int32_t faces, std::int32_t points) {
        return [=](ByteWriter& w) {
            w.String("CMapSolid");
            Body(w, 0);
            w.Int(faces);
            TextureBlock(w, "A");
            w.Int(points);
        };
    };
    auto entity = [](const std::string& className, const std::string& key) {
        return [=](ByteWriter& w) {
            w.String("CMapEntity");
            Body(w, 0);
            w.String(className).Int(0).Int(0).Int(1).String(key).String("v");
            w.Short(0).Vec(0, 0, 0).Int(0);
        };
    };
    const std::vector<std::string> corrupt = {
        world(solid(1, 257)),
        world(solid(1, -1)),
        world(solid(127, 3)),
        world(solid(-2, 3)),
        world([](ByteWriter& w) { w.String("CMapSolid").Int(9).Zeros(9).Zeros(3).Int(0); }),
        world([](ByteWriter& w) { w.String("CMapSolid").Int(-1).Zeros(3).Int(0); }),
        world([](ByteWriter& w) { w.String("CMapThing"); }),
        world([](ByteWriter& w) {
            w.String("CMapWorld");
            Body(w, 0);
        }),
        world(entity(std::string(64, 'c'), "key")),
        world(entity("light", std::string(20, 'k'))),
        // A visgroup name without its terminator.
        ByteWriter()
            .Float(0.8f)
            .Text("RMF")
            .String("CMapWorld")
            .Int(8)
            .Zeros(8 + 3)
            .Int(0)
            .String("worldspawn")
            .Int(0)
            .Int(0)
            .Int(0)
            .Int(1)
            .Text(std::string(128, 'x'))
            .Zeros(8)
            .bytes,
    };
    for (const std::string& data : corrupt) {
        Read(data, -1);
        EXPECT_EQ(OnlyMessage(), kCorrupt);
    }
    // Just inside the limits.
    Read(world(entity(std::string(63, 'c'), std::string(19, 'k'))));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(RmfTest, EveryTruncationIsReportedAsCorrupt) {
    const std::string bytes = RmfBytes(*RichWorld());
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        Read(bytes.substr(0, length), -1);
        ASSERT_EQ(OnlyMessage(), kCorrupt) << length;
    }
}

TEST_F(RmfTest, DeepNestingIsRefusedBeforeTheStackRunsOut) {
    auto nested = [](int depth) {
        ByteWriter w;
        w.Float(0.8f).Text("RMF").String("CMapWorld");
        Body(w, 1);
        for (int i = 0; i < depth; ++i) {
            w.String("CMapGroup");
            Body(w, i + 1 < depth ? 1 : 0);
        }
        w.String("worldspawn").Int(0).Int(0).Int(0).Int(0);
        return w.bytes;
    };
    auto world = Read(nested(RmfStream::kMaxDepth));
    EXPECT_TRUE(prompts.shown.empty());
    Read(nested(RmfStream::kMaxDepth + 1), -1);
    EXPECT_EQ(OnlyMessage(), kCorrupt);
    Read(nested(200000), -1);
    EXPECT_EQ(OnlyMessage(), kCorrupt);
}

TEST_F(RmfTest, ValuesLongerThanAStringHoldsAreCutWithANote) {
    CMapWorld world;
    world.SetKeyValue("message", std::string(300, 'm'));
    auto loaded = Read(RmfBytes(world));
    EXPECT_EQ(loaded->GetKeyValue("message")->first, std::string(254, 'm'));
    const auto& lines = context.Context().messages.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().kind, MessageLog::Error);
    EXPECT_NE(lines.back().text.find("\"message\" of worldspawn was cut to 254"),
              std::string::npos);
}

TEST_F(RmfTest, TheGameClassDecidesWhetherAnEntityIsAPointEntity) {
    FakeEntityClasses classes;
    classes.Add("func_wall").isSolid = true;
    classes.Add("light");
    context.Context().entityClasses = &classes;
    auto make = [](const std::string& className, std::uint16_t flags) {
        ByteWriter w;
        w.Float(0.8f).Text("RMF").String("CMapWorld");
        Body(w, 1);
        w.String("CMapEntity");
        Body(w, 0);
        w.String(className).Int(0).Int(0).Int(0).Short(flags).Vec(5, 6, 7).Int(1);
        w.String("worldspawn").Int(0).Int(0).Int(0).Int(0);
        return w.bytes;
    };
    auto entityOf = [](const CMapWorld& world) {
        return static_cast<const CMapEntity*>(world.Children().front());
    };
    auto wall = Read(make("func_wall", CMapEntity::kFlagPointEntity));
    EXPECT_FALSE(entityOf(*wall)->IsPointEntity());
    EXPECT_EQ(entityOf(*wall)->Origin(), (Vector{0, 0, 0}));
    auto light = Read(make("light", 0));
    EXPECT_TRUE(entityOf(*light)->IsPointEntity());
    EXPECT_EQ(entityOf(*light)->Origin(), (Vector{5, 6, 7}));
    EXPECT_EQ(entityOf(*light)->Reserved(), 0);
    auto unknown = Read(make("monster_x", CMapEntity::kFlagPointEntity | 0x100));
    EXPECT_EQ(entityOf(*unknown)->Flags(), CMapEntity::kFlagPointEntity | 0x100);
    EXPECT_EQ(entityOf(*unknown)->Origin(), (Vector{5, 6, 7}));
}

// MAP text may give the world an "origin" key; the world has no position, so it is one of
// its pairs, and RMF keeps it like the others.
TEST_F(RmfTest, TheWorldsOriginKeyIsKeptThroughRmf) {
    auto world = LoadMap("{\n\"classname\" \"worldspawn\"\n\"origin\" \"1 2 3\"\n\"a\" \"b\"\n}\n");
    const std::string map = MapText(*world);
    auto loaded = Read(RmfBytes(*world));
    EXPECT_EQ(MapText(*loaded), map);
    EXPECT_NE(map.find("\"origin\" \"1 2 3\"\n\"a\" \"b\"\n"), std::string::npos) << map;
}

} // namespace
