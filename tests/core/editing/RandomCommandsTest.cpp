#include "EditingTestSupport.h"

#include "editing/EditCommands.h"
#include "editing/PasteSpecial.h"
#include "editing/VisGroups.h"

#include <random>

namespace {

class RandomCommandsTest : public EditingTest {};

// Hundreds of random commands on random selections, then everything undone and redone: after
// every single undo and redo the map must equal the state recorded at that point. Run under
// the sanitizers this also checks who owns the objects the commands take out of the map.
TEST_F(RandomCommandsTest, UndoAllAndRedoAllRestoreEveryState) {
    Editor().options.undoLevels = 1000;
    std::mt19937 rng(2024);
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    auto box = [&] {
        const Vector lo(static_cast<float>(pick(16) * 16), static_cast<float>(pick(16) * 16),
                        static_cast<float>(pick(4) * 16));
        const Vector size(static_cast<float>(16 + pick(6) * 16),
                          static_cast<float>(16 + pick(6) * 16),
                          static_cast<float>(16 + pick(6) * 16));
        return MakeBox(lo, lo + size);
    };
    World().ReplaceVisGroups({{"a", 0x10, 1, true}, {"b", 0x20, 2, false}});
    for (int i = 0; i < 8; ++i) {
        Add(box());
    }
    FakeView xy(false, 0, 1);
    xy.invertVertical = true;
    prompts.defaultAnswer = Prompts::Answer::Yes;

    std::vector<std::string> states{Snapshot()};
    std::vector<int> commands;
    const int kSteps = 300;
    for (int step = 0; step < kSteps; ++step) {
        std::vector<CMapClass*> top(World().Children().begin(), World().Children().end());
        if (top.size() < 3) {
            doc->UndoHistory().MarkUndoPosition({}, "New Object");
            CMapSolid* solid = box();
            Editor().ActiveHistory().KeepNew(solid);
            World().AddChild(solid);
            top.push_back(solid);
            states.push_back(Snapshot());
            commands.push_back(-1);
        }
        doc->SelectObject(nullptr, SELECT_CLEAR);
        const int count = 1 + pick(std::min<int>(4, static_cast<int>(top.size())));
        for (int i = 0; i < count; ++i) {
            doc->SelectObject(top[static_cast<std::size_t>(pick(static_cast<int>(top.size())))],
                              SELECT_ADD);
        }
        const int command = pick(14);
        const std::size_t tracks = doc->UndoHistory().TrackCount();
        switch (command) {
        case 0:
            OnEditDelete(*doc);
            break;
        case 1:
            OnEditCopy(*doc);
            OnEditPaste(*doc);
            break;
        case 2:
            OnGroup(*doc);
            break;
        case 3:
            OnUngroup(*doc);
            break;
        case 4:
            OnTieToEntity(*doc);
            break;
        case 5:
            OnMoveToWorld(*doc);
            break;
        case 6:
            OnCarve(*doc);
            break;
        case 7:
            prompts.texts = {std::to_string(pick(2) ? 8 : -8)};
            OnMakeHollow(*doc);
            break;
        case 8:
            Editor().currentTexture = pick(2) ? "*WATER" : "BRICK";
            OnApplyCurrentTexture(*doc);
            break;
        case 9:
            OnAlign(*doc, xy, static_cast<AlignSide>(pick(4)));
            break;
        case 10:
            OnFlip(*doc, xy, pick(2) == 0);
            break;
        case 11: {
            OnEditCopy(*doc);
            PasteSpecialSettings settings;
            settings.copies = 1 + pick(3);
            settings.group = pick(2) == 0;
            settings.offset = {32, 0, 0};
            settings.rotate = {0, 0, 90};
            OnPasteSpecial(*doc, settings);
            break;
        }
        case 12: {
            World().UpdateVisibleObjects(pick(2) ? static_cast<int>(FILTER_VISGROUPS) : 0);
            OnGroup(*doc);
            break;
        }
        case 13:
            if (World().VisGroupCount() > 0 && pick(3) == 0) {
                RemoveVisGroup(*doc, 0);
            } else {
                OnEditCut(*doc);
            }
            break;
        }
        if (doc->UndoHistory().TrackCount() == tracks) {
            continue; // the command refused; nothing to undo
        }
        states.push_back(Snapshot());
        commands.push_back(command);
    }
    ASSERT_GT(commands.size(), 200u);

    for (std::size_t step = commands.size(); step > 0; --step) {
        doc->OnUndo();
        ASSERT_EQ(SnapshotDifference(states[step - 1], Snapshot()), "")
            << "after undoing step " << step << " (command " << commands[step - 1] << ")";
    }
    for (std::size_t step = 1; step <= commands.size(); ++step) {
        doc->OnRedo();
        ASSERT_EQ(SnapshotDifference(states[step], Snapshot()), "")
            << "after redoing step " << step << " (command " << commands[step - 1] << ")";
    }
}

} // namespace
