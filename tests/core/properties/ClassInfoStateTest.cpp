#include "properties/ClassInfoState.h"
#include "mapobjects/EditGameClass.h"
#include "properties/SpawnFlagsState.h"
#include "support/PropertiesGameData.h"

#include <gtest/gtest.h>

namespace {

class ClassInfoStateTest : public ::testing::Test {
protected:
    ScopedEditorContext scoped;
    PropertiesGameData data{scoped.Context()};
    CEditGameClass holder;
    ClassInfoState page;

    void SetUp() override { ASSERT_TRUE(data.loaded); }

    std::string Value(const CEditGameClass& from, const std::string& key) {
        auto value = from.GetKeyValue(key);
        return value ? value->first : "<none>";
    }
};

TEST_F(ClassInfoStateTest, SmartEditListsTheVariablesAndFillsInDefaultsThatAreWrittenBack) {
    holder.SetClass("light");
    holder.SetKeyValue("style", "1");
    page.Load(holder, &data.set);
    ASSERT_TRUE(page.SmartEdit());
    std::vector<std::string> rows;
    for (const auto& row : page.Rows()) {
        rows.push_back(row.text);
    }
    // spawnflags has its own page; the base class's variable comes first.
    EXPECT_EQ(rows, (std::vector<std::string>{"Name", "Brightness", "Appearance"}));
    EXPECT_EQ(page.RowValue(1), "300");
    EXPECT_EQ(page.RowValue(2), "1");

    page.Write(holder);
    EXPECT_EQ(Value(holder, "light"), "300");
    EXPECT_EQ(Value(holder, "style"), "1");
    // An empty default (targetname) is not written.
    EXPECT_EQ(Value(holder, "targetname"), "<none>");
}

TEST_F(ClassInfoStateTest, KeyValueModeDropsEmptyValuesAndKeepsLongValuesWhole) {
    holder.SetClass("light");
    holder.SetKeyValue("targetname", "");
    holder.SetKeyValue("message", std::string(400, 'm'));
    page.SetSmartEditPreferred(false);
    page.Load(holder, &data.set);
    ASSERT_FALSE(page.SmartEdit());
    ASSERT_EQ(page.RowCount(), 1);
    EXPECT_EQ(page.RowKeyValue(0).first, "message");
    EXPECT_EQ(page.RowKeyValue(0).second.size(), 400u);

    EXPECT_FALSE(page.SetRowKeyValue(0, "message", std::string(600, 'x')));
    EXPECT_EQ(page.RowKeyValue(0).second.size(), 511u);
    page.Write(holder);
    EXPECT_EQ(Value(holder, "message").size(), 511u);
    EXPECT_EQ(holder.KeyValueCount(), 1);
}

TEST_F(ClassInfoStateTest, AddDeleteAndTheNewKeyCounter) {
    holder.SetClass("no_such_class");
    page.Load(holder, &data.set);
    EXPECT_FALSE(page.SmartEditAvailable());
    EXPECT_EQ(page.NextNewKey(), "newkey1");
    EXPECT_EQ(page.NextNewKey(), "newkey2");

    const auto refused = page.AddKeyValue(std::string(20, 'k'), "v");
    EXPECT_EQ(refused.row, -1);
    EXPECT_NE(refused.error.find("at most 19"), std::string::npos);
    EXPECT_EQ(page.RowCount(), 0);

    EXPECT_EQ(page.AddKeyValue("a", "1").row, 0);
    EXPECT_EQ(page.AddKeyValue("b", "2").row, 1);
    EXPECT_EQ(page.AddKeyValue("c", "3").row, 2);
    EXPECT_EQ(page.DeleteRow(2), 1); // the last row: the one above is selected
    EXPECT_EQ(page.DeleteRow(0), -1);
    ASSERT_EQ(page.RowCount(), 1);
    EXPECT_EQ(page.RowKeyValue(0).first, "b");
    // A key too long for the field is refused when the value changes.
    EXPECT_TRUE(page.SetRowKeyValue(0, std::string(25, 'z'), "x"));
    EXPECT_EQ(page.RowKeyValue(0).second, "2");

    page.Write(holder);
    EXPECT_EQ(holder.KeyValueCount(), 1);
    EXPECT_EQ(Value(holder, "b"), "2");
    EXPECT_EQ(holder.ClassName(), "no_such_class");
    page.Load(holder, &data.set);
    EXPECT_EQ(page.NextNewKey(), "newkey1");
}

TEST_F(ClassInfoStateTest, ClassChoicesFollowTheKindAndTheWorldsClassIsFixed) {
    holder.SetClass("func_door");
    page.Load(holder, &data.set);
    EXPECT_EQ(page.ClassChoices(), (std::vector<std::string>{"func_door", "func_wall"}));
    EXPECT_TRUE(page.ClassEditable());

    holder.SetClass("light");
    page.Load(holder, &data.set);
    EXPECT_EQ(page.ClassChoices(), (std::vector<std::string>{"light", "info_player_start"}));

    holder.SetClass("unknown");
    page.Load(holder, &data.set);
    EXPECT_EQ(page.ClassChoices().size(), 4u);

    CEditGameClass world;
    world.SetClass("worldspawn");
    page.Load(world, &data.set);
    EXPECT_FALSE(page.ClassEditable());
    EXPECT_EQ(page.RowValue(0), "A map");
}

TEST_F(ClassInfoStateTest, ChangingTheClassToAnUnknownOneFallsBackToKeyvalueMode) {
    holder.SetClass("light");
    page.Load(holder, &data.set);
    EXPECT_TRUE(page.SmartEdit());
    page.SetClassText("lamp");
    EXPECT_FALSE(page.SmartEdit());
    EXPECT_TRUE(page.SmartEditPreferred());
    // The defaults filled in while the class was known stay as keyvalues.
    EXPECT_EQ(page.RowKeyValue(0).first, "light");
    page.SetClassText("Door (func_door)");
    EXPECT_TRUE(page.SmartEdit());
    page.Write(holder);
    EXPECT_EQ(holder.ClassName(), "func_door");
    EXPECT_EQ(Value(holder, "speed"), "100");
}

TEST_F(ClassInfoStateTest, AngleTextIsWrittenAsUpDownOrTheDial) {
    holder.SetClass("info_player_start");
    holder.SetAngle(-1);
    page.Load(holder, &data.set);
    EXPECT_EQ(page.AngleText(), "Up");
    page.SetAngleText("90");
    EXPECT_EQ(page.DialAngle(), 90);
    page.SetDialAngle(135);
    EXPECT_EQ(page.AngleText(), "135");
    page.Write(holder);
    EXPECT_EQ(holder.Angle(), 135);
    page.SetAngleText("down");
    page.Write(holder);
    EXPECT_EQ(holder.Angle(), -2);
}

// The class's angle variable is the entity's angle: its row shows the Angle combo's text and
// sets it, and neither mode ever makes an "angle" (or another field's) keyvalue.
TEST_F(ClassInfoStateTest, TheAngleRowIsTheAngleAndNoFieldBecomesAKeyvalue) {
    holder.SetClass("info_player_start");
    for (int angle : {90, 0, -1, -2}) {
        holder.SetAngle(angle);
        page.SetSmartEditPreferred(true);
        page.Load(holder, &data.set);
        ASSERT_TRUE(page.SmartEdit());
        const int row = page.AngleRow();
        ASSERT_EQ(row, 0);
        EXPECT_EQ(page.Rows()[0].text, "Facing");
        EXPECT_EQ(page.RowValue(row), page.AngleText()) << angle;
        EXPECT_FALSE(page.LocalKeyValues().GetKeyValue("angle"));
        page.Write(holder);
        EXPECT_EQ(holder.Angle(), angle);
        EXPECT_EQ(holder.KeyValueCount(), 0);
        page.SetSmartEditPreferred(false);
        EXPECT_EQ(page.RowCount(), 0);
        page.Write(holder);
        EXPECT_EQ(holder.Angle(), angle);
    }
    page.SetSmartEditPreferred(true);
    page.SetRowValue(page.AngleRow(), "Up");
    EXPECT_EQ(page.AngleText(), "Up");
    EXPECT_EQ(page.AngleToWrite(), -1);
    page.SetAngleText("270");
    EXPECT_EQ(page.RowValue(page.AngleRow()), "270");
    page.Write(holder);
    EXPECT_EQ(holder.Angle(), 270);

    // Keyvalue mode refuses the keys kept in fields, whatever their case.
    page.SetSmartEditPreferred(false);
    for (const char* key : {"Angle", "origin", "SPAWNFLAGS", "classname"}) {
        EXPECT_EQ(page.AddKeyValue(key, "1").row, -1) << key;
    }
    page.Write(holder);
    EXPECT_EQ(holder.KeyValueCount(), 0);
    EXPECT_EQ(holder.SpawnFlags(), 0u);
}

TEST(EditGameClassTest, FieldKeysSetTheirFieldsAndNeverBecomePairs) {
    ScopedEditorContext scoped;
    CEditGameClass holder;
    holder.SetKeyValue("ANGLE", "90");
    holder.SetKeyValue("spawnflags", "-1");
    holder.SetKeyValue("Origin", "1 2 3");
    holder.SetKeyValue("classname", "light");
    holder.SetKeyValue("wait", "1");
    EXPECT_EQ(holder.Angle(), 90);
    EXPECT_EQ(holder.SpawnFlags(), 0xFFFFFFFFu);
    EXPECT_EQ(holder.ClassName(), "light");
    ASSERT_EQ(holder.KeyValueCount(), 1);
    EXPECT_EQ(holder.KeyValues()[0].key, "wait");
    holder.SetKeyValue("angle", std::nullopt);
    EXPECT_EQ(holder.Angle(), 0);
    holder.SetKeyValue("angle", "99999999999");
    EXPECT_EQ(holder.Angle(), 2147483647);
}

TEST(SpawnFlagsStateTest, CaptionsFollowTheClassAndWritingKeepsOtherBits) {
    ScopedEditorContext scoped;
    PropertiesGameData data(scoped.Context());
    ASSERT_TRUE(data.loaded);
    CEditGameClass door;
    door.SetClass("func_door");
    door.SetSpawnFlags(4u | 0x10000u);
    SpawnFlagsState flags;
    flags.Load(door);
    EXPECT_EQ(flags.Caption(0), "Starts Open");
    EXPECT_EQ(flags.Caption(1), "");
    EXPECT_EQ(flags.Caption(2), "Don't link");
    EXPECT_EQ(flags.Caption(11), "Not in deathmatch");
    EXPECT_FALSE(flags.Checked(0));
    EXPECT_TRUE(flags.Checked(2));

    flags.SetChecked(0, true);
    flags.SetChecked(2, false);
    flags.Write(door);
    EXPECT_EQ(door.SpawnFlags(), 1u | 0x10000u);
    flags.ClearAll();
    flags.Write(door);
    EXPECT_EQ(door.SpawnFlags(), 0x10000u);

    flags.Relabel(data.set.FindClass("light"));
    EXPECT_EQ(flags.Caption(0), "Start off");
    EXPECT_EQ(flags.Caption(2), "");
    flags.Relabel(nullptr);
    EXPECT_EQ(flags.Caption(0), "");
}

} // namespace
