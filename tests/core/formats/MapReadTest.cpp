#include "FormatTestSupport.h"

#include "formats/FaceLineText.h"
#include "formats/MapNumbers.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapSolid.h"
#include "support/FakeServices.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <iterator>
#include <random>

namespace {

class RecordingProgress : public Progress {
public:
    std::vector<int> positions;
    void SetPosition(int percent) override { positions.push_back(percent); }
    bool Cancelled() const override { return false; }
};

const std::string kWorldHead = "{\n\"classname\" \"worldspawn\"\n";

std::string SimpleMap() {
    return kWorldHead + BoxSolidText(0, 0, 0, 64, 64, 64) + "}\n" +
           "{\n\"classname\" \"info_player_start\"\n\"origin\" \"16 -32 24\"\n}\n";
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

using MapReadTest = FormatTest;

TEST_F(MapReadTest, LineEndingsCommentsTabsAndAMissingLastLineFeedReadAlike) {
    const std::string expected = MapText(*LoadMap(SimpleMap()));
    const std::vector<std::string> variants = {
        Replace(SimpleMap(), "\n", "\r\n"),
        "// Game: Quake\n" + Replace(SimpleMap(), "{\n(", "{\n  // brush 0\n(") + "// end\n",
        Replace(SimpleMap(), "\" \"", "\"\t\""),
        SimpleMap().substr(0, SimpleMap().size() - 1),
        "\n\n   " + Replace(SimpleMap(), "\n", "\n\t  \n"),
    };
    for (const std::string& text : variants) {
        auto world = LoadMap(text);
        EXPECT_FALSE(lastRead.parseErrors) << text;
        EXPECT_EQ(MapText(*world), expected) << text;
    }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MapReadTest, KeyValuesFillTheirFieldsAndPairs) {
    const std::string longValue(600, 'v');
    auto world = LoadMap("{\n\"classname\" \"worldspawn\"\n\"wad\" \"gfx/base.wad\"\n"
                         "\"message\" \"first\"\n\"Message\" \"second\"\n"
                         "\"a_key_longer_than_nineteen\" \"" +
                         longValue +
                         "\"\n}\n"
                         "{\n\"Classname\" \"info_null\"\n\"classname\" \"light\"\n"
                         "\"angle\" \"-90\"\n\"spawnflags\" \"2049\"\n\"light\"\t\"300\"\n}\n");
    EXPECT_EQ(world->ClassName(), "worldspawn");
    // The world keeps its "wad" pair: the map's own texture files.
    ASSERT_EQ(world->KeyValueCount(), 3);
    EXPECT_EQ(world->KeyValues()[0].key, "wad");
    EXPECT_EQ(world->KeyValues()[0].value, "gfx/base.wad");
    EXPECT_EQ(world->KeyValues()[1].key, "message");
    EXPECT_EQ(world->KeyValues()[1].value, "second");
    EXPECT_EQ(world->KeyValues()[2].key, "a_key_longer_than_n");
    EXPECT_EQ(world->KeyValues()[2].value.size(), 511u);
    EXPECT_EQ(lastRead.wad, "gfx/base.wad");

    ASSERT_EQ(world->Children().size(), 1u);
    auto* light = static_cast<CMapEntity*>(world->Children().front());
    EXPECT_EQ(light->ClassName(), "light");
    EXPECT_EQ(light->Angle(), -90);
    EXPECT_EQ(light->SpawnFlags(), 2049u);
    // "Classname" names the class as "classname" does: the last one counts.
    ASSERT_EQ(light->KeyValueCount(), 1);
    EXPECT_EQ(light->KeyValues()[0].value, "300");
    EXPECT_FALSE(lastRead.parseErrors);
}

// A key held twice (in any case) is read with its last value and written once; the keys kept
// in fields never stay among the pairs, so writing cannot repeat them.
TEST_F(MapReadTest, AKeyHeldTwiceIsReadWithItsLastValueAndWrittenOnce) {
    auto world = LoadMap(kWorldHead + "}\n{\n\"classname\" \"monster_army\"\n\"angle\" \"90\"\n" +
                         "\"wait\" \"1\"\n\"Angle\" \"45\"\n\"WAIT\" \"2\"\n" +
                         "\"spawnflags\" \"1\"\n\"SpawnFlags\" \"3\"\n" +
                         "\"origin\" \"0 0 0\"\n\"ORIGIN\" \"8 16 24\"\n}\n");
    ASSERT_EQ(world->Children().size(), 1u);
    auto* army = static_cast<CMapEntity*>(world->Children().front());
    EXPECT_EQ(army->Angle(), 45);
    EXPECT_EQ(army->SpawnFlags(), 3u);
    EXPECT_EQ(army->Origin(), (Vector{8, 16, 24}));
    ASSERT_EQ(army->KeyValueCount(), 1);
    EXPECT_EQ(army->KeyValues()[0].value, "2");

    const std::string text = MapText(*world);
    auto count = [&text](const std::string& line) {
        std::size_t n = 0;
        for (std::size_t at = text.find(line); at != std::string::npos;
             at = text.find(line, at + 1)) {
            ++n;
        }
        return n;
    };
    EXPECT_EQ(count("\"angle\" \"45\"\n"), 1u) << text;
    EXPECT_EQ(count("ngle\""), 1u) << text;
    EXPECT_EQ(count("\"spawnflags\" \"3\"\n"), 1u) << text;
    EXPECT_EQ(count("rigin\""), 1u) << text;
    EXPECT_EQ(count("\"wait\" \"2\"\n"), 1u) << text;
    // Read back, the same.
    EXPECT_EQ(MapText(*LoadMap(text)), text);
}

TEST_F(MapReadTest, EntitiesWithoutSolidsArePointEntitiesAndOriginsAreTakenOut) {
    auto world = LoadMap(kWorldHead + "}\n{\n\"classname\" \"info_null\"\n}\n" +
                         "{\n\"classname\" \"light\"\n\"origin\" \"1.5 -2 3e1\"\n}\n" +
                         "{\n\"classname\" \"func_door\"\n\"origin\" \"8 8 8\"\n" +
                         BoxSolidText(0, 0, 0, 16, 16, 16) + "}\n");
    std::vector<CMapEntity*> entities;
    for (CMapClass* child : world->Children()) {
        entities.push_back(static_cast<CMapEntity*>(child));
    }
    ASSERT_EQ(entities.size(), 3u);
    EXPECT_TRUE(entities[0]->IsPointEntity());
    EXPECT_EQ(entities[0]->Origin(), (Vector{0, 0, 0}));
    EXPECT_EQ(entities[0]->Bounds().mins, (Vector{-10, -10, -10}));

    EXPECT_TRUE(entities[1]->IsPointEntity());
    EXPECT_EQ(entities[1]->Origin(), (Vector{1.5f, -2, 30}));
    EXPECT_EQ(entities[1]->KeyValueCount(), 0);

    EXPECT_FALSE(entities[2]->IsPointEntity());
    EXPECT_EQ(entities[2]->Children().size(), 1u);
    EXPECT_FALSE(entities[2]->GetKeyValue("origin"));
    EXPECT_EQ(world->Bounds().maxs, (Vector{16, 16, 40}));
}

TEST_F(MapReadTest, SolidsGetPlanesPolygonsTexturesAndContents) {
    context.Context().currentTexture = "CURRENT";
    auto world = LoadMap(kWorldHead + BoxSolidText(-8, -8, 0, 8, 8, 32, "*slime0") +
                         Replace(BoxSolidText(0, 0, 0, 8, 8, 8, "e1u1/long_texture_name"),
                                 "1.000000 1.000000", "0.5 2 0 0 0") +
                         "}\n");
    ASSERT_EQ(world->Children().size(), 2u);
    auto* slime = static_cast<CMapSolid*>(world->Children().front());
    EXPECT_EQ(slime->Contents(), CONTENTS_SLIME);
    EXPECT_STREQ(slime->Face(0).TextureName(), "*SLIME0");
    EXPECT_EQ(slime->Face(0).PointCount(), 4);
    EXPECT_EQ(slime->Face(0).GetPlane().normal, (Vector{0, 0, 1}));
    EXPECT_EQ(slime->Bounds().mins, (Vector{-8, -8, 0}));
    EXPECT_TRUE(slime->NeedsRebuild());
    EXPECT_EQ(slime->Face(0).DisplayColor(), 0xFF000000u | slime->GetColor());

    // Fields after the fifteenth (other games' face flags) are ignored.
    auto* other = static_cast<CMapSolid*>(world->Children().back());
    EXPECT_STREQ(other->Face(0).TextureName(), "E1U1/LONG_TEXTU");
    EXPECT_EQ(other->Face(0).ScaleX(), 0.5f);
    EXPECT_EQ(other->Face(0).ScaleY(), 2.0f);
    EXPECT_FALSE(lastRead.parseErrors);
    EXPECT_EQ(world->VisibleObjects().size(), 2u);
}

TEST_F(MapReadTest, AShortFaceLineFlagsTheLoadAndTheUserMayViewTheErrors) {
    int shownErrorLists = 0;
    context.Context().showMapErrors = [&shownErrorLists](const ErrorList&) { ++shownErrorLists; };
    prompts.answers = {Prompts::Answer::Yes};
    // The face keeps its plane and texture; only the scales are missing.
    auto world = LoadMap(kWorldHead +
                         Replace(BoxSolidText(0, 0, 0, 64, 64, 64),
                                 "GROUND1_6 0 0 0 1.000000 1.000000\n}", "GROUND1_6 0 0 0\n}") +
                         "}\n");
    EXPECT_EQ(world->Children().size(), 1u);
    EXPECT_TRUE(lastRead.parseErrors);
    EXPECT_EQ(lastRead.droppedSolids, 0);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "yesno");
    EXPECT_EQ(prompts.shown[0].text,
              "There was a problem loading the MAP file. Do you\nwant to view the error report?");
    EXPECT_EQ(shownErrorLists, 1);
    ASSERT_FALSE(context.Context().errors.empty());
    EXPECT_EQ(context.Context().errors.back().message,
              "error parsing test.map, line 9: a face line has fewer than 15 fields");
}

TEST_F(MapReadTest, SolidsThatAreNoSolidsAreDroppedAndCounted) {
    const std::string flat = "{\n( 0 0 0 ) ( 1 1 1 ) ( 2 2 2 ) A 0 0 0 1 1\n}\n";
    std::string manyFaces = "{\n";
    for (int i = 0; i < 127; ++i) {
        manyFaces += "( 0 0 " + std::to_string(i) + " ) ( 0 1 " + std::to_string(i) + " ) ( 1 1 " +
                     std::to_string(i) + " ) A 0 0 0 1 1\n";
    }
    manyFaces += "}\n";
    auto world =
        LoadMap(kWorldHead + flat + manyFaces + BoxSolidText(0, 0, 0, 8, 8, 8) + "{\n}\n}\n");
    EXPECT_EQ(world->Children().size(), 1u);
    EXPECT_EQ(lastRead.droppedSolids, 3);
    EXPECT_EQ(prompts.Messages(),
              std::vector<std::string>{
                  "For your information, 3 solids were not loaded\ndue to errors in the file."});
    const auto& errors = context.Context().errors;
    EXPECT_TRUE(std::any_of(errors.begin(), errors.end(), [](const ErrorRecord& e) {
        return e.message == "CreateFromPlanes() failed";
    }));
    EXPECT_TRUE(std::any_of(errors.begin(), errors.end(), [](const ErrorRecord& e) {
        return e.message.find("more than 126 faces") != std::string::npos;
    }));
}

TEST_F(MapReadTest, EachDroppedSolidIsExplainedWithItsLineInTheMessageWindow) {
    // A box whose top and bottom face the wrong way, one face alone, and a face too large.
    const std::string inside =
        Replace(Replace(BoxSolidText(0, 0, 0, 64, 64, 64), "( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 )",
                        "( 64 64 64 ) ( 0 64 64 ) ( 0 0 64 )"),
                "( 0 64 0 ) ( 0 0 0 ) ( 64 0 0 )", "( 64 0 0 ) ( 0 0 0 ) ( 0 64 0 )");
    const std::string flat = "{\n( 0 0 0 ) ( 1 1 1 ) ( 2 2 2 ) A 0 0 0 1 1\n}\n";
    const std::string huge = Replace(BoxSolidText(0, 0, 0, 8, 8, 8), "( 0 0 8 ) ( 0 8 8 )",
                                     "( 0 0 8 ) ( 1e200 1e200 8 )");
    LoadMap(kWorldHead + inside + flat + huge + "}\n");
    const ErrorList& errors = lastRead.errors;
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0].message, "error parsing test.map, line 3: a solid was not loaded: its "
                                 "faces enclose no space (a face may point the wrong way)");
    EXPECT_EQ(errors[0].value, 3);
    EXPECT_EQ(errors[1].message, "error parsing test.map, line 11: a solid was not loaded: it "
                                 "has 1 face; a solid needs at least 4");
    EXPECT_EQ(errors[2].message, "error parsing test.map, line 14: a solid was not loaded: its "
                                 "face 1 has a point too large to compute with");
    // The message box stays, and each error is a red line of the message window.
    EXPECT_EQ(prompts.Messages(),
              std::vector<std::string>{
                  "For your information, 3 solids were not loaded\ndue to errors in the file."});
    std::vector<std::string> logged;
    for (const MessageLog::Line& line : context.Context().messages.Lines()) {
        if (line.kind == MessageLog::Error && line.text.starts_with("error parsing")) {
            logged.push_back(line.text);
        }
    }
    ASSERT_EQ(logged.size(), 3u);
    EXPECT_EQ(logged[2], errors[2].message);
}

