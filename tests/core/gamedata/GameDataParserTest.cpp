#include "GameDataTestSupport.h"
#include "gamedata/GameDataTokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Kind = GameDataTokenizer::Kind;

TEST(GameDataTokenizerTest, SplitsTokensSkipsCommentsAndCountsLines) {
    std::vector<std::string> reported;
    GameDataTokenizer tokens("// header line\n@Main=[ \"a b\"\r\n  -12 x_1 7abc / # 3-\n",
                             [&](const std::string& m) { reported.push_back(m); });
    struct Expected {
        Kind kind;
        const char* text;
    };
    const std::vector<Expected> expected = {
        {Kind::Symbol, "@"},       {Kind::Identifier, "Main"}, {Kind::Symbol, "="},
        {Kind::Symbol, "["},       {Kind::String, "a b"},      {Kind::Integer, "-12"},
        {Kind::Identifier, "x_1"}, {Kind::Bad, "7a"},          {Kind::Identifier, "bc"},
        {Kind::Bad, "/"},          {Kind::Bad, "#"},           {Kind::Bad, "3-"},
    };
    for (const Expected& e : expected) {
        GameDataTokenizer::Token token = tokens.Next();
        EXPECT_EQ(token.kind, e.kind) << e.text;
        EXPECT_EQ(token.text, e.text);
    }
    EXPECT_EQ(tokens.Next().kind, Kind::EndOfInput);
    EXPECT_EQ(tokens.Next().kind, Kind::EndOfInput);
    EXPECT_EQ(tokens.Line(), 4);
    EXPECT_TRUE(reported.empty());
}

TEST(GameDataTokenizerTest, PeekKeepsTheTokenAndSkipStopsBeforeTheNextSection) {
    GameDataTokenizer tokens("a \"b\" 1 @ c", nullptr);
    EXPECT_EQ(tokens.Peek().text, "a");
    EXPECT_EQ(tokens.Peek().text, "a");
    EXPECT_EQ(tokens.Next().text, "a");
    tokens.SkipToSection();
    EXPECT_EQ(tokens.Next().text, "@");
    EXPECT_EQ(tokens.Next().text, "c");
}

TEST(GameDataTokenizerTest, OverlongAndUnterminatedTokensAreReportedNeverCut) {
    std::vector<std::string> reported;
    std::string name33(33, 'n');
    std::string text128(128, 't');
    GameDataTokenizer tokens(std::string(32, 'k') + " " + name33 + " \"" + std::string(127, 'u') +
                                 "\" \"" + text128 + "\" 2147483647 -2147483648 2147483648 \"open",
                             [&](const std::string& m) { reported.push_back(m); });
    EXPECT_EQ(tokens.Next().kind, Kind::Identifier);
    auto longName = tokens.Next();
    EXPECT_EQ(longName.kind, Kind::Bad);
    EXPECT_TRUE(longName.reported);
    EXPECT_EQ(tokens.Next().kind, Kind::String);
    EXPECT_EQ(tokens.Next().kind, Kind::Bad);
    EXPECT_EQ(tokens.Next().kind, Kind::Integer);
    EXPECT_EQ(tokens.Next().kind, Kind::Integer);
    EXPECT_EQ(tokens.Next().kind, Kind::Bad);
    EXPECT_EQ(tokens.Next().kind, Kind::Bad);
    EXPECT_EQ(tokens.Next().kind, Kind::EndOfInput);
    ASSERT_EQ(reported.size(), 4u);
    EXPECT_NE(reported[0].find("longer than 32"), std::string::npos);
    EXPECT_NE(reported[1].find("longer than 127"), std::string::npos);
    EXPECT_NE(reported[2].find("out of range"), std::string::npos);
    EXPECT_NE(reported[3].find("unterminated"), std::string::npos);
}

TEST(GameDataTokenizerTest, AVeryLongCommentLineIsSkippedWhole) {
    GameDataTokenizer tokens("//" + std::string(2000, 'x') + " @ y\nz", nullptr);
    auto token = tokens.Next();
    EXPECT_EQ(token.text, "z");
    EXPECT_EQ(tokens.Line(), 2);
}

using GameDataParserTest = GameDataFixture;

