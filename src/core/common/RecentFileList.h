#pragma once

#include <string>
#include <vector>

class SettingsStore;

// The most recently opened map files, newest first, kept in the settings section
// "Recent File List" as "File1", "File2", ...
class RecentFileList {
public:
    static constexpr int kDefaultSize = 4;
    static constexpr const char* kSection = "Recent File List";

    explicit RecentFileList(int size = kDefaultSize);

    // Moves the path to the front (adding it when new); the oldest entry drops out.
    void Add(const std::string& path);
    void Remove(const std::string& path);
    const std::vector<std::string>& Files() const { return m_files; }
    int Size() const { return m_size; }

    void Load(SettingsStore& store);
    // Writes every slot; slots without a file get an empty string.
    void Save(SettingsStore& store) const;

private:
    int m_size;
    std::vector<std::string> m_files;
};
