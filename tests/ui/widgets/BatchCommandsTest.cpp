#include "batch/BatchCommands.h"
#include "session/EditorContext.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Box(int x0, int y0, int z0, int x1, int y1, int z1) {
    auto v = [](int x, int y, int z) {
        return "( " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(z) + " )";
    };
    const std::string tail = " WALL 0 0 0 1.000000 1.000000\n";
    return "{\n" + v(x0, y0, z1) + " " + v(x0, y1, z1) + " " + v(x1, y1, z1) + tail +
           v(x0, y1, z0) + " " + v(x0, y0, z0) + " " + v(x1, y0, z0) + tail + v(x0, y0, z0) + " " +
           v(x0, y1, z0) + " " + v(x0, y1, z1) + tail + v(x1, y1, z0) + " " + v(x1, y0, z0) + " " +
           v(x1, y0, z1) + tail + v(x1, y0, z0) + " " + v(x0, y0, z0) + " " + v(x0, y0, z1) + tail +
           v(x0, y1, z0) + " " + v(x1, y1, z0) + " " + v(x1, y1, z1) + tail + "}\n";
}

const std::string kMap = "{\n\"classname\" \"worldspawn\"\n\"wad\" \"base.wad\"\n" +
                         Box(0, 0, 0, 64, 64, 16) + "}\n{\n\"classname\" \"func_door\"\n" +
                         Box(0, 0, 16, 8, 8, 64) + "}\n{\n\"classname\" \"light\"\n" +
                         "\"origin\" \"32 32 32\"\n}\n";

class BatchCommandsTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    std::filesystem::path dir;
    std::string out;
    std::string err;

    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("brickhaven-batch-" +
               std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string File(const std::string& name, const std::string& content) {
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static std::string Drain(std::FILE* file) {
        std::rewind(file);
        std::string text;
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
            text.append(buffer, n);
        }
        std::fclose(file);
        return text;
    }
    std::optional<int> Run(std::vector<std::string> args) {
        args.insert(args.begin(), "Tarno");
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        std::FILE* outFile = std::tmpfile();
        std::FILE* errFile = std::tmpfile();
        auto result = RunBatchCommand(static_cast<int>(argv.size()), argv.data(), outFile, errFile);
        out = Drain(outFile);
        err = Drain(errFile);
        return result;
    }
};

TEST_F(BatchCommandsTest, InfoPrintsTheMapInformationCounts) {
    EXPECT_EQ(Run({"--info", File("a.map", kMap)}), 0);
    EXPECT_EQ(out, "Solids: 2\nFaces: 12\nPointEntities: 1\nSolidEntities: 1\nDropped solids: 0\n");
    EXPECT_EQ(err, "");

    const std::string broken =
        "{\n{\n( 0 0 0 ) ( 1 1 1 ) ( 2 2 2 ) A 0 0 0 1 1\n}\n" + Box(0, 0, 0, 8, 8, 8) + "}\n";
    EXPECT_EQ(Run({"--info", File("b.map", broken)}), 0);
    EXPECT_EQ(out, "Solids: 1\nFaces: 6\nPointEntities: 0\nSolidEntities: 0\nDropped solids: 1\n");
    EXPECT_NE(err.find("For your information, 1 solids were not loaded due to errors in the file."),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("line 2: a solid was not loaded: "), std::string::npos);
}

TEST_F(BatchCommandsTest, ConvertGoesBetweenMapAndRmfByExtension) {
    const std::string source = File("source.map", kMap);
    const std::string rmf = (dir / "copy.RMF").string();
    const std::string mapFromMap = (dir / "direct.map").string();
    const std::string mapFromRmf = (dir / "back.map").string();
    EXPECT_EQ(Run({"--convert", source, mapFromMap}), 0);
    EXPECT_EQ(Run({"--convert", source, rmf}), 0);
    EXPECT_EQ(Read(rmf).substr(0, 8), std::string("\x66\x66\x66\x3FRMF\x0A", 8));
    EXPECT_EQ(Run({"--convert", rmf, mapFromRmf}), 0) << err;
    EXPECT_EQ(Run({"--info", rmf}), 0);
    EXPECT_EQ(out, "Solids: 2\nFaces: 12\nPointEntities: 1\nSolidEntities: 1\nDropped solids: 0\n");

    // The map's own texture WAD list comes through MAP and RMF alike.
    const std::string direct = Read(mapFromMap);
    EXPECT_NE(direct.find("\"wad\" \"base.wad\"\n"), std::string::npos) << direct;
    const std::string back = Read(mapFromRmf);
    EXPECT_NE(back.find("\"wad\" \"base.wad\"\n"), std::string::npos) << back;
    auto afterWad = [](const std::string& text) {
        return text.substr(text.find('\n', text.find("\"wad\"")));
    };
    EXPECT_EQ(afterWad(back), afterWad(direct));
}

TEST_F(BatchCommandsTest, FailuresExplainThemselvesAndExitNonZero) {
    const std::string missing = (dir / "missing.map").string();
    EXPECT_EQ(Run({"--info", missing}), 1);
    EXPECT_NE(err.find("The OS reported an error loading the file: " + missing), std::string::npos);
    EXPECT_EQ(out, "");

    EXPECT_EQ(Run({"--info", File("text.map", "just some words\n")}), 1);
    EXPECT_NE(err.find("holds no map"), std::string::npos);

    EXPECT_EQ(Run({"--info", File("bad.rmf", "\x9A\x99\x99\x3F RMF")}), 1);
    EXPECT_NE(err.find("Oops! SerializeRMF() v0.9 tried to load a file v1.2. Aborting."),
              std::string::npos);

    const std::string source = File("source.map", kMap);
    EXPECT_EQ(Run({"--convert", source, (dir / "out.txt").string()}), 2);
    EXPECT_NE(err.find("must end in .map or .rmf"), std::string::npos);
    std::filesystem::create_directories(dir / "taken.rmf" / "inside");
    EXPECT_EQ(Run({"--convert", source, (dir / "taken.rmf").string()}), 1);
    EXPECT_NE(err.find("The OS reported an error saving the file: "), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "taken.rmf" / "inside"));

    EXPECT_EQ(Run({"--convert", source}), 2);
    EXPECT_NE(err.find("usage:"), std::string::npos);
    EXPECT_EQ(Run({"somefile.map"}), std::nullopt);
}

TEST_F(BatchCommandsTest, TheProgramRunsWithoutADisplay) {
    const std::string tarno = std::string(BRICKHAVEN_BIN_DIR) + "/Tarno";
    if (!std::filesystem::exists(tarno)) {
        GTEST_SKIP() << "Tarno is not built at " << tarno;
    }
    const std::string source = File("source.map", kMap);
    // With no display and the X11 platform forced, creating a QApplication would abort.
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb '" + tarno +
                                "' --info '" + source + "' 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        output += buffer;
    }
    EXPECT_EQ(pclose(pipe), 0) << output;
    EXPECT_EQ(output,
              "Solids: 2\nFaces: 12\nPointEntities: 1\nSolidEntities: 1\nDropped solids: 0\n");

    const std::string failing = "env -u DISPLAY '" + tarno + "' --info '" +
                                (dir / "none.map").string() + "' > /dev/null 2>&1";
    const int status = std::system(failing.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
}

} // namespace
