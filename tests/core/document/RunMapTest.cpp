#include "document/RunMap.h"
#include "common/EditorContext.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteScript(const fs::path& p, const std::string& body) {
    std::ofstream(p) << "#!/bin/sh\n" << body;
    fs::permissions(p, fs::perms::owner_all);
}

class FakeHost : public RunMapHost {
public:
    std::string path;
    bool modified = false;
    int saves = 0;
    std::vector<std::pair<std::string, bool>> exports;
    std::optional<RunMapSettings> answer;
    std::optional<RunMapSettings> shownWith;
    int optionsShown = 0;
    int processWindowShown = 0;
    std::function<bool()> stop;

    std::string DocumentPath() const override { return path; }
    bool DocumentModified() const override { return modified; }
    bool SaveDocument() override {
        ++saves;
        modified = false;
        return !path.empty();
    }
    bool ExportMap(const std::string& p, bool visibleOnly) override {
        exports.emplace_back(p, visibleOnly);
        std::ofstream(p) << "{\n\"classname\" \"worldspawn\"\n}\n";
        return true;
    }
    std::optional<RunMapSettings> ShowRunMapDialog(const RunMapSettings& initial) override {
        shownWith = initial;
        if (!answer) {
            return std::nullopt;
        }
        RunMapSettings s = *answer;
        s.toolsDirectory = initial.toolsDirectory;
        s.game = initial.game;
        return s;
    }
    void ShowOptions() override { ++optionsShown; }
    void ShowProcessWindow() override { ++processWindowShown; }
    bool StopRequested() override { return stop && stop(); }
};

class RunMapTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    FakeHost host;
    PosixProcessRunner runner;
    ProcessOutput output;
    fs::path root;
    fs::path tools;
    fs::path quake;

    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "runmap-XXXXXX").string();
        root = mkdtemp(pattern.data());
        tools = root / "tools";
        quake = root / "quake";
        fs::create_directories(tools);
        fs::create_directories(quake);
        fs::create_directories(root / "Maps");
        context.Context().SetPrompts(&prompts);
        context.Context().options.textureFiles = {"textures.wad"};
        context.Context().options.quakeDirectory = quake.string() + "/";
        context.Context().Settings().WriteString("Run Map", "Tools Directory", tools.string());
        // qbsp writes the BSP beside the MAP (and a point file), recording its arguments.
        WriteScript(tools / "qbsp",
                    "echo \"$@\" > \"$(dirname \"$0\")/qbsp.args\"\n"
                    "for last; do :; done\n"
                    "printf 'building\\nhalf'; sleep 0.1; printf ' line\\n'\n"
                    "b=\"${last%.map}\"; echo bsp > \"$b.bsp\"; echo pts > \"$b.pts\"\n");
        WriteScript(tools / "light", "echo \"$@\" > \"$(dirname \"$0\")/light.args\"\necho lit\n");
        WriteScript(tools / "vis", "echo \"$@\" > \"$(dirname \"$0\")/vis.args\"\necho vised\n");
        WriteScript(quake / "quake", "echo \"$@\" > game.args\n");
        host.path = (root / "Maps" / "Level1.RMF").string();
        host.answer = RunMapSettings{};
    }
    void TearDown() override { fs::remove_all(root); }

    RunMap::Outcome Run() {
        RunMap run(host, runner, output);
        return run.Run();
    }
    std::string WaitForGameArgs() {
        fs::path p = quake / "game.args";
        for (int i = 0; i < 200 && ReadAll(p).empty(); ++i) {
            usleep(10000);
        }
        return ReadAll(p);
    }
};

TEST_F(RunMapTest, PathsKeepTheirCaseAndMatchExtensionsWithoutIt) {
    auto p = RunMapPaths::FromDocumentPath("/home/u/Maps/Level1.RMF");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->mapPath, "/home/u/Maps/Level1.map");
    EXPECT_EQ(p->bspPath, "/home/u/Maps/Level1.bsp");
    EXPECT_TRUE(p->isRmf);
    p = RunMapPaths::FromDocumentPath("/x.rmf.d/e1m1.Map");
    EXPECT_EQ(p->mapPath, "/x.rmf.d/e1m1.map");
    EXPECT_FALSE(p->isRmf);
    p = RunMapPaths::FromDocumentPath("/x/level.txt");
    EXPECT_EQ(p->bspPath, "/x/level.bsp");
}