// A box without its top face is kept as the file has it (its five lines are written back),
// and the user is told it is open; closed solids of every shape are not reported.
TEST_F(MapReadTest, AnOpenSolidLoadsAsItIsAndIsReportedWithItsLine) {
    const std::string open =
        Replace(BoxSolidText(0, 0, 0, 64, 64, 64),
                "( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 ) GROUND1_6 0 0 0 1.000000 1.000000\n", "");
    const std::string slanted = "{\n"
                                "( 0 0 0 ) ( 64 0 0 ) ( 0 64 0 ) A 0 0 0 1 1\n"
                                "( 0 0 0 ) ( 0 0 64 ) ( 64 0 0 ) A 0 0 0 1 1\n"
                                "( 0 0 0 ) ( 0 64 0 ) ( 0 0 64 ) A 0 0 0 1 1\n"
                                "( 64 0 0 ) ( 0 0 64 ) ( 0 64 0 ) A 0 0 0 1 1\n"
                                "}\n";
    auto world =
        LoadMap(kWorldHead + BoxSolidText(100, 0, 0, 164, 64, 64) + open + slanted + "}\n");
    ASSERT_EQ(world->Children().size(), 3u);
    const ErrorList& errors = lastRead.errors;
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].message,
              "error parsing test.map, line 11: a solid's faces leave it open on some side; it "
              "was loaded as it is and reaches out to the edge of the map");
    EXPECT_EQ(errors[0].objectId, (*std::next(world->Children().begin()))->ObjectId());
    std::string written;
    ASSERT_EQ(WriteMapData(*world, written), 0);
    EXPECT_EQ(std::count(written.begin(), written.end(), '('), 3 * (6 + 5 + 4));
}

