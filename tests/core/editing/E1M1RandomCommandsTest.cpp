#include "EditingTestSupport.h"

#include "editing/Clipboard.h"
#include "editing/EditCommands.h"
#include "editing/PasteSpecial.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

namespace {

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class E1M1RandomCommandsTest : public EditingTest {};

// 2,000 commands of the Edit and Map menus on random selections of a real map; then the whole
// history is undone and the map must be the original again, in every byte of its RMF file.
// Run under the sanitizers this checks that no command leaks, double-frees or reads freed
// objects on a map of real size.
TEST_F(E1M1RandomCommandsTest, UndoOfTwoThousandCommandsGivesBackTheOriginalMap) {
    const std::string e1m1 = std::string(BRICKHAVEN_CORPUS_DIR) + "/maps/E1M1-edited-ents.map";
    if (!std::filesystem::exists(e1m1)) {
        GTEST_SKIP() << "the map corpus is not there: " << e1m1;
    }
    ASSERT_TRUE(doc->OpenDocument(e1m1));
    CMapDoc::SetActiveMapDoc(doc.get());
    const std::filesystem::path out =
        std::filesystem::temp_directory_path() / ("e1m1-random-" + std::to_string(getpid()));
    std::filesystem::create_directories(out);
    ASSERT_TRUE(doc->SaveDocument((out / "before.rmf").string()));
    const std::string before = Snapshot();

    constexpr int kCommands = 2000;
    Editor().options.undoLevels = kCommands + 10;
    std::mt19937 rng(1996);
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    FakeView side(false, 1, 2);
    prompts.defaultAnswer = Prompts::Answer::Yes;

    int recorded = 0;
    for (int step = 0; step < kCommands; ++step) {
        const std::vector<CMapClass*> objects(World().Children().begin(), World().Children().end());
        doc->SelectObject(nullptr, SELECT_CLEAR);
        if (!objects.empty()) {
            const int count = 1 + pick(3);
            for (int i = 0; i < count; ++i) {
                doc->SelectObject(
                    objects[static_cast<std::size_t>(pick(static_cast<int>(objects.size())))],
                    SELECT_ADD);
            }
        }
        doc->SelectObject(nullptr, SELECT_UPDATE);
        const std::size_t tracks = doc->UndoHistory().TrackCount();
        switch (pick(17)) {
        case 0:
            OnEditCut(*doc);
            break;
        case 1:
            OnEditCopy(*doc);
            break;
        case 2:
            OnEditPaste(*doc);
            break;
        case 3: {
            PasteSpecialSettings settings;
            settings.copies = 1 + pick(3);
            settings.group = pick(2) == 0;
            settings.center = pick(2) == 0;
            settings.offset = {64 * pick(3), -32 * pick(2), 16};
            settings.rotate = {0.0f, 0.0f, 90.0f * static_cast<float>(pick(4))};
            OnPasteSpecial(*doc, settings);
            break;
        }
        case 4:
            OnEditDelete(*doc);
            break;
        case 5:
            doc->OnSelectAll();
            break;
        case 6:
            OnCarve(*doc);
            break;
        case 7:
            prompts.texts = {std::to_string(pick(2) ? 8 : -8)};
            OnMakeHollow(*doc);
            break;
        case 8:
            OnGroup(*doc);
            break;
        case 9:
            OnUngroup(*doc);
            break;
        case 10:
            OnTieToEntity(*doc);
            break;
        case 11:
            OnMoveToWorld(*doc);
            break;
        case 12:
            OnHideSelected(*doc);
            break;
        case 13:
            OnShowHidden(*doc);
            break;
        case 14:
            Editor().currentTexture = pick(2) ? "*WATER1" : "SKY4";
            OnApplyCurrentTexture(*doc);
            break;
        case 15:
            OnAlign(*doc, pick(2) ? top : side, static_cast<AlignSide>(pick(4)));
            break;
        case 16:
            OnFlip(*doc, pick(2) ? top : side, pick(2) == 0);
            break;
        }
        if (doc->UndoHistory().TrackCount() != tracks) {
            ++recorded;
        }
    }
    EXPECT_GT(recorded, 1000);

    while (doc->UndoHistory().TrackCount() > 0) {
        doc->OnUndo();
    }
    // Hiding is temporary and not an undo step: what is still hidden is shown again.
    OnShowHidden(*doc);
    EXPECT_EQ(SnapshotDifference(before, Snapshot()), "");
    ASSERT_TRUE(doc->SaveDocument((out / "after.rmf").string()));
    EXPECT_TRUE(FileBytes((out / "before.rmf").string()) ==
                FileBytes((out / "after.rmf").string()));
    std::filesystem::remove_all(out);
}

} // namespace
