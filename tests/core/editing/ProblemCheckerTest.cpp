#include "EditingTestSupport.h"

#include "common/ToolId.h"
#include "document/MapFiles.h"
#include "editing/MapCheckCommand.h"
#include "editing/ProblemChecker.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

class ProblemCheckerTest : public EditingTest {
protected:
    CMapEntity* AddEntity(const std::string& className, const std::string& key = {},
                          const std::string& value = {}) {
        CMapEntity* entity = Add(MakePointEntity(className, {0, 0, 0}));
        if (!key.empty()) {
            entity->SetKeyValue(key, value);
        }
        return entity;
    }
};

TEST_F(ProblemCheckerTest, TextsAreTheDialogsOwn) {
    EXPECT_STREQ(ProblemShortText(0), "There is no player start.");
    EXPECT_STREQ(ProblemShortText(1), "Mixed face contents");
    EXPECT_STREQ(ProblemShortText(2), "Solid contains duplicate planes");
    EXPECT_STREQ(ProblemShortText(3), "Unmatched 'target' field");
    EXPECT_STREQ(ProblemDescription(1),
                 "The solid has a mixed face content. That is, some of its faces are "
                 "\"non-solid\" - water, sky, sludge, and so on - and some of them are "
                 "\"solid.\" QBSP symptom: \"Mixed face contents in leafnode\"");
    EXPECT_STREQ(ProblemDescription(2),
                 "The solid contains duplicate planes. It needs to be rebuilt.");
    EXPECT_STREQ(ProblemShortText(4), "");
}

TEST_F(ProblemCheckerTest, AnEmptyMapLacksOnlyThePlayerStart) {
    std::vector<Problem> problems = CheckForProblems(World());
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].code, PROBLEM_NO_PLAYER_START);
    EXPECT_EQ(problems[0].object, nullptr);
    // A solid entity of that class does not count; a point entity in any letter case does.
    auto* solidStart = Add(new CMapEntity);
    solidStart->SetClass("info_player_start");
    solidStart->AddChild(MakeBox({0, 0, 0}, {64, 64, 64}));
    EXPECT_EQ(CheckForProblems(World()).size(), 1u);
    AddEntity("INFO_PLAYER_START");
    EXPECT_TRUE(CheckForProblems(World()).empty());
}

TEST_F(ProblemCheckerTest, ChecksRunInOrderAndReportEachSolidOnce) {
    AddEntity("info_player_start");
    CMapSolid* mixed = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    mixed->SetTexture("*water1", 0);
    mixed->SetTexture("*water1", 1);
    CMapSolid* lava = Add(MakeBox({100, 0, 0}, {164, 64, 64}, "*lava1"));
    CMapSolid* sky = Add(MakeBox({200, 0, 0}, {264, 64, 64}));
    sky->SetTexture("sky4", 2);
    CMapSolid* duplicated = Add(MakeBox({300, 0, 0}, {364, 64, 64}));
    duplicated->AddFace(duplicated->Face(0));
    duplicated->AddFace(duplicated->Face(1));
    duplicated->AddFace(duplicated->Face(1));
    CMapEntity* door1 = AddEntity("trigger_once", "target", "door1");
    CMapEntity* door2 = AddEntity("trigger_once", "target", "door1");
    CMapEntity* named = AddEntity("func_door", "targetname", "DOOR1");
    CMapEntity* lost = AddEntity("trigger_once", "target", "nowhere");
    (void)lava;

    std::vector<Problem> problems = CheckForProblems(World());
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].code, PROBLEM_MIXED_FACE_CONTENTS);
    EXPECT_EQ(problems[0].object, mixed);
    EXPECT_EQ(problems[1].code, PROBLEM_UNMATCHED_TARGET);
    EXPECT_EQ(problems[1].object, lost);
    EXPECT_EQ(problems[2].code, PROBLEM_DUPLICATE_PLANES);
    EXPECT_EQ(problems[2].object, duplicated);
    for (const Problem& problem : problems) {
        EXPECT_EQ(problem.value, 0);
    }

    World().RemoveChild(named);
    problems = CheckForProblems(World());
    std::vector<CMapClass*> unmatched;
    for (const Problem& problem : problems) {
        if (problem.code == PROBLEM_UNMATCHED_TARGET) {
            unmatched.push_back(problem.object);
        }
    }
    EXPECT_EQ(unmatched, (std::vector<CMapClass*>{door1, door2, lost}));
    delete named;
}