TEST_F(GameDataParserTest, MainSectionSetsNameLoadsPaletteAndDefaultClass) {
    EXPECT_TRUE(Parse("@MAIN = [ NAME : \"Quake\" palette : \"test.pal\" DefaultClass : "
                      "\"func_wall\" Other : \"ignored\" ]",
                      false));
    EXPECT_EQ(set.Name(), "Quake");
    EXPECT_EQ(set.PaletteFile(), "test.pal");
    EXPECT_EQ(set.DefaultClassName(), "func_wall");
    EXPECT_TRUE(set.Palette().IsLoaded());
    EXPECT_EQ(set.Palette().FileColors()[10].red, 10);
    EXPECT_TRUE(Errors().empty());
}

TEST_F(GameDataParserTest, MainSectionProblemsAreReportedWithFileAndLine) {
    EXPECT_FALSE(Parse("@Main = [ Name : \"x\" ]", false));
    EXPECT_EQ(Errors(),
              std::vector<std::string>{"error parsing test.ymx, line 1: missing required values."});

    scoped.Context().messages.Clear();
    EXPECT_FALSE(Parse("@BaseClass = A []\n", false));
    EXPECT_EQ(Errors(), std::vector<std::string>{
                            "error parsing test.ymx, line 2: @Main section not defined"});

    scoped.Context().messages.Clear();
    EXPECT_FALSE(Parse("@Main = [ Name : \"y\" Palette : \"test.pal\" ]\n@Bogus x\n"));
    EXPECT_EQ(Errors(), (std::vector<std::string>{
                            "error parsing test.ymx, line 2: @Main section defined more than once",
                            "error parsing test.ymx, line 3: unrecognized section name Bogus"}));

    scoped.Context().messages.Clear();
    EXPECT_FALSE(Parse("@Main = [ Name : \"y\" 12 ]", false));
    EXPECT_EQ(Errors(),
              std::vector<std::string>{"error parsing test.ymx, line 1: unexpected token '12'"});
}

TEST_F(GameDataParserTest, MissingPaletteIsAPromptNotAParseError) {
    EXPECT_FALSE(Parse("@Main = [ Name : \"x\" Palette : \"missing.pal\" ]\n"
                       "@PointClass = after []",
                       false));
    EXPECT_TRUE(prompts.Showed("Couldn't load the palette specified in the YMX file."));
    EXPECT_TRUE(Errors().empty());
    EXPECT_EQ(set.ErrorCount(), 0);
    EXPECT_NE(set.FindClass("after"), nullptr);
}

TEST_F(GameDataParserTest, AbortsAfterFiveErrors) {
    EXPECT_FALSE(Parse("x\ny\nz\nw\nv\nu\nt\n@PointClass = late []", false));
    auto errors = Errors();
    ASSERT_EQ(errors.size(), 6u);
    EXPECT_EQ(errors[0], "error parsing test.ymx, line 1: expected @");
    EXPECT_EQ(errors[4], "error parsing test.ymx, line 5: expected @");
    EXPECT_EQ(errors[5], "   - too many errors; aborting.");
    EXPECT_EQ(set.FindClass("late"), nullptr);
}