TEST_F(MapReadTest, TheErrorReportHoldsTheErrorsOfTheFileJustRead) {
    std::vector<ErrorList> shown;
    context.Context().showMapErrors = [&shown](const ErrorList& errors) {
        shown.push_back(errors);
    };
    const std::string flat = "{\n( 0 0 0 ) ( 1 1 1 ) ( 2 2 2 ) A 0 0 0 1 1\n}\n";
    LoadMap(kWorldHead + flat + "}\n");
    LoadMap(kWorldHead + flat + "}\n");
    prompts.answers = {Prompts::Answer::Yes};
    auto world = std::make_unique<CMapWorld>();
    ReadMapData(*world,
                kWorldHead +
                    Replace(BoxSolidText(0, 0, 0, 8, 8, 8), "1.000000 1.000000\n}", "\n}") + "}\n",
                "second.map", nullptr, &lastRead);
    ASSERT_EQ(shown.size(), 1u);
    ASSERT_EQ(shown[0].size(), 1u);
    EXPECT_EQ(shown[0][0].message,
              "error parsing second.map, line 9: a face line has fewer than 15 fields");
    EXPECT_EQ(lastRead.errors.size(), 1u);
    // The editor-wide list still has everything, the geometry's own records included.
    EXPECT_GE(context.Context().errors.size(), 5u);
}

