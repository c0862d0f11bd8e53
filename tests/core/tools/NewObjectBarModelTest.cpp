#include "tools/NewObjectBarModel.h"
#include "common/ToolId.h"
#include "document/UpdateHint.h"
#include "gamedata/GameDataSet.h"
#include "mapobjects/MapSolid.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include <unistd.h>

namespace {

class NewObjectBarModelTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    void SetUp() override { context.Context().SetPrompts(&prompts); }
};

BoundBox Box() {
    BoundBox box;
    box.mins = {0, 0, 0};
    box.maxs = {64, 64, 64};
    return box;
}

} // namespace

TEST_F(NewObjectBarModelTest, FaceCountsAreKeptPerKindAndCheckedAgainstTheRange) {
    NewObjectBarModel& bar = NewObjectBar();
    bar.SetTool(TOOL_BLOCK);
    ASSERT_EQ(bar.Categories().size(), 1u);
    EXPECT_EQ(bar.Categories()[0].name, "Primitives");
    ASSERT_EQ(bar.Objects().size(), 4u);
    EXPECT_FALSE(bar.FaceCountEnabled(true));
    bar.SelectObject(PRIMITIVE_CYLINDER);
    EXPECT_TRUE(bar.FaceCountEnabled(true));
    EXPECT_FALSE(bar.FaceCountEnabled(false));
    EXPECT_EQ(bar.FaceCountText(), "8");
    bar.SetFaceCountText("12");
    bar.SelectObject(PRIMITIVE_SPIKE);
    EXPECT_EQ(bar.FaceCountText(), "4");
    bar.SelectObject(PRIMITIVE_CYLINDER);
    EXPECT_EQ(bar.FaceCountText(), "12");

    bar.SetFaceCountText("33");
    EXPECT_EQ(bar.CreateObject(Box()), nullptr);
    EXPECT_TRUE(prompts.Showed("The face count for a cylinder must be in the range of 3 to 32."));
    bar.SetFaceCountText("32");
    std::unique_ptr<CMapClass> cylinder(bar.CreateObject(Box()));
    ASSERT_NE(cylinder, nullptr);
    EXPECT_EQ(static_cast<CMapSolid*>(cylinder.get())->FaceCount(), 34);

    // Block and wedge ignore the number.
    bar.SelectObject(PRIMITIVE_BLOCK);
    bar.SetFaceCountText("nonsense");
    std::unique_ptr<CMapClass> block(bar.CreateObject(Box()));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(static_cast<CMapSolid*>(block.get())->FaceCount(), 6);
}

TEST_F(NewObjectBarModelTest, TheListsFollowTheTool) {
    // Game data needs its palette beside the program.
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("newobjectbar-" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory);
    std::ofstream(directory / "test.pal", std::ios::binary) << std::string(768, '\x10');
    Editor().programDirectory = directory.string();
    ASSERT_TRUE(
        Editor().GameData().LoadFromText("@Main = [ Name : \"Test\" Palette : \"test.pal\" ]\n"
                                         "@BaseClass = Base [ ]\n"
                                         "@PointClass base(Base) = light [ ]\n"
                                         "@SolidClass = func_door [ ]\n"
                                         "@PointClass = info_player_start [ ]\n",
                                         "test.ymx"));
    NewObjectBarModel& bar = NewObjectBar();
    bar.SetTool(TOOL_BLOCK);
    bar.SelectObject(PRIMITIVE_WEDGE);
    bar.SetTool(TOOL_ENTITY);
    EXPECT_TRUE(bar.Categories().empty());
    ASSERT_EQ(bar.Objects().size(), 2u);
    EXPECT_EQ(bar.Objects()[1].name, "info_player_start");
    bar.SelectObject(1);
    EXPECT_EQ(bar.EntityClassName(), "info_player_start");
    EXPECT_EQ(bar.CreateObject(Box()), nullptr);

    bar.SetTool(TOOL_CAMERA);
    EXPECT_TRUE(bar.Categories().empty());
    EXPECT_TRUE(bar.Objects().empty());
    bar.SetTool(TOOL_BLOCK);
    EXPECT_EQ(bar.SelectedKind(), PRIMITIVE_WEDGE);
    EXPECT_EQ(bar.SelectedObject(), PRIMITIVE_WEDGE);
    bar.SetTool(TOOL_ENTITY);
    EXPECT_EQ(bar.SelectedObject(), 1);
    EXPECT_EQ(bar.SelectedPrefab(), nullptr);
    std::filesystem::remove_all(directory);
}
