#include "GameDataTestSupport.h"

#include <fstream>
#include <random>

GameDataFixture::GameDataFixture() {
    scoped.Context().SetPrompts(&prompts);
    std::random_device random;
    directory = std::filesystem::temp_directory_path() /
                ("brickhaven-gamedata-" + std::to_string(random()));
    std::filesystem::create_directories(directory);
    scoped.Context().programDirectory = directory.string();
    std::vector<std::uint8_t> palette(768);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = static_cast<std::uint8_t>(i / 3);
    }
    WriteFile("test.pal", palette);
}

GameDataFixture::~GameDataFixture() {
    std::error_code error;
    std::filesystem::remove_all(directory, error);
}

bool GameDataFixture::Parse(const std::string& text, bool withMain) {
    return set.LoadFromText(withMain ? std::string(kMain) + text : text, "test.ymx");
}

std::vector<std::string> GameDataFixture::Errors() {
    std::vector<std::string> errors;
    for (const auto& line : scoped.Context().messages.Lines()) {
        if (line.kind == MessageLog::Error) {
            errors.push_back(line.text);
        }
    }
    return errors;
}

std::string GameDataFixture::WriteFile(const std::string& name,
                                       const std::vector<std::uint8_t>& bytes) {
    std::filesystem::path path = directory / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

std::string GameDataFixture::WriteFile(const std::string& name, const std::string& text) {
    return WriteFile(name, std::vector<std::uint8_t>(text.begin(), text.end()));
}
