#include "document/RunMap.h"
#include "session/EditorContext.h"
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
    std::vector<std::string> pointfiles;
    std::optional<RunMapPaths> shownPaths;

    bool ExportMap(const std::string& p, bool visibleOnly, const std::string& header) override {
        exports.emplace_back(p, visibleOnly);
        std::ofstream(p) << header << "\n{\n\"classname\" \"worldspawn\"\n}\n";
        return true;
    }
    void LoadPointfile(const std::string& p) override { pointfiles.push_back(p); }
    std::optional<RunMapSettings> ShowRunMapDialog(const RunMapSettings& initial,
                                                   const RunMapPaths& paths) override {
        shownWith = initial;
        shownPaths = paths;
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
        WriteScript(tools / "qbsp", "echo \"$@\" > \"$(dirname \"$0\")/qbsp.args\"\n"
                                    "for last; do :; done\n"
                                    "printf 'building\\nhalf'; sleep 0.1; printf ' line\\n'\n"
                                    "b=\"${last%.map}\"; echo bsp > \"$b.bsp\"\n"
                                    "pwd > \"$(dirname \"$0\")/qbsp.cwd\"\n");
        WriteScript(tools / "light", "echo \"$@\" > \"$(dirname \"$0\")/light.args\"\necho lit\n");
        WriteScript(tools / "vis", "echo \"$@\" > \"$(dirname \"$0\")/vis.args\"\necho vised\n");
        WriteScript(quake / "quake", "echo \"$@\" > game.args\n");
        host.path = (root / "Maps" / "Level1.RMF").string();
        host.answer = RunMapSettings{};
    }
    void TearDown() override { fs::remove_all(root); }

    std::string summary;
    RunMap::Outcome Run() {
        RunMap run(host, runner, output);
        const RunMap::Outcome outcome = run.Run();
        summary = run.Summary();
        return outcome;
    }
    const std::string& RunMapSummary() const { return summary; }
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
    EXPECT_EQ(host.shownPaths->mapPath, map);
    EXPECT_EQ(host.exports[0], std::make_pair(map, true));
    EXPECT_TRUE(RunMap::IsCompileFile(map));
    EXPECT_EQ(ReadAll(tools / "qbsp.args"), map + "\n");
    // The tools run in the map's folder, where its relative WAD paths hold.
    EXPECT_EQ(ReadAll(tools / "qbsp.cwd"), (root / "Maps").string() + "\n");
    EXPECT_EQ(ReadAll(tools / "light.args"), "-extra " + bsp + "\n");
    EXPECT_EQ(ReadAll(tools / "vis.args"), "-fast " + bsp + "\n");
    EXPECT_TRUE(fs::exists(quake / "id1" / "maps" / "Level1.bsp"));
    // An argument vector: no quotes around the name, the game's folder given.
    EXPECT_EQ(WaitForGameArgs(),
              "-basedir " + quake.string() + " +map Level1 -width 800 +skill 2\n");

    const std::string text = output.Text();
    EXPECT_EQ(text.rfind("* Executing QBSP...\r\n\r\nbuilding\r\nhalf line\r\n"
                         "\r\n* Executing LIGHT...\r\n\r\nlit\r\n"
                         "\r\n* Executing VIS...\r\n\r\nvised\r\n",
                         0),
              0u)
        << text;
    EXPECT_EQ(output.CharacterCount(), output.Text().size());
    // One summary line, in the process window and in the message window.
    const std::string& summary = RunMapSummary();
    EXPECT_TRUE(summary.starts_with("Level1: qbsp ")) << summary;
    EXPECT_NE(summary.find(" s, light "), std::string::npos) << summary;
    EXPECT_NE(summary.find("; no leak; quake started"), std::string::npos) << summary;
    EXPECT_NE(text.find("* " + summary + "\r\n"), std::string::npos);
    EXPECT_EQ(context.Context().messages.Lines().back().text, summary);
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

