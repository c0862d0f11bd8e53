#include "platform/AtomicFileWriter.h"
#include "platform/FileText.h"
#include "platform/MemoryLoad.h"
#include "platform/ProcessRunner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "brickhaven-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path); }
    fs::path path;
};

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteScript(const fs::path& p, const std::string& body) {
    std::ofstream(p) << "#!/bin/sh\n" << body;
    fs::permissions(p, fs::perms::owner_all);
}

TEST(AtomicFileWriterTest, ReplacesOnlyOnCommitAndLeavesNoTemporaryFiles) {
    TempDir dir;
    fs::path target = dir.path / "map.rmf";
    std::ofstream(target) << "old";
    {
        AtomicFileWriter writer;
        ASSERT_TRUE(writer.Open(target.string()));
        writer.Write(std::string("new content"));
        EXPECT_EQ(ReadAll(target), "old"); // untouched until committed
        // Destroyed without Commit: the old file stays.
    }
    EXPECT_EQ(ReadAll(target), "old");
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(target.string()));
    writer.Write(std::string("new content"));
    ASSERT_TRUE(writer.Commit()) << writer.Error();
    EXPECT_EQ(ReadAll(target), "new content");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST(AtomicFileWriterTest, FailsCleanlyInAFolderThatCannotBeWritten) {
    TempDir dir;
    AtomicFileWriter writer;
    EXPECT_FALSE(writer.Open((dir.path / "missing" / "x.map").string()));
    EXPECT_FALSE(writer.Error().empty());
    EXPECT_FALSE(writer.Commit());
}

TEST(AtomicFileWriterTest, KeepsTheTargetsPermissions) {
    TempDir dir;
    fs::path target = dir.path / "a.map";
    std::ofstream(target) << "x";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(target.string()));
    writer.Write(std::string("y"));
    ASSERT_TRUE(writer.Commit());
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// Files from a megabyte on are read in two halves at once; every byte must land in place, at
// sizes around the halves' page rounding and the room's large-page rounding.
TEST(FileTextTest, ReadsSmallAndLargeFilesWhole) {
    TempDir dir;
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{5000}, std::size_t{1} << 20, (std::size_t{3} << 20) + 4097,
          (std::size_t{4} << 20) - 1, std::size_t{4} << 20}) {
        std::string content(size, '\0');
        for (std::size_t i = 0; i < size; ++i) {
            content[i] = static_cast<char>('a' + (i * 7 + i / 4096) % 26);
        }
        const fs::path file = dir.path / ("text" + std::to_string(size));
        std::ofstream(file, std::ios::binary) << content;
        FileText text;
        std::string error;
        ASSERT_TRUE(text.Read(file.string(), error)) << size << " " << error;
        EXPECT_TRUE(text.Text() == content) << size;
    }
    FileText missing;
    std::string error;
    EXPECT_FALSE(missing.Read((dir.path / "missing").string(), error));
    EXPECT_FALSE(error.empty());
}

TEST(MemoryLoadTest, ComputesLoadFromMeminfoText) {
    EXPECT_EQ(MemoryLoadFromMeminfo("MemTotal: 1000 kB\nMemFree: 10 kB\nMemAvailable: 150 kB\n"),
              85);
    EXPECT_EQ(MemoryLoadFromMeminfo("MemTotal: 1000 kB\n"), std::nullopt);
    EXPECT_EQ(MemoryLoadFromMeminfo("garbage"), std::nullopt);
    EXPECT_EQ(MemoryLoadFromMeminfo("MemTotal: 0 kB\nMemAvailable: 0 kB\n"), std::nullopt);
    auto real = MemoryLoadPercent();
    ASSERT_TRUE(real.has_value());
    EXPECT_GE(*real, 0);
    EXPECT_LE(*real, 100);
}