TEST_F(GameDataParserTest, SizeAndColorProperties) {
    ASSERT_TRUE(Parse("@PointClass size(32 32 64) color(1 2 3) = a []\n"
                      "@PointClass size(-16 -16 -24, 16 16 32) = b []\n"
                      "@SolidClass = c : \"Class C\" []\n"));
    const EntityClassDef* a = set.FindClass("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->boxMin, Vector(-16, -16, -32));
    EXPECT_EQ(a->boxMax, Vector(16, 16, 32));
    EXPECT_EQ(a->color, 1u | (2u << 8) | (3u << 16));
    EXPECT_EQ(a->ColorRGB(), 0x010203u);
    EXPECT_TRUE(a->hasSize && a->hasColor && a->IsPointClass());
    const EntityClassDef* b = set.FindClass("b");
    EXPECT_EQ(b->boxMin, Vector(-16, -16, -24));
    EXPECT_EQ(b->boxMax, Vector(16, 16, 32));
    EXPECT_FALSE(b->hasColor);
    const EntityClassDef* c = set.FindClass("c");
    EXPECT_TRUE(c->isSolid);
    EXPECT_EQ(c->description, "Class C");
    EXPECT_EQ(b->description, "b");
    EXPECT_EQ(c->color, 220u | (180u << 16));
    EXPECT_EQ(c->boxMin, Vector(-8, -8, -8));
}

TEST_F(GameDataParserTest, BaseGivesBoxAndColourUnlessTheClassHasItsOwn) {
    ASSERT_TRUE(Parse("@BaseClass = Plain []\n"
                      "@BaseClass size(4 4 4) color(9 9 9) = Sized []\n"
                      "@PointClass base(Plain) = fromPlain []\n"
                      "@PointClass size(8 8 8) base(Sized) color(1 1 1) = own []\n"
                      "@PointClass base(Sized) = fromSized []\n"));
    const EntityClassDef* fromPlain = set.FindClass("fromPlain");
    EXPECT_TRUE(fromPlain->hasSize && fromPlain->hasColor);
    EXPECT_EQ(fromPlain->boxMax, Vector(8, 8, 8));
    EXPECT_EQ(fromPlain->color, 220u | (180u << 16));
    const EntityClassDef* own = set.FindClass("own");
    EXPECT_EQ(own->boxMax, Vector(4, 4, 4));
    EXPECT_EQ(own->color, 0x010101u);
    EXPECT_EQ(set.FindClass("fromSized")->boxMax, Vector(2, 2, 2));
    EXPECT_TRUE(set.FindClass("Plain")->isBase);
}

TEST_F(GameDataParserTest, VariablesOfEveryTypeWithDefaultsAndItems) {
    ASSERT_TRUE(Parse(R"(@PointClass = thing [
        angle(Angle) : "Direction" : -1
        target(target_destination) : "Target"
        targetname(target_source)
        count(integer) : "Count" : 7
        message(string) : "Message" : "hello"
        style(CHOICES) : "Style" : 2 = [ 0 : "Normal" 2 : "Pulse" ]
        spawnflags(flags) = [ 1 : "Ambush" : 0 4 : "Easy" : 1 8 : "Hard" : 1 ]
    ])"));
    EntityClassDef* thing = set.FindClass("thing", nullptr);
    ASSERT_NE(thing, nullptr);
    ASSERT_EQ(thing->SlotCount(), 7);
    EXPECT_EQ(thing->VariableAt(0)->type, VariableType::Angle);
    EXPECT_EQ(thing->VariableAt(0)->defaultInteger, -1);
    EXPECT_EQ(thing->VariableAt(2)->description, "targetname");
    EXPECT_EQ(thing->VariableAt(4)->defaultString, "hello");
    EXPECT_EQ(thing->VariableAt(7), nullptr);
    int slot = -1;
    ClassVariable* flags = thing->FindVariable("SPAWNFLAGS", &slot);
    ASSERT_NE(flags, nullptr);
    EXPECT_EQ(slot, 6);
    flags->ResetToDefault();
    EXPECT_EQ(flags->workingInteger, 12);
    EXPECT_EQ(flags->FormatKeyValue().value, "12");
    ClassVariable* style = thing->VariableAt(5);
    style->ResetToDefault();
    EXPECT_EQ(style->FormatKeyValue().key, "style");
    EXPECT_EQ(style->FormatKeyValue().value, "2");
    ASSERT_NE(style->ItemCaption(2), nullptr);
    EXPECT_EQ(*style->ItemCaption(2), "Pulse");
    EXPECT_EQ(style->ItemCaption(1), nullptr);
    EXPECT_EQ(style->ItemValue("pULSE"), 2);
    EXPECT_EQ(style->ItemValue("none"), ClassVariable::kNoItemValue);
    ClassVariable* message = thing->VariableAt(4);
    message->ResetToDefault();
    EXPECT_EQ(message->FormatKeyValue().value, "hello");
    EXPECT_EQ(thing->VariableAt(3)->DefaultKeyValue().value, "7");
}

TEST_F(GameDataParserTest, VariableErrorsUseTheDesignedMessages) {
    struct Case {
        const char* body;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"a(number)", "'number' is not a valid variable type"},
        {"a(flags) : \"x\" = [ ]", "flag sets do not have names"},
        {"a(integer) = [ ]", "didn't expect '=' here"},
        {"a(choices) : \"x\"", "no choices specified"},
        {"a(flags) ]", "no flags specified"},
        {"a(integer) : \"x\" : \"y\"", "expecting integer"},
        {"a(choices) ! [", "expecting '=', but found '!'"},
    };
    for (const Case& c : cases) {
        scoped.Context().messages.Clear();
        GameDataSet fresh;
        EXPECT_FALSE(fresh.LoadFromText(std::string(kMain) + "@PointClass = k [ " + c.body +
                                            " ]\n@PointClass = next []",
                                        "test.ymx"))
            << c.body;
        auto errors = Errors();
        ASSERT_EQ(errors.size(), 1u) << c.body;
        EXPECT_NE(errors[0].find(c.message), std::string::npos) << errors[0];
        EXPECT_EQ(fresh.FindClass("k"), nullptr);
        EXPECT_NE(fresh.FindClass("next"), nullptr) << "reading resumes at the next section";
    }
}

