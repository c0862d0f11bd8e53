#include "platform/AtomicFileWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WriteWhole(const fs::path& path, const std::string& text, const fs::path& backup = {}) {
    AtomicFileWriter writer;
    if (!writer.Open(path.string())) {
        return false;
    }
    if (!backup.empty()) {
        writer.SetBackupPath(backup.string());
    }
    return writer.Write(text) && writer.Commit();
}

class AtomicFileBackupTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "atomic-XXXXXX").string();
        dir = mkdtemp(pattern.data());
    }
    void TearDown() override { fs::remove_all(dir); }
};

TEST_F(AtomicFileBackupTest, TheReplacedContentBecomesTheBackupAndStaysApartFromTheFile) {
    const fs::path target = dir / "map.rmf";
    const fs::path backup = dir / "map.rmf.bak";
    ASSERT_TRUE(WriteWhole(target, "one", backup));
    EXPECT_FALSE(fs::exists(backup));
    ASSERT_TRUE(WriteWhole(target, "two", backup));
    ASSERT_TRUE(WriteWhole(target, "three", backup));
    EXPECT_EQ(Contents(target), "three");
    EXPECT_EQ(Contents(backup), "two");
    // The backup is a file of its own: writing the map again in place does not touch it.
    std::ofstream(target, std::ios::binary | std::ios::trunc) << "changed in place";
    EXPECT_EQ(Contents(backup), "two");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

TEST_F(AtomicFileBackupTest, NewFilesFollowTheUmaskWhichWritersInOtherThreadsLeaveAlone) {
    const mode_t old = umask(027);
    std::thread other([this] {
        for (int i = 0; i < 50; ++i) {
            WriteWhole(dir / ("other" + std::to_string(i)), "x");
        }
    });
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(WriteWhole(dir / ("mine" + std::to_string(i)), "y"));
    }
    other.join();
    const mode_t now = umask(old);
    EXPECT_EQ(now, 027u);
    struct stat info {};
    ASSERT_EQ(stat((dir / "mine7").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

} // namespace