TEST_F(RunMapTest, NoTextureFilesOpensTheOptionsAndRunsNothing) {
    context.Context().options.textureFiles.clear();
    EXPECT_EQ(Run(), RunMap::Outcome::NoTextures);
    EXPECT_TRUE(prompts.Showed("There are no texture files defined yet. Add some\ntexture "
                               "files before you run the map."));
    EXPECT_EQ(host.optionsShown, 1);
    EXPECT_FALSE(host.shownWith);
}

TEST_F(RunMapTest, FullRunCompilesCopiesAndStartsTheGame) {
    host.modified = true;
    host.answer->qbsp = RunMapSettings::QbspNormal;
    host.answer->light = RunMapSettings::LightExtra;
    host.answer->vis = RunMapSettings::VisFast;
    host.answer->quakeParms = "-width 800  +skill 2";
    host.answer->visibleOnly = true;
    ASSERT_EQ(Run(), RunMap::Outcome::Finished) << output.Text();

    EXPECT_EQ(host.saves, 1); // a modified RMF document is saved first
    ASSERT_EQ(host.exports.size(), 1u);
    std::string map = (root / "Maps" / "Level1.map").string();
    std::string bsp = (root / "Maps" / "Level1.bsp").string();
    EXPECT_EQ(host.exports[0], std::make_pair(map, true));
    EXPECT_EQ(ReadAll(tools / "qbsp.args"), map + "\n");
    EXPECT_EQ(ReadAll(tools / "light.args"), "-extra " + bsp + "\n");
    EXPECT_EQ(ReadAll(tools / "vis.args"), "-fast " + bsp + "\n");
    EXPECT_TRUE(fs::exists(quake / "id1" / "maps" / "Level1.bsp"));
    EXPECT_TRUE(fs::exists(quake / "Level1.pts"));
    EXPECT_EQ(WaitForGameArgs(), "+map \"Level1\" -width 800 +skill 2\n");

    EXPECT_EQ(output.Text(), "* Executing QBSP...\r\n\r\nbuilding\r\nhalf line\r\n"
                             "\r\n* Executing LIGHT...\r\n\r\nlit\r\n"
                             "\r\n* Executing VIS...\r\n\r\nvised\r\n");
    EXPECT_EQ(output.CharacterCount(), output.Text().size());
    // Settings are kept for the next run.
    EXPECT_EQ(context.Context().Settings().GetInt("Run Map", "Light", -1), 2);
    EXPECT_EQ(context.Context().Settings().GetString("Run Map", "Quake Parms", ""),
              "-width 800  +skill 2");
}

TEST_F(RunMapTest, QbspRunsAnywayWhenThereIsNoBspAndAnUnchangedRmfIsNotSavedAgain) {
    host.answer->qbsp = RunMapSettings::QbspNo;
    host.answer->noQuake = true;
    ASSERT_EQ(Run(), RunMap::Outcome::Finished) << output.Text();
    EXPECT_EQ(host.shownWith->qbsp, RunMapSettings::QbspNormal); // preselected
    EXPECT_EQ(host.saves, 0);
    EXPECT_EQ(host.exports.size(), 1u);
    EXPECT_TRUE(fs::exists(tools / "qbsp.args"));
    // "Don't run Quake" still copies the BSP.
    EXPECT_TRUE(fs::exists(quake / "id1" / "maps" / "Level1.bsp"));
    usleep(100000);
    EXPECT_FALSE(fs::exists(quake / "game.args"));
}

TEST_F(RunMapTest, EntitiesOnlyPassesTheOptionFirst) {
    host.answer->qbsp = RunMapSettings::QbspEntitiesOnly;
    host.answer->noQuake = true;
    ASSERT_EQ(Run(), RunMap::Outcome::Finished);
    std::string map = (root / "Maps" / "Level1.map").string();
    EXPECT_EQ(ReadAll(tools / "qbsp.args"), "-onlyents " + map + "\n");
    EXPECT_EQ(RunMap::CommandLineText("qbsp", {"-onlyents", map}),
              "qbsp -onlyents \"" + map + "\" ");
}