TEST_F(GameDataParserTest, ClassPropertyErrors) {
    EXPECT_FALSE(Parse("@PointClass offset(1 2 3) = a []"));
    EXPECT_NE(Errors().at(0).find("expected 'base' or 'size' or 'color', but found 'offset'"),
              std::string::npos);
    scoped.Context().messages.Clear();
    GameDataSet other;
    EXPECT_FALSE(other.LoadFromText(std::string(kMain) + "@BaseClass = A []\n"
                                                         "@PointClass base(A ! B) = b []",
                                    "test.ymx"));
    EXPECT_NE(Errors().at(0).find("expecting ',' or ')', but found !"), std::string::npos);
}

TEST_F(GameDataParserTest, UnknownBaseDropsTheClassSilentlyAndRedefinitionKeepsTheFirst) {
    EXPECT_TRUE(Parse("@PointClass base(Missing) = lost []\n@PointClass = kept []"));
    EXPECT_EQ(set.FindClass("lost"), nullptr);
    EXPECT_NE(set.FindClass("kept"), nullptr);

    GameDataSet other;
    EXPECT_FALSE(other.LoadFromText(std::string(kMain) + "@PointClass = twice : \"first\" []\n"
                                                         "@PointClass = twice : \"second\" []",
                                    "test.ymx"));
    EXPECT_EQ(Errors().back(), "error parsing test.ymx, line 3: redefinition of class 'twice'");
    EXPECT_EQ(other.FindClass("twice")->description, "first");
    EXPECT_EQ(other.ClassCount(), 1);
}

TEST_F(GameDataParserTest, ClassNamesAreCaseSensitiveKeywordsAreNot) {
    EXPECT_TRUE(Parse("@baseCLASS = Light []\n@POINTclass = light []\n@SolidClass = World []"));
    EXPECT_EQ(set.ClassCount(), 3);
    EXPECT_TRUE(set.FindClass("Light")->isBase);
    EXPECT_TRUE(set.FindClass("light")->IsPointClass());
    EXPECT_EQ(set.FindClass("world"), nullptr);
    int position = -1;
    EXPECT_NE(set.FindClass("World", &position), nullptr);
    EXPECT_EQ(position, 2);
}

TEST_F(GameDataParserTest, TwoBasesMergeTheirFlagsIntoOneSlot) {
    ASSERT_TRUE(Parse(R"(@BaseClass = A [
        target(string)
        spawnflags(flags) = [ 1 : "A one" : 1 2 : "A two" : 0 ]
    ]
    @BaseClass = B [
        spawnflags(flags) = [ 2 : "B two" : 1 4 : "B four" : 0 ]
        target(string) : "B target"
    ]
    @PointClass base(A, B) = C []
    @PointClass base(A) = D [
        spawnflags(flags) = [ 8 : "D eight" : 0 1 : "D one" : 0 ]
    ])"));
    EntityClassDef* c = set.FindClass("C", nullptr);
    ASSERT_EQ(c->SlotCount(), 3);
    int slot = -1;
    const ClassVariable* flags = c->FindVariable("spawnflags", &slot);
    EXPECT_EQ(slot, 1);
    ASSERT_EQ(flags->items.size(), 3u);
    EXPECT_EQ(flags->items[0].caption, "B two");
    EXPECT_EQ(flags->items[1].caption, "B four");
    EXPECT_EQ(flags->items[2].caption, "A one");
    EXPECT_TRUE(c->Slots()[1].IsOwn());
    // Two string variables of one name keep two slots; the first stays a reference to A.
    EXPECT_FALSE(c->Slots()[0].IsOwn());
    EXPECT_EQ(c->Slots()[0].basePosition, 0);
    EXPECT_EQ(c->VariableAt(2)->description, "B target");
    EXPECT_EQ(c->VariableAt(0), set.FindClass("A")->VariableAt(0));

    const EntityClassDef* d = set.FindClass("D");
    ASSERT_EQ(d->SlotCount(), 2);
    const ClassVariable* own = d->FindVariable("spawnflags", &slot);
    EXPECT_EQ(slot, 1);
    ASSERT_EQ(own->items.size(), 3u);
    EXPECT_EQ(own->items[0].caption, "D eight");
    EXPECT_EQ(own->items[1].caption, "D one");
    EXPECT_EQ(own->items[2].caption, "A two");
}

