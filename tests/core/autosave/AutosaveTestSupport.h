#pragma once

#include "autosave/AutosaveStore.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace autosave_test {

namespace fs = std::filesystem;

// A temporary folder removed with the object.
struct TempFolder {
    fs::path path;
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "autosave-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TempFolder() { fs::remove_all(path); }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A process id no Tarno holds a session lock for: the autosaves look left by a crash.
constexpr int kDeadPid = 2147480000;

// Makes key's autosaves look like those of a Tarno that crashed.
inline void OrphanAutosaves(const std::string& directory, const std::string& key,
                            const std::string& mapPath) {
    WriteFile(directory + "/" + key + ".info",
              "pid=" + std::to_string(kDeadPid) + "\npath=" + mapPath);
}

// Sets a file's modification time relative to now.
inline void SetAge(const std::string& path, int secondsAgo) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::seconds(secondsAgo));
}

} // namespace autosave_test