TEST_F(RunMapTest, AMissingToolIsReportedAndOnlyQbspStopsTheRun) {
    fs::remove(tools / "light");
    host.answer->qbsp = RunMapSettings::QbspNormal;
    host.answer->light = RunMapSettings::LightNormal;
    host.answer->noQuake = true;
    // "light" must not be found on PATH either.
    std::string oldPath = std::getenv("PATH");
    setenv("PATH", tools.string().c_str(), 1);
    RunMap::Outcome outcome = Run();
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(outcome, RunMap::Outcome::Finished);
    std::string bsp = (root / "Maps" / "Level1.bsp").string();
    EXPECT_NE(output.Text().find("* Could not execute the command:\r\n   light \"" + bsp +
                                 "\" \r\n* Linux gave the error message:\r\n"
                                 "   \"No such file or directory\"\r\n"),
              std::string::npos)
        << output.Text();

    fs::remove(tools / "qbsp");
    fs::remove(root / "Maps" / "Level1.bsp");
    setenv("PATH", tools.string().c_str(), 1);
    outcome = Run();
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(outcome, RunMap::Outcome::QbspNotStarted);
}

TEST_F(RunMapTest, QbspThatBuildsNothingStopsTheRun) {
    WriteScript(tools / "qbsp", "echo leak\n");
    host.answer->qbsp = RunMapSettings::QbspNormal;
    host.answer->light = RunMapSettings::LightNormal;
    EXPECT_EQ(Run(), RunMap::Outcome::NoBsp);
    EXPECT_EQ(output.Text(), "* Executing QBSP...\r\n\r\nleak\r\n"
                             "\r\n\r\n* QBSP did not build the BSP file - can't continue.");
    EXPECT_FALSE(fs::exists(tools / "light.args"));
}

TEST_F(RunMapTest, ABspThatCannotBeCopiedIsReportedAndTheGameNotStarted) {
    fs::create_directories(quake / "id1");
    std::ofstream(quake / "id1" / "maps") << "a file where the folder should be";
    host.answer->qbsp = RunMapSettings::QbspNormal;
    EXPECT_EQ(Run(), RunMap::Outcome::CopyFailed);
    std::string bsp = (root / "Maps" / "Level1.bsp").string();
    std::string target = (quake / "id1" / "maps" / "Level1.bsp").string();
    EXPECT_NE(output.Text().find("\r\nI couldn't copy " + bsp + " to\r\n" + target + "  ("),
              std::string::npos)
        << output.Text();
    usleep(100000);
    EXPECT_FALSE(fs::exists(quake / "game.args"));
}

TEST_F(RunMapTest, CancellingTheDialogOrAnUntitledDocumentRunsNothing) {
    host.answer.reset();
    EXPECT_EQ(Run(), RunMap::Outcome::Cancelled);
    host.path.clear();
    EXPECT_EQ(Run(), RunMap::Outcome::NotSaved);
    EXPECT_EQ(host.saves, 1);
    EXPECT_FALSE(fs::exists(tools / "qbsp.args"));
}

TEST(ProcessOutputTest, LineFeedsBecomeCrLfOnce) {
    ProcessOutput out;
    std::string seen;
    out.SetObserver([&](const std::string& s) { seen += s; });
    out.Append("a\nb\r\nc\r");
    out.Append("\nd\n");
    EXPECT_EQ(out.Text(), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(seen, out.Text());
    out.Print("%s %d\n", "x", 5);
    EXPECT_EQ(out.CharacterCount(), out.Text().size());
    out.Clear();
    EXPECT_EQ(out.CharacterCount(), 0u);
}

TEST(RunMapSplitTest, ParametersSplitAtBlanks) {
    EXPECT_EQ(RunMap::SplitParameters(" -a 1  +b 2 "),
              (std::vector<std::string>{"-a", "1", "+b", "2"}));
    EXPECT_TRUE(RunMap::SplitParameters("   ").empty());
}

} // namespace

TEST_F(RunMapTest, StopEndsTheRunningToolAndSkipsTheRest) {
    WriteScript(tools / "qbsp", "while true; do echo tick; sleep 0.05; done\n");
    host.answer->qbsp = RunMapSettings::QbspNormal;
    host.answer->light = RunMapSettings::LightNormal;
    host.stop = [this] { return output.Text().find("tick") != std::string::npos; };
    EXPECT_EQ(Run(), RunMap::Outcome::Stopped);
    EXPECT_NE(output.Text().find("* Stopped by the user."), std::string::npos);
    EXPECT_EQ(output.Text().find("LIGHT"), std::string::npos);
    EXPECT_FALSE(fs::exists(tools / "light.args"));
}
