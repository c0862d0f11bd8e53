#include "gamedata/GamePalette.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

bool GamePalette::Load(const std::string& path) {
    // Only plain files: a device or pipe named here could block or never end.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    std::vector<std::uint8_t> bytes(kFileSize);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(kFileSize));
    if (static_cast<std::size_t>(file.gcount()) != kFileSize) {
        return false;
    }
    if (!LoadFromBytes(bytes.data(), bytes.size())) {
        return false;
    }
    m_path = path;
    return true;
}

bool GamePalette::LoadFromBytes(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < kFileSize) {
        return false;
    }
    for (int i = 0; i < kEntryCount; ++i) {
        Entry& entry = m_fileColors[static_cast<std::size_t>(i)];
        entry.red = data[i * 3];
        entry.green = data[i * 3 + 1];
        entry.blue = data[i * 3 + 2];
        entry.flags = kEntryFlags;
    }
    m_workingColors = m_fileColors;
    m_loaded = true;
    Changed();
    return true;
}

void GamePalette::SetBrightness(float factor) {
    if (!(factor > 0.0f)) {
        return;
    }
    m_brightness = factor;
    if (factor == 1.0f) {
        m_workingColors = m_fileColors;
    } else {
        auto scale = [factor](std::uint8_t component) {
            float scaled = static_cast<float>(component) * factor;
            if (scaled >= 255.0f) {
                return std::uint8_t{255};
            }
            return static_cast<std::uint8_t>(scaled);
        };
        for (std::size_t i = 0; i < m_fileColors.size(); ++i) {
            const Entry& source = m_fileColors[i];
            m_workingColors[i] =
                Entry{scale(source.red), scale(source.green), scale(source.blue), kEntryFlags};
        }
    }
    Changed();
}

std::optional<float> GamePalette::StepBrightness(float current, float delta) {
    float next = std::round((current + delta) * 10.0f) / 10.0f;
    if (next < kMinBrightness - 0.001f || next > kMaxBrightness + 0.001f) {
        return std::nullopt;
    }
    return next;
}

int GamePalette::AddObserver(Observer observer) {
    int token = m_nextToken++;
    m_observers.emplace_back(token, std::move(observer));
    return token;
}

void GamePalette::RemoveObserver(int token) {
    std::erase_if(m_observers, [token](const auto& entry) { return entry.first == token; });
}

void GamePalette::Changed() {
    ++m_generation;
    auto observers = m_observers;
    for (auto& [token, observer] : observers) {
        observer();
    }
}