TEST_F(MapReadTest, ProgressMovesEveryTenthSolid) {
    std::string text = kWorldHead;
    for (int i = 0; i < 25; ++i) {
        text += BoxSolidText(i * 16, 0, 0, i * 16 + 8, 8, 8);
    }
    text += "}\n";
    RecordingProgress progress;
    LoadMap(text, &progress);
    // Once at the start, then at solids 0, 10 and 20.
    ASSERT_EQ(progress.positions.size(), 4u);
    EXPECT_EQ(progress.positions[0], 0);
    EXPECT_TRUE(std::is_sorted(progress.positions.begin(), progress.positions.end()));
    EXPECT_GT(progress.positions[3], 70);
    EXPECT_LE(progress.positions[3], 100);
}

TEST_F(MapReadTest, WhatIsNoMapIsReportedAndNothingBreaks) {
    const std::vector<std::string> texts = {
        "",
        "hello\nworld\n",
        "(\n(\n(\n",
        "\"only\" \"keys\"\n",
        kWorldHead + BoxSolidText(0, 0, 0, 8, 8, 8) + "}\n(garbage after the map\n",
        kWorldHead + "}\n{\n",
        std::string(3000, '{'),
        kWorldHead + "\"unterminated\n}\n",
        kWorldHead + "{\n( nan 0 0 ) ( 1e39 0 0 ) ( inf 0 0 ) A 0 0 0 1 1\n}\n}\n",
    };
    for (const std::string& text : texts) {
        prompts.shown.clear();
        auto world = LoadMap(text);
        EXPECT_TRUE(lastRead.parseErrors) << text.substr(0, 40);
        EXPECT_FALSE(prompts.shown.empty()) << text.substr(0, 40);
    }
}

