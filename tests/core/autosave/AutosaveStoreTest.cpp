#include "autosave/AutosaveStore.h"
#include "autosave/AutosaveSession.h"

#include "AutosaveTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>

using namespace autosave_test;

namespace {

TEST(AutosaveNaming, MapsOfTheSameNameInDifferentFoldersGetDifferentKeys) {
    const std::string a = AutosaveStore::KeyForMap("/home/ann/maps/start.rmf");
    const std::string b = AutosaveStore::KeyForMap("/home/ann/old/start.rmf");
    EXPECT_NE(a, b);
    EXPECT_EQ(a.rfind("start.rmf-", 0), 0u) << a;
    EXPECT_EQ(b.rfind("start.rmf-", 0), 0u) << b;
    EXPECT_EQ(a, AutosaveStore::KeyForMap("/home/ann/maps/start.rmf"));
    // Odd characters never reach the file name; a hidden name does not stay hidden.
    const std::string odd = AutosaveStore::KeyForMap("/m/my map: v2?.map");
    EXPECT_EQ(odd.rfind("my_map__v2_.map-", 0), 0u) << odd;
    EXPECT_EQ(AutosaveStore::KeyForMap("/m/.secret.rmf").rfind("map.secret.rmf-", 0), 0u);
    EXPECT_NE(AutosaveStore::KeyForUntitled(1), AutosaveStore::KeyForUntitled(2));
    EXPECT_EQ(AutosaveStore::KeyForUntitled(1).rfind("Untitled-", 0), 0u);
}

TEST(AutosaveNaming, TheFolderFollowsXdgStateHome) {
    const char* old = std::getenv("XDG_STATE_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_STATE_HOME", "/tmp/state", 1);
    EXPECT_EQ(AutosaveStore::DefaultDirectory(), "/tmp/state/Brickhaven/autosave");
    unsetenv("XDG_STATE_HOME");
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    EXPECT_EQ(AutosaveStore::DefaultDirectory(), home + "/.local/state/Brickhaven/autosave");
    if (old) {
        setenv("XDG_STATE_HOME", saved.c_str(), 1);
    }
}

TEST(AutosaveStore, KeepsTheTenNewestAutosavesOfEachMap) {
    TempFolder folder;
    AutosaveStore store(folder / "state/autosave"); // made on the first write
    const std::string key = AutosaveStore::KeyForMap("/maps/a.rmf");
    const std::string otherKey = AutosaveStore::KeyForMap("/other/a.rmf");
    std::string error;
    ASSERT_TRUE(store.Write(otherKey, "/other/a.rmf", "other", error)) << error;
    for (int i = 1; i <= 13; ++i) {
        ASSERT_TRUE(store.Write(key, "/maps/a.rmf", "version " + std::to_string(i), error))
            << error;
    }
    const std::vector<std::string> files = store.Files(key);
    ASSERT_EQ(files.size(), 10u);
    EXPECT_EQ(ReadFile(files.front()), "version 4");
    EXPECT_EQ(ReadFile(files.back()), "version 13");
    EXPECT_EQ(store.Files(otherKey).size(), 1u); // the other map's rotation is its own

    AutosaveEntry entry;
    ASSERT_TRUE(store.Find(key, entry));
    EXPECT_EQ(entry.mapPath, "/maps/a.rmf");
    EXPECT_EQ(entry.file, files.back());
    EXPECT_EQ(entry.ownerPid, static_cast<int>(getpid()));
    // No temporary files are left behind: 11 autosaves and 2 info files.
    int count = 0;
    for ([[maybe_unused]] const auto& file : fs::directory_iterator(store.Directory())) {
        ++count;
    }
    EXPECT_EQ(count, 13);

    store.Remove(key);
    EXPECT_TRUE(store.Files(key).empty());
    EXPECT_FALSE(store.Find(key, entry));
    EXPECT_EQ(store.List().size(), 1u);
}

// The file size limit stands in for a full disk; it holds for every user, root too.
TEST(AutosaveStore, AFailedWriteKeepsTheEarlierAutosaves) {
    TempFolder folder;
    AutosaveStore store(folder / "autosave");
    std::string error;
    ASSERT_TRUE(store.Write("k", "/m.rmf", "first", error));
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 64;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = store.Write("k", "/m.rmf", std::string(1000, 'x'), error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(error.empty());
    ASSERT_EQ(store.Files("k").size(), 1u);
    EXPECT_EQ(ReadFile(store.Files("k").front()), "first");
    int files = 0;
    for ([[maybe_unused]] const auto& file : fs::directory_iterator(store.Directory())) {
        ++files;
    }
    EXPECT_EQ(files, 2) << "no temporary file is left";
}

TEST(AutosaveStore, RecoveryListsOnlyAutosavesNewerThanTheirMapsOfNoRunningTarno) {
    TempFolder folder;
    AutosaveStore store(folder / "autosave");
    const std::string newerMap = folder / "newer.map";
    const std::string olderMap = folder / "older.map";
    const std::string goneMap = folder / "gone.rmf";
    WriteFile(newerMap, "{}");
    WriteFile(olderMap, "{}");
    std::string error;
    for (const std::string& map : {newerMap, olderMap, goneMap, std::string()}) {
        const std::string key =
            map.empty() ? AutosaveStore::KeyForUntitled(7) : AutosaveStore::KeyForMap(map);
        ASSERT_TRUE(store.Write(key, map, "data", error));
    }
    // Written by this process, which is running: nothing to recover.
    EXPECT_TRUE(store.Recoverable().empty());

    for (const AutosaveEntry& entry : store.List()) {
        OrphanAutosaves(store.Directory(), entry.key, entry.mapPath);
        SetAge(entry.file, 60);
    }
    SetAge(newerMap, 120); // saved before the autosave: the autosave has newer work
    SetAge(olderMap, 10);  // saved after the autosave
    std::vector<std::string> listed;
    for (const AutosaveEntry& entry : store.Recoverable()) {
        listed.push_back(entry.mapPath);
    }
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{"", goneMap, newerMap}));

    store.RemoveOutdated();
    EXPECT_EQ(store.List().size(), 3u);
    EXPECT_TRUE(store.Files(AutosaveStore::KeyForMap(olderMap)).empty());
}

TEST(AutosaveSession, AKilledTarnosAutosavesBecomeRecoverable) {
    TempFolder folder;
    const std::string directory = folder / "autosave";
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        AutosaveSession session(directory);
        AutosaveStore store(directory);
        std::string error;
        store.Write("k", "", "work", error);
        const char byte = session.Held() ? 1 : 0;
        (void)!write(ready[1], &byte, 1);
        pause();
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, 1);
    AutosaveStore store(directory);
    EXPECT_TRUE(AutosaveSession::IsLive(directory, child));
    EXPECT_TRUE(store.Recoverable().empty());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_FALSE(AutosaveSession::IsLive(directory, child));
    ASSERT_EQ(store.Recoverable().size(), 1u);
    EXPECT_EQ(ReadFile(store.Recoverable()[0].file), "work");
    const std::string lock = directory + "/.session-" + std::to_string(child) + ".lock";
    EXPECT_TRUE(fs::exists(lock));
    store.RemoveOutdated(); // the autosave is newer than its (missing) map: it stays
    EXPECT_FALSE(fs::exists(lock));
    EXPECT_EQ(store.Recoverable().size(), 1u);
    close(ready[0]);
    close(ready[1]);
}

} // namespace
