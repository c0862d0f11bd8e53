#include "autosave/AutosaveStore.h"
#include "batch/BatchCommands.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// `Tarno --recover-list` prints what a crashed run left, the map's path first, and exits 0.
TEST(RecoverListTest, PrintsOneLinePerMapWaitingForRecovery) {
    QTemporaryDir state;
    const char* old = std::getenv("XDG_STATE_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_STATE_HOME", state.path().toLocal8Bit().constData(), 1);

    auto run = [](std::string& out) {
        char program[] = "Tarno";
        char option[] = "--recover-list";
        char* argv[] = {program, option};
        std::FILE* outFile = std::tmpfile();
        std::FILE* errFile = std::tmpfile();
        const auto code = RunBatchCommand(2, argv, outFile, errFile);
        std::rewind(outFile);
        out.clear();
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, outFile)) > 0;) {
            out.append(buffer, n);
        }
        std::fclose(outFile);
        std::fclose(errFile);
        return code;
    };
    std::string out;
    EXPECT_EQ(run(out), 0); // no folder yet
    EXPECT_EQ(out, "");

    AutosaveStore store(AutosaveStore::DefaultDirectory());
    const std::string map = state.filePath("never saved.rmf").toStdString();
    const std::string key = AutosaveStore::KeyForMap(map);
    std::string error;
    ASSERT_TRUE(store.Write(key, map, "work", error)) << error;
    std::ofstream(store.Directory() + "/" + key + ".info") << "pid=2147480000\npath=" << map;
    ASSERT_TRUE(store.Write(AutosaveStore::KeyForUntitled(1), "", "work", error));

    EXPECT_EQ(run(out), 0);
    // The untitled map is this process's own (running) one: only the crashed map is listed.
    EXPECT_EQ(out.rfind(map + "\t" + store.Files(key).back() + "\t", 0), 0u) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1);

    if (old) {
        setenv("XDG_STATE_HOME", saved.c_str(), 1);
    } else {
        unsetenv("XDG_STATE_HOME");
    }
}

} // namespace
