// Cataloguing a WAD2 file of 2,000 textures (directory and texture headers only) and finding
// 10,000 names in it.
#include "gamedata/TextureManager.h"
#include "gamedata/Wad2Writer.h"
#include "session/EditorContext.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {
constexpr int kTextures = 2000;
constexpr int kLookups = 10000;

std::string TextureName(int i) {
    static const char* kinds[] = {"brick", "stone", "metal", "wood", "floor", "+0tech", "*lava"};
    return std::string(kinds[i % 7]) + "_" + std::to_string(i);
}

const std::string& BenchWad() {
    static const std::string path = [] {
        auto file = std::filesystem::temp_directory_path() / "brickhaven-bench-2000.wad";
        Wad2Writer writer;
        for (int i = 0; i < kTextures; ++i) {
            const int width = 16 * (1 + i % 8);
            const int height = 16 * (1 + (i / 8) % 4);
            std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height),
                                             static_cast<std::uint8_t>(i));
            writer.AddTexture(TextureName(i), width, height, {std::move(pixels)});
        }
        writer.Save(file.string());
        return file.string();
    }();
    return path;
}

void CatalogueWad(benchmark::State& state) {
    const std::string& path = BenchWad();
    for (auto _ : state) {
        TextureManager textures;
        textures.LoadAllWadFiles({path});
        if (textures.TextureCount() != kTextures) {
            state.SkipWithError("wrong texture count");
        }
        benchmark::DoNotOptimize(textures.AllTextures().Count());
    }
}
BENCHMARK(CatalogueWad)->Unit(benchmark::kMillisecond);

void FindNames(benchmark::State& state) {
    ScopedEditorContext scoped;
    TextureManager& textures = scoped.Context().TextureCatalogue();
    textures.LoadAllWadFiles({BenchWad()});
    std::vector<std::string> names;
    for (int i = 0; i < kLookups; ++i) {
        std::string name = TextureName((i * 7919) % (kTextures + 200)); // some are missing
        if (i % 3 == 0) {
            for (char& c : name) {
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            }
        }
        names.push_back(name);
    }
    for (auto _ : state) {
        int found = 0;
        for (const std::string& name : names) {
            found += !textures.FindTexture(name, true)->IsPlaceholder();
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * kLookups);
}
BENCHMARK(FindNames)->Unit(benchmark::kMillisecond);
} // namespace
