#include "autosave/AutosaveWorker.h"

#include "AutosaveTestSupport.h"

#include <gtest/gtest.h>

using namespace autosave_test;

// The worker hands the buffer of a written autosave back for the next one, so a large map
// is put into memory the process already has; a closed map's buffer is let go.
TEST(AutosaveWorker, ReusesTheBufferOfAWrittenAutosaveAndDropsItWhenAMapCloses) {
    TempFolder folder;
    AutosaveStore store(folder.path.string());
    AutosaveWorker worker(store);
    EXPECT_EQ(worker.TakeSpareBuffer().capacity(), std::string().capacity());

    const std::string map = folder / "level.rmf";
    const std::string key = AutosaveStore::KeyForMap(map);
    std::string data(200000, 'x');
    const char* bytes = data.data();
    worker.QueueWrite(key, map, std::move(data));
    worker.WaitIdle();
    ASSERT_EQ(worker.TakeResults().size(), 1u);
    EXPECT_EQ(ReadFile(store.Files(key).back()).size(), 200000u);

    std::string spare = worker.TakeSpareBuffer();
    EXPECT_TRUE(spare.empty());
    EXPECT_GE(spare.capacity(), 200000u);
    EXPECT_EQ(spare.data(), bytes); // the very memory, not a copy
    // Taken once: the next caller starts empty until another write comes back.
    EXPECT_LT(worker.TakeSpareBuffer().capacity(), 200000u);

    spare.assign(150000, 'y');
    worker.QueueWrite(key, map, std::move(spare));
    worker.QueueRemove(key);
    worker.WaitIdle();
    EXPECT_LT(worker.TakeSpareBuffer().capacity(), 150000u);
    EXPECT_TRUE(store.Files(key).empty());
}