TEST_F(ProblemCheckerTest, SelectingEntriesAndGoingToTheError) {
    CMapSolid* mixed = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    mixed->SetTexture("*slime", 3);
    CMapSolid* other = Add(MakeBox({500, 0, 0}, {564, 64, 64}));
    frame.tool = TOOL_BLOCK;
    ProblemCheck check(*doc);
    ASSERT_TRUE(check.Run());
    ASSERT_EQ(check.Problems().size(), 2u);

    Select({other});
    EXPECT_EQ(check.SelectEntry(1), ProblemDescription(1));
    EXPECT_EQ(doc->SelectedObjects(), std::vector<CMapClass*>{mixed});
    EXPECT_TRUE(check.CanGoTo(1));

    EXPECT_EQ(check.SelectEntry(0), ProblemDescription(0));
    EXPECT_TRUE(doc->SelectedObjects().empty());
    EXPECT_FALSE(check.CanGoTo(0));

    top.handleCodes.clear();
    check.GoToError(1);
    EXPECT_EQ(frame.tool, TOOL_SELECTION);
    EXPECT_EQ(top.handleCodes.front(), 3);
    EXPECT_EQ(doc->SelectedObjects(), std::vector<CMapClass*>{mixed});
    EXPECT_EQ(top.centeredOn, Vector(32, 32, 32));
    EXPECT_EQ(view3d.centeredOn, Vector(99999, 99999, 99999));
    EXPECT_TRUE(prompts.shown.empty());

    AddEntity("info_player_start");
    mixed->SetTexture("*slime");
    EXPECT_FALSE(check.Run());
    EXPECT_TRUE(check.Problems().empty());
    EXPECT_TRUE(prompts.Showed("No errors were found."));
}

class MapCheckCommandTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    std::string path;

    void SetUp() override {
        context.Context().SetPrompts(&prompts);
        path = ::testing::TempDir() + "check_" + std::to_string(getpid()) + ".map";
    }
    void TearDown() override { std::remove(path.c_str()); }

    int Check(std::string& out, std::string& err) { return CheckFile(path, out, err); }
    static int CheckFile(const std::string& file, std::string& out, std::string& err) {
        std::ostringstream o, e;
        const int code = RunMapCheck(file.c_str(), o, e);
        out = o.str();
        err = e.str();
        return code;
    }
};

TEST_F(MapCheckCommandTest, PrintsOneLinePerProblemAndExitsByTheResult) {
    std::ofstream(path) << "{\n\"classname\" \"worldspawn\"\n{\n"
                           "( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 ) *water1 0 0 0 1 1\n"
                           "( 0 64 0 ) ( 0 0 0 ) ( 64 0 0 ) wall 0 0 0 1 1\n"
                           "( 0 0 0 ) ( 0 64 0 ) ( 0 64 64 ) wall 0 0 0 1 1\n"
                           "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) wall 0 0 0 1 1\n"
                           "( 64 0 0 ) ( 0 0 0 ) ( 0 0 64 ) wall 0 0 0 1 1\n"
                           "( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall 0 0 0 1 1\n"
                           "}\n}\n"
                           "{\n\"classname\" \"trigger_relay\"\n\"target\" \"t1\"\n"
                           "\"origin\" \"0 0 0\"\n}\n";
    std::string out, err;
    EXPECT_EQ(Check(out, err), MAP_CHECK_PROBLEMS);
    EXPECT_EQ(out, "There is no player start.\n"
                   "Mixed face contents: solid with 6 faces\n"
                   "Unmatched 'target' field: trigger_relay\n");

    std::ofstream(path) << "{\n\"classname\" \"worldspawn\"\n}\n"
                           "{\n\"classname\" \"info_player_start\"\n\"origin\" \"0 0 24\"\n}\n";
    EXPECT_EQ(Check(out, err), MAP_CHECK_CLEAN);
    EXPECT_EQ(out, "");
}

TEST_F(MapCheckCommandTest, AFileThatCannotBeReadGivesAMessageAndItsOwnExitCode) {
    std::string out, err;
    EXPECT_EQ(Check(out, err), MAP_CHECK_UNREADABLE);
    EXPECT_NE(err.find(path), std::string::npos);
    EXPECT_EQ(out, "");
    std::ostringstream o, e;
    EXPECT_EQ(RunMapCheck(nullptr, o, e), MAP_CHECK_UNREADABLE);
    EXPECT_FALSE(e.str().empty());
}

TEST_F(MapCheckCommandTest, EveryCorpusMapGivesAnAnswerThatFitsItsExitCode) {
    const std::filesystem::path dir = std::filesystem::path(BRICKHAVEN_CORPUS_DIR) / "maps";
    if (!std::filesystem::is_directory(dir)) {
        GTEST_SKIP() << "no corpus maps in " << dir;
    }
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".map") {
            continue;
        }
        std::string out, err;
        const int code = CheckFile(entry.path().string(), out, err);
        ++checked;
        if (code == MAP_CHECK_UNREADABLE) {
            EXPECT_FALSE(err.empty()) << entry.path();
        } else {
            EXPECT_EQ(code == MAP_CHECK_PROBLEMS, !out.empty()) << entry.path();
        }
    }
    EXPECT_GT(checked, 0);
}

} // namespace
