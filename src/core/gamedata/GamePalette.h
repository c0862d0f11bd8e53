#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The 256-colour palette that textures are drawn with: the colours as read from the palette
// file, and the working colours (the file's adjusted by the brightness).
class GamePalette {
public:
    static constexpr int kEntryCount = 256;
    static constexpr std::size_t kFileSize = 768;
    // Flags byte of every entry (reserved and no-collapse together).
    static constexpr std::uint8_t kEntryFlags = 5;
    static constexpr float kMinBrightness = 0.1f;
    static constexpr float kMaxBrightness = 5.0f;
    static constexpr float kBrightnessStep = 0.2f;

    struct Entry {
        std::uint8_t red = 0;
        std::uint8_t green = 0;
        std::uint8_t blue = 0;
        std::uint8_t flags = kEntryFlags;
        bool operator==(const Entry&) const = default;
    };
    using Colors = std::array<Entry, kEntryCount>;

    // Observers hear every change of the working colours.
    using Observer = std::function<void()>;

    // Reads 768 bytes of red, green, blue triples. The working colours become the file's;
    // brightness is applied only by SetBrightness(). Fails, changing nothing, when the file
    // cannot be opened or is shorter than 768 bytes.
    bool Load(const std::string& path);
    bool LoadFromBytes(const std::uint8_t* data, std::size_t size);

    // Factors <= 0 are ignored. 1.0 restores the file's colours exactly; otherwise each
    // component becomes file value x factor, limited to 255 and truncated toward zero.
    void SetBrightness(float factor);
    float Brightness() const { return m_brightness; }

    const Colors& FileColors() const { return m_fileColors; }
    const Colors& WorkingColors() const { return m_workingColors; }
    const std::string& Path() const { return m_path; }
    bool IsLoaded() const { return m_loaded; }
    // Counts changes of the working colours, so images made from them can tell they are old.
    unsigned Generation() const { return m_generation; }

    int AddObserver(Observer observer);
    void RemoveObserver(int token);

    // One brighter or darker step from current (delta +-0.2, kept in tenths as the setting
    // stores it); nothing when the result would leave 0.1 .. 5.0.
    static std::optional<float> StepBrightness(float current, float delta);

private:
    void Changed();

    float m_brightness = 1.0f;
    Colors m_fileColors{};
    Colors m_workingColors{};
    std::string m_path;
    bool m_loaded = false;
    unsigned m_generation = 0;
    std::vector<std::pair<int, Observer>> m_observers;
    int m_nextToken = 1;
};