TEST_F(MapReadTest, EveryCutOfAMapLoadsWithoutHarm) {
    const std::string text = SimpleMap();
    for (std::size_t length = 0; length <= text.size(); ++length) {
        auto world = LoadMap(text.substr(0, length));
        EXPECT_LE(world->Children().size(), 2u);
    }
}

TEST(MapNumbersTest, NumbersReadAsPercentFReadsThemAndOnlyFiniteOnes) {
    struct Case {
        const char* text;
        bool read;
        float value;
        const char* rest;
    };
    const Case cases[] = {
        {"  12 x", true, 12, " x"},
        {"-0)", true, -0.0f, ")"},
        {"+7", true, 7, ""},
        {"1e3 ", true, 1000, " "},
        {"16777217", true, 16777216, ""},
        {"0.1", true, 0.1f, ""},
        {"-2.5e-1", true, -0.25f, ""},
        {"0x10", true, 0, "x10"},
        {"+-7", false, 0, ""},
        {"nan", false, 0, ""},
        {"inf", false, 0, ""},
        {"1e39", false, 0, ""},
        {"-", false, 0, ""},
        {"", false, 0, ""},
    };
    for (const Case& c : cases) {
        std::string_view text = c.text;
        float value = 99;
        EXPECT_EQ(TakeMapFloat(text, value), c.read) << c.text;
        if (c.read) {
            EXPECT_EQ(value, c.value) << c.text;
            EXPECT_EQ(std::signbit(value), std::signbit(c.value)) << c.text;
            EXPECT_EQ(text, c.rest) << c.text;
        } else {
            EXPECT_EQ(text, c.text);
        }
    }
    EXPECT_EQ(ParseMapInteger(" -90x"), -90);
    EXPECT_EQ(ParseMapInteger("99999999999"), 2147483647);
    EXPECT_EQ(ParseMapInteger("-99999999999"), -2147483647 - 1);
    EXPECT_EQ(ParseMapInteger("abc"), 0);
}

