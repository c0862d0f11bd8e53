#pragma once

#include "gamedata/GameDataSet.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A fresh editor context with scripted prompts and a temporary program directory that holds a
// palette file "test.pal".
class GameDataFixture : public ::testing::Test {
protected:
    GameDataFixture();
    ~GameDataFixture() override;

    // Parses text (with the standard @Main section prepended unless withMain is false).
    bool Parse(const std::string& text, bool withMain = true);
    std::vector<std::string> Errors();
    std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes);
    std::string WriteFile(const std::string& name, const std::string& text);

    static constexpr const char* kMain = "@Main = [ Name : \"Test\" Palette : \"test.pal\" ]\n";

    ScopedEditorContext scoped;
    ScriptedPrompts prompts;
    std::filesystem::path directory;
    GameDataSet set;
};