TEST_F(GameDataParserTest, ChoicesMeetingFlagsTakeTheSlotOver) {
    ASSERT_TRUE(Parse(R"(@BaseClass = A [ mode(flags) = [ 1 : "bit" : 0 ] ]
    @PointClass base(A) = B [ mode(choices) : "Mode" = [ 5 : "five" ] ])"));
    const EntityClassDef* b = set.FindClass("B");
    ASSERT_EQ(b->SlotCount(), 1);
    EXPECT_EQ(b->VariableAt(0)->type, VariableType::Choices);
    EXPECT_EQ(b->VariableAt(0)->items.size(), 1u);
    EXPECT_EQ(b->OwnVariables().size(), 1u);
}

TEST_F(GameDataParserTest, LimitsAreErrorsNotTruncation) {
    std::string body;
    for (int i = 0; i < 33; ++i) {
        body += "v" + std::to_string(i) + "(integer) ";
    }
    EXPECT_FALSE(Parse("@PointClass = many [ " + body + "]\n@PointClass = after []"));
    EXPECT_EQ(set.FindClass("many"), nullptr);
    EXPECT_NE(set.FindClass("after"), nullptr);
    EXPECT_NE(Errors().at(0).find("at most 32"), std::string::npos);

    GameDataSet inherited;
    std::string base;
    for (int i = 0; i < 20; ++i) {
        base += "v" + std::to_string(i) + "(integer) ";
    }
    EXPECT_FALSE(inherited.LoadFromText(std::string(kMain) + "@BaseClass = A [ " + base +
                                            "]\n@BaseClass = B [ " + base +
                                            "]\n@PointClass base(A, B) = C []",
                                        "test.ymx"));
    EXPECT_EQ(inherited.FindClass("C"), nullptr);

    GameDataSet names;
    EXPECT_FALSE(names.LoadFromText(std::string(kMain) + "@PointClass = " + std::string(33, 'n') +
                                        " []\n@PointClass = x : \"" + std::string(128, 'd') +
                                        "\" []\n@PointClass = ok []",
                                    "test.ymx"));
    EXPECT_EQ(names.ClassCount(), 1);
    EXPECT_NE(names.FindClass("ok"), nullptr);
}

TEST_F(GameDataParserTest, CharactersThatStartNoTokenEndInErrorsNotLoops) {
    EXPECT_FALSE(Parse("{ } # / \\ \x01 \xff", false));
    auto errors = Errors();
    EXPECT_EQ(errors.size(), 6u);
    EXPECT_EQ(errors.back(), "   - too many errors; aborting.");

    GameDataSet inside;
    EXPECT_FALSE(inside.LoadFromText(std::string(kMain) + "@PointClass = a [ # ]", "test.ymx"));
}

TEST_F(GameDataParserTest, LoadFromMissingFileFailsWithoutMessages) {
    EXPECT_FALSE(set.Load("does-not-exist.ymx"));
    EXPECT_TRUE(Errors().empty());
    std::string path = WriteFile("real.ymx", std::string(kMain) + "@PointClass = one []");
    EXPECT_TRUE(set.Load("real.ymx"));
    EXPECT_TRUE(set.Load(path) == false) << "the second load redefines the class";
}
