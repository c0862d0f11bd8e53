#pragma once

#include "gamedata/GameDataSet.h"
#include "session/EditorContext.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// A small game data set for the property editors' tests: a light with an integer, a choices
// variable and a spawn flag, a door (solid) with flags up to bit 2048, a player start and the
// world. Installed as the editor's entity classes; the palette lives in a temporary folder.
class PropertiesGameData {
public:
    static constexpr const char* kText =
        "@Main = [ Name : \"Test\" Palette : \"test.pal\" ]\n"
        "@BaseClass = Targetname [ targetname(target_source) : \"Name\" ]\n"
        "@PointClass base(Targetname) = light : \"Light\" [\n"
        "  light(integer) : \"Brightness\" : 300\n"
        "  style(choices) : \"Appearance\" : 0 = [ 0 : \"Normal\" 1 : \"Flicker\" 2 : \"Slow "
        "strobe\" ]\n"
        "  spawnflags(flags) = [ 1 : \"Start off\" : 0 ]\n"
        "]\n"
        "@PointClass = info_player_start : \"Player start\" [ angle(angle) : \"Facing\" ]\n"
        "@SolidClass base(Targetname) = func_door : \"Door\" [\n"
        "  speed(integer) : \"Speed\" : 100\n"
        "  message(string) : \"Message\"\n"
        "  spawnflags(flags) = [ 1 : \"Starts Open\" : 0 4 : \"Don't link\" : 0 2048 : \"Not in "
        "deathmatch\" : 0 ]\n"
        "]\n"
        "@SolidClass = func_wall : \"Wall\" [ ]\n"
        "@SolidClass = worldspawn : \"World\" [ message(string) : \"Title\" : \"A map\" ]\n";

    explicit PropertiesGameData(EditorContext& editor) {
        directory = std::filesystem::temp_directory_path() /
                    ("brickhaven-props-" + std::to_string(::getpid()) + "-" +
                     std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(directory);
        std::ofstream(directory / "test.pal", std::ios::binary) << std::string(768, '\x40');
        editor.programDirectory = directory.string();
        loaded = set.LoadFromText(kText, "test.ymx");
        editor.entityClasses = &set;
    }
    ~PropertiesGameData() {
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
    }

    std::filesystem::path directory;
    GameDataSet set;
    bool loaded = false;
};