TEST(MapNumbersTest, QuickDoubleReadingAgreesWithTheFullOneToTheBit) {
    std::mt19937 random(7);
    const auto digits = [&random](int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += static_cast<char>('0' + random() % 10);
        }
        return text;
    };
    const char* const signs[] = {"", "", "-", "+", " ", "\t-"};
    const char* const ends[] = {"", " 5", ")", " ]", "x", "\t", "\r", ".5", "e3", "e-400", "5"};
    for (int i = 0; i < 20000; ++i) {
        std::string text = signs[random() % std::size(signs)] + digits(random() % 19);
        if (random() % 2) {
            text += "." + digits(random() % 19);
        }
        text += ends[random() % std::size(ends)];
        std::string_view full = text;
        FaceLineText line(text);
        double fullValue = 99;
        double lineValue = 99;
        const bool read = TakeMapDoubleInFull(full, fullValue);
        ASSERT_EQ(line.TakeNumber(lineValue), read) << text;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(lineValue), std::bit_cast<std::uint64_t>(fullValue))
            << text;
        EXPECT_EQ(line.Rest(), read ? full : std::string_view(text)) << text;
    }
}

// Face lines are read from a copy that ends in a NUL; a NUL inside the line, a long line and
// every kind of white space read as they do from the text itself.
TEST(MapNumbersTest, FaceLineTextReadsFieldsAsTheTextGivesThem) {
    const std::string withNul = std::string("( 1 2 3 ) TEX") + '\0' + "X\v 0.5)";
    FaceLineText line(withNul);
    double value = 0;
    EXPECT_TRUE(line.TakeLiteral('('));
    EXPECT_TRUE(line.TakeNumber(value) && value == 1.0);
    EXPECT_TRUE(line.TakeNumber(value) && line.TakeNumber(value) && value == 3.0);
    EXPECT_FALSE(line.TakeLiteral(']'));
    EXPECT_TRUE(line.TakeLiteral(')'));
    EXPECT_EQ(line.TakeWord(), std::string_view(withNul).substr(10, 5));
    EXPECT_TRUE(line.TakeNumber(value) && value == 0.5);
    EXPECT_TRUE(line.TakeLiteral(')'));
    EXPECT_EQ(line.TakeWord(), "");
    EXPECT_FALSE(line.TakeNumber(value));

    // Six zeros after the point are taken at once; anything after them still counts.
    for (const std::string number :
         {"1.000000", "-1.000000 ", "0.000000)", "1.0000001", "1.000000x", "123456789.000000",
          "1234567890.000000", "5.00000"}) {
        FaceLineText quick(number);
        std::string_view full = number;
        double quickValue = 99;
        double fullValue = 99;
        ASSERT_EQ(quick.TakeNumber(quickValue), TakeMapDoubleInFull(full, fullValue)) << number;
        EXPECT_EQ(quickValue, fullValue) << number;
        EXPECT_EQ(quick.Rest(), full) << number;
    }

    const std::string longLine = std::string(400, ' ') + "-12.25\t\r\n\f" + std::string(300, 'A');
    FaceLineText longText(longLine);
    EXPECT_TRUE(longText.TakeNumber(value) && value == -12.25);
    EXPECT_EQ(longText.TakeWord(), std::string(300, 'A'));
    EXPECT_TRUE(longText.Rest().empty());
}

TEST_F(MapReadTest, AKnownClassGivesItsColourAndBox) {
    FakeEntityClasses classes;
    auto& light = classes.Add("light");
    light.color = 0x0000FF;
    light.boxMin = {-4, -4, -4};
    light.boxMax = {4, 4, 4};
    context.Context().entityClasses = &classes;
    auto world = LoadMap(kWorldHead + "}\n{\n\"classname\" \"light\"\n\"origin\" \"0 0 64\"\n}\n");
    auto* entity = static_cast<CMapEntity*>(world->Children().front());
    EXPECT_EQ(entity->GameClass(), &light);
    EXPECT_EQ(entity->GetColor(), 0xFF0000u);
    EXPECT_EQ(entity->Bounds().maxs, (Vector{4, 4, 68}));
}

} // namespace