TEST(ProcessRunnerTest, StreamsOutputAndPassesArgumentsWithoutAShell) {
    TempDir dir;
    fs::path tool = dir.path / "tool";
    WriteScript(tool, "for a in \"$@\"; do echo \"[$a]\"; done\necho err >&2\nexit 3\n");
    PosixProcessRunner runner;
    std::string out;
    auto result = runner.Run(
        tool.string(), {"a b", "$HOME", "\"q\""}, "", [&](std::string_view chunk) { out += chunk; },
        nullptr);
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(out, "[a b]\n[$HOME]\n[\"q\"]\nerr\n");
}

TEST(ProcessRunnerTest, RunsInTheWorkingDirectoryAndReadsNoInput) {
    TempDir dir;
    fs::path tool = dir.path / "tool";
    WriteScript(tool, "pwd\ncat\necho done\n");
    PosixProcessRunner runner;
    std::string out;
    auto result = runner.Run(
        tool.string(), {}, dir.path.string(), [&](std::string_view chunk) { out += chunk; },
        nullptr);
    EXPECT_TRUE(result.started);
    EXPECT_EQ(out, fs::canonical(dir.path).string() + "\ndone\n");
}

TEST(ProcessRunnerTest, AMissingProgramReportsTheSystemError) {
    PosixProcessRunner runner;
    auto result = runner.Run("/nonexistent/qbsp", {}, "", nullptr, nullptr);
    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.error, "No such file or directory");
    auto detached = runner.StartDetached("/nonexistent/quake", {"+map"}, "");
    EXPECT_FALSE(detached.started);
    EXPECT_EQ(detached.error, "No such file or directory");
}

TEST(ProcessRunnerTest, ARunningToolCanBeStopped) {
    TempDir dir;
    fs::path tool = dir.path / "tool";
    WriteScript(tool, "echo started\nsleep 30\necho never\n");
    PosixProcessRunner runner;
    std::string out;
    auto begin = std::chrono::steady_clock::now();
    auto result = runner.Run(
        tool.string(), {}, "", [&](std::string_view chunk) { out += chunk; },
        [&] { return out.find("started") != std::string::npos; });
    auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    EXPECT_TRUE(result.stopped);
    EXPECT_LT(seconds, 5.0);
    EXPECT_EQ(out, "started\n");
}

TEST(ProcessRunnerTest, AToolThatLeavesAChildRunningDoesNotHoldTheEditor) {
    TempDir dir;
    fs::path tool = dir.path / "tool";
    WriteScript(tool, "sleep 20 &\necho bye\n");
    PosixProcessRunner runner;
    std::string out;
    auto begin = std::chrono::steady_clock::now();
    auto result = runner.Run(
        tool.string(), {}, "", [&](std::string_view chunk) { out += chunk; }, nullptr);
    auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    EXPECT_TRUE(result.started);
    EXPECT_LT(seconds, 5.0);
    EXPECT_EQ(out, "bye\n");
}

TEST(ProcessRunnerTest, DetachedStartRunsInItsFolder) {
    TempDir dir;
    fs::path game = dir.path / "game";
    WriteScript(game, "echo \"$@\" > started.txt\n");
    PosixProcessRunner runner;
    auto result = runner.StartDetached(game.string(), {"+map", "\"e1m1\""}, dir.path.string());
    ASSERT_TRUE(result.started) << result.error;
    fs::path marker = dir.path / "started.txt";
    for (int i = 0; i < 100 && ReadAll(marker).empty(); ++i) {
        usleep(20000);
    }
    EXPECT_EQ(ReadAll(marker), "+map \"e1m1\"\n");
}

TEST(ProcessRunnerTest, FindExecutableSearchesGivenFoldersThenPath) {
    TempDir dir;
    fs::path tool = dir.path / "qbsp";
    WriteScript(tool, "true\n");
    EXPECT_EQ(FindExecutable("qbsp", {dir.path.string()}), tool.string());
    std::string sh = FindExecutable("sh", {});
    ASSERT_GE(sh.size(), 3u);
    EXPECT_EQ(sh.substr(sh.size() - 3), "/sh");
    EXPECT_EQ(FindExecutable("no-such-tool-here", {dir.path.string()}), "");
    std::ofstream(dir.path / "plain") << "x";
    EXPECT_EQ(FindExecutable("plain", {dir.path.string()}), "");
}

} // namespace