TEST_F(RunMapTest, AMissingOrFailingToolStopsTheRunAndTheSummarySaysSo) {
    host.answer->qbsp = RunMapSettings::QbspNormal;
    host.answer->light = RunMapSettings::LightNormal;
    host.answer->vis = RunMapSettings::VisFast;
    const std::string oldPath = std::getenv("PATH");
    setenv("PATH", tools.string().c_str(), 1); // nothing found beyond the tools folder

    // light fails: vis and the game do not run.
    WriteScript(tools / "light", "echo 'no BSP lumps'\nexit 3\n");
    EXPECT_EQ(Run(), RunMap::Outcome::ToolFailed);
    EXPECT_NE(output.Text().find("* light failed (exit status 3) - the run stops."),
              std::string::npos)
        << output.Text();
    EXPECT_FALSE(fs::exists(tools / "vis.args"));
    EXPECT_FALSE(fs::exists(quake / "id1" / "maps" / "Level1.bsp"));
    EXPECT_TRUE(RunMapSummary().starts_with("Level1: qbsp ")) << RunMapSummary();
    EXPECT_TRUE(RunMapSummary().ends_with(", light failed (exit status 3)")) << RunMapSummary();
    EXPECT_EQ(context.Context().messages.Lines().back().text, RunMapSummary());

    // light missing while chosen: the same stop, with where it was looked for.
    fs::remove(tools / "light");
    EXPECT_EQ(Run(), RunMap::Outcome::ToolFailed);
    EXPECT_NE(output.Text().find("* light was not found (looked in " + tools.string()),
              std::string::npos)
        << output.Text();
    EXPECT_TRUE(RunMapSummary().ends_with(", light not found")) << RunMapSummary();
    EXPECT_FALSE(fs::exists(tools / "vis.args"));

    // light missing and off: skipped, and the summary says why; vis and the rest run.
    host.answer->light = RunMapSettings::LightNo;
    host.answer->noQuake = true;
    EXPECT_EQ(Run(), RunMap::Outcome::Finished) << output.Text();
    EXPECT_NE(RunMapSummary().find(", light skipped (not found), vis "), std::string::npos)
        << RunMapSummary();
    EXPECT_TRUE(RunMapSummary().ends_with("; no leak")) << RunMapSummary();

    // qbsp failing stops before anything else.
    WriteScript(tools / "qbsp", "echo 'unable to find texture'\nexit 1\n");
    fs::remove(tools / "vis.args");
    EXPECT_EQ(Run(), RunMap::Outcome::ToolFailed);
    EXPECT_FALSE(fs::exists(tools / "vis.args"));
    fs::remove(tools / "qbsp");
    EXPECT_EQ(Run(), RunMap::Outcome::QbspNotStarted);
    EXPECT_EQ(RunMapSummary(), "Level1: qbsp not found");
    setenv("PATH", oldPath.c_str(), 1);
}

TEST_F(RunMapTest, ALeakShowsThePointfileAndNothingAfterQbspRuns) {
    WriteScript(tools / "qbsp", "for last; do :; done\nb=\"${last%.map}\"\n"
                                "echo '*** MAP HAS A LEAK ***'; echo bsp > \"$b.bsp\"\n"
                                "printf '0 0 0\\n64 0 0\\n128 0 0\\n' > \"$b.pts\"\n");
    host.answer->qbsp = RunMapSettings::QbspNormal;
    host.answer->light = RunMapSettings::LightNormal;
    EXPECT_EQ(Run(), RunMap::Outcome::Leak);
    const std::string pts = (root / "Maps" / "Level1.pts").string();
    EXPECT_EQ(host.pointfiles, std::vector<std::string>{pts});
    EXPECT_FALSE(fs::exists(tools / "light.args"));
    EXPECT_EQ(RunMapSummary(), "Level1: qbsp found a leak; see the pointfile");
    usleep(100000);
    EXPECT_FALSE(fs::exists(quake / "game.args"));

    // The leak mended: the pointfile of the last run does not count as a new leak.
    WriteScript(tools / "qbsp", "for last; do :; done\necho bsp > \"${last%.map}.bsp\"\n");
    host.answer->noQuake = true;
    EXPECT_EQ(Run(), RunMap::Outcome::Finished) << output.Text();
    EXPECT_EQ(host.pointfiles.size(), 1u);
}

