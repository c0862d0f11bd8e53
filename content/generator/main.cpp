// Writes the data files that ship with the editor into the folder given on the command line:
// the palette (quake.pal), the textures (textures.wad) and the example map (maps/example.map).
#include "ExampleMap.h"
#include "Palette.h"
#include "TextureArt.h"
#include "gamedata/Wad2Writer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {
bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::error_code error;
    std::filesystem::create_directories(out / "maps", error);

    Palette palette;
    auto bytes = palette.FileBytes();
    if (!WriteFile(out / "quake.pal", std::string(bytes.begin(), bytes.end()))) {
        std::fprintf(stderr, "cannot write %s\n", (out / "quake.pal").c_str());
        return 1;
    }

    Wad2Writer wad;
    for (GeneratedTexture& texture : DrawAllTextures(palette)) {
        wad.AddTexture(texture.name, texture.width, texture.height, std::move(texture.levels));
    }
    if (!wad.Save((out / "textures.wad").string())) {
        std::fprintf(stderr, "cannot write %s\n", (out / "textures.wad").c_str());
        return 1;
    }

    if (!WriteFile(out / "maps" / "example.map", ExampleMapText())) {
        std::fprintf(stderr, "cannot write %s\n", (out / "maps" / "example.map").c_str());
        return 1;
    }
    return 0;
}
