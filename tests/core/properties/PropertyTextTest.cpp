#include "gamedata/ClassVariable.h"
#include "properties/AngleText.h"
#include "properties/ChoiceText.h"
#include "properties/KeyValueRules.h"

#include <gtest/gtest.h>

TEST(KeyValueRulesTest, KeysOfNineteenCharactersPassLongerOnesAreRefusedWithAReason) {
    EXPECT_FALSE(CheckKeyText(std::string(19, 'k')));
    const auto tooLong = CheckKeyText(std::string(20, 'k'));
    ASSERT_TRUE(tooLong);
    EXPECT_NE(tooLong->find("at most 19 characters"), std::string::npos);
    EXPECT_TRUE(CheckKeyText(""));
    EXPECT_TRUE(CheckKeyText("ClassName"));
    EXPECT_TRUE(CheckKeyText("spawnflags"));
}

TEST(KeyValueRulesTest, ValuesKeep511CharactersAndClassTextReadsInsideParentheses) {
    EXPECT_EQ(StoredValueText(std::string(300, 'v')).size(), 300u);
    EXPECT_EQ(StoredValueText(std::string(600, 'v')).size(), 511u);
    EXPECT_EQ(EffectiveClassName("light"), "light");
    EXPECT_EQ(EffectiveClassName("Invisible light (light)"), "light");
    EXPECT_EQ(EffectiveClassName("open (light"), "light");
}

TEST(AngleTextTest, ComboShowsUpDownOrTheNumberAndWritesBack) {
    EXPECT_EQ(AngleComboText(-1), "Up");
    EXPECT_EQ(AngleComboText(-2), "Down");
    EXPECT_EQ(AngleComboText(-7), "Down");
    EXPECT_EQ(AngleComboText(270), "270");

    EXPECT_EQ(DialAngleForText("45"), 45);
    EXPECT_EQ(DialAngleForText("90 deg"), 90);
    EXPECT_EQ(DialAngleForText("up"), -1);
    EXPECT_EQ(DialAngleForText(""), -1);

    EXPECT_EQ(AngleToWrite("up", 30), -1);
    EXPECT_EQ(AngleToWrite("DOWN", 30), -2);
    EXPECT_EQ(AngleToWrite("45", 45), 45);
    EXPECT_EQ(AngleToWrite("sideways", -1), -1);
}

TEST(AngleTextTest, DialDirectionIsCounterClockwiseFromTheRightInWholeDegrees) {
    EXPECT_EQ(DialAngleForOffset(10, 0), 0);
    EXPECT_EQ(DialAngleForOffset(0, -10), 90);
    EXPECT_EQ(DialAngleForOffset(-10, 0), 180);
    EXPECT_EQ(DialAngleForOffset(0, 10), 270);
    EXPECT_EQ(DialAngleForOffset(10, 0.01), 0);
    EXPECT_EQ(DialAngleForOffset(10, 0.5), 357);
}

TEST(ChoiceTextTest, CaptionsStoreTheirNumberDigitsStayOtherTextIsEmpty) {
    ClassVariable style;
    style.type = VariableType::Choices;
    style.items = {{0, "Normal", false}, {1, "Flicker", false}, {2, "Slow strobe", false}};
    EXPECT_EQ(ChoiceValueForText(style, "Slow strobe"), "2");
    EXPECT_EQ(ChoiceValueForText(style, "slow STROBE"), "2");
    EXPECT_EQ(ChoiceValueForText(style, "7"), "7");
    EXPECT_EQ(ChoiceValueForText(style, "-3"), "-3");
    EXPECT_EQ(ChoiceValueForText(style, "bright"), "");
    EXPECT_EQ(ChoiceValueForText(style, ""), "");

    const ChoiceDisplay known = ChoiceDisplayForValue(style, "1");
    EXPECT_EQ(known.index, 1);
    EXPECT_EQ(known.text, "Flicker");
    const ChoiceDisplay unknown = ChoiceDisplayForValue(style, "7");
    EXPECT_EQ(unknown.index, -1);
    EXPECT_EQ(unknown.text, "7");
}