TEST_F(RunMapTest, TheCompileFileIsNeverTheDesignersOwn) {
    host.answer->qbsp = RunMapSettings::QbspNormal;
    host.answer->noQuake = true;
    // A map opened from its .map file, and an exported Level2.map beside Level2.rmf.
    const fs::path own = root / "Maps" / "E1M1.map";
    std::ofstream(own) << "{\n\"wad\" \"gfx/base.wad\"\n\"classname\" \"worldspawn\"\n}\n";
    const std::string original = ReadAll(own);
    host.path = own.string();
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(Run(), RunMap::Outcome::Finished) << output.Text();
        EXPECT_EQ(host.exports.back().first, (root / "Maps" / "E1M1_compile.map").string());
        EXPECT_EQ(ReadAll(own), original);
    }
    EXPECT_TRUE(fs::exists(quake / "id1" / "maps" / "E1M1.bsp")); // under the map's name
    EXPECT_FALSE(fs::exists(root / "Maps" / "E1M1.bsp"));

    const fs::path exported = root / "Maps" / "Level2.map";
    std::ofstream(exported) << "// the designer's export\n";
    host.path = (root / "Maps" / "Level2.rmf").string();
    ASSERT_EQ(Run(), RunMap::Outcome::Finished);
    EXPECT_EQ(ReadAll(exported), "// the designer's export\n");
    EXPECT_EQ(host.exports.back().first, (root / "Maps" / "Level2_compile.map").string());
    // A file a run wrote is written again by the next.
    EXPECT_EQ(RunMapPaths::ForCompile((root / "Maps" / "Level1.rmf").string())->mapPath,
              (root / "Maps" / "Level1.map").string());
    std::ofstream(root / "Maps" / "Level1.map") << RunMap::kCompileHeader << "\n{\n}\n";
    EXPECT_EQ(RunMapPaths::ForCompile((root / "Maps" / "Level1.rmf").string())->mapPath,
              (root / "Maps" / "Level1.map").string());
}

TEST_F(RunMapTest, WithoutAGameNamedAnEngineOnPathIsStarted) {
    fs::remove(quake / "quake");
    const fs::path bin = root / "bin";
    fs::create_directories(bin);
    WriteScript(bin / "darkplaces", "echo \"$@\" > \"" + (quake / "game.args").string() + "\"\n");
    const std::string oldPath = std::getenv("PATH");
    setenv("PATH", bin.string().c_str(), 1);
    host.answer->qbsp = RunMapSettings::QbspNormal;
    const RunMap::Outcome outcome = Run();
    const std::string args = WaitForGameArgs();
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(outcome, RunMap::Outcome::Finished) << output.Text();
    EXPECT_EQ(args, "-basedir " + quake.string() + " +map Level1\n");
    EXPECT_TRUE(RunMapSummary().ends_with("; darkplaces started")) << RunMapSummary();
}

TEST_F(RunMapTest, QbspThatBuildsNothingStopsTheRun) {
    WriteScript(tools / "qbsp", "echo nothing\n");
    host.answer->qbsp = RunMapSettings::QbspNormal;
    host.answer->light = RunMapSettings::LightNormal;
    // An old BSP from an earlier run does not pass for this run's.
    std::ofstream(root / "Maps" / "Level1.bsp") << "old";
    EXPECT_EQ(Run(), RunMap::Outcome::NoBsp);
    EXPECT_EQ(output.Text().rfind("* Executing QBSP...\r\n\r\nnothing\r\n"
                                  "\r\n\r\n* QBSP did not build the BSP file - can't continue.",
                                  0),
              0u);
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
    out.SetObserver([&](const std::string& s, bool) { seen += s; });
    out.Append("a\nb\r\nc\r");
    out.Append("\nd\n");
    EXPECT_EQ(out.Text(), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(seen, out.Text());
    out.Print("%s %d\n", "x", 5);
    EXPECT_EQ(out.CharacterCount(), out.Text().size());
    out.Clear();
    EXPECT_EQ(out.CharacterCount(), 0u);
}

TEST(ProcessOutputTest, ACarriageReturnWritesTheLineAnew) {
    ProcessOutput out;
    std::string window;
    out.SetObserver([&](const std::string& text, bool replaceLine) {
        if (replaceLine) {
            window.erase(window.rfind('\n') == std::string::npos ? 0 : window.rfind('\n') + 1);
        }
        window += text;
    });
    out.Append("Portal flow\n 10%\r 20%");
    out.Append("\r 30%\r");
    out.Append("\n done\r\n");
    EXPECT_EQ(out.Text(), "Portal flow\r\n 30%\r\n done\r\n");
    EXPECT_EQ(window, out.Text());
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
