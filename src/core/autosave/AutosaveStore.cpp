#include "autosave/AutosaveStore.h"

#include "autosave/AutosaveSession.h"
#include "platform/AtomicFileWriter.h"
#include "platform/FileSystemOps.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr const char* kInfoSuffix = ".info";
constexpr const char* kAutosaveSuffix = ".rmf";
constexpr std::size_t kMaxNameInKey = 64;

std::uint64_t Fnv1a(std::string_view bytes, std::uint64_t hash = 14695981039346656037ull) {
    for (unsigned char c : bytes) {
        hash = (hash ^ c) * 1099511628211ull;
    }
    return hash;
}

std::string Hex(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

// The file name, with anything but letters, digits, '.', '-' and '_' made '_'.
std::string SafeFileName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() > kMaxNameInKey) {
        name.resize(kMaxNameInKey);
    }
    for (char& c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        c = plain ? c : '_';
    }
    if (name.empty() || name[0] == '.') {
        name.insert(0, "map");
    }
    return name;
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::int64_t ModifiedNs(const std::string& path, bool& exists) {
    struct stat info {};
    exists = ::stat(path.c_str(), &info) == 0;
    if (!exists) {
        return 0;
    }
    return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

std::vector<std::string> DirectoryNames(const std::string& directory) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(directory.c_str());
    if (!dir) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

bool ReadSmallFile(const std::string& path, std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return false;
    }
    char buffer[4096];
    text.clear();
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0 && text.size() < 65536) {
        text.append(buffer, got);
    }
    std::fclose(file);
    return true;
}
} // namespace

AutosaveStore::AutosaveStore(std::string directory) : m_directory(std::move(directory)) {
    while (m_directory.size() > 1 && m_directory.back() == '/') {
        m_directory.pop_back();
    }
}

std::string AutosaveStore::DefaultDirectory() {
    return XdgBaseDirectory("XDG_STATE_HOME", ".local/state") + "/Brickhaven/autosave";
}

std::string AutosaveStore::KeyForMap(const std::string& mapPath) {
    return SafeFileName(mapPath) + "-" + Hex(Fnv1a(mapPath));
}

std::string AutosaveStore::KeyForUntitled(std::uint64_t serial) {
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    const std::string seed =
        std::to_string(getpid()) + ":" + std::to_string(now) + ":" + std::to_string(serial);
    return "Untitled-" + Hex(Fnv1a(seed));
}

bool AutosaveStore::EnsureDirectory(std::string& error) const {
    if (!MakeDirectories(m_directory)) {
        error = "cannot create the folder " + m_directory + ": " + std::strerror(errno);
        return false;
    }
    // Autosaves are the user's own work in progress: nobody else reads the folder.
    ::chmod(m_directory.c_str(), 0700);
    return true;
}

std::string AutosaveStore::FileName(const std::string& key, std::uint64_t sequence) const {
    char number[24];
    std::snprintf(number, sizeof number, ".%06llu", static_cast<unsigned long long>(sequence));
    return key + number + kAutosaveSuffix;
}

std::vector<std::uint64_t> AutosaveStore::Sequences(const std::string& key) const {
    std::vector<std::uint64_t> sequences;
    const std::string prefix = key + ".";
    for (const std::string& name : DirectoryNames(m_directory)) {
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
            !EndsWith(name, kAutosaveSuffix)) {
            continue;
        }
        const std::string digits =
            name.substr(prefix.size(), name.size() - prefix.size() - std::strlen(kAutosaveSuffix));
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        sequences.push_back(std::strtoull(digits.c_str(), nullptr, 10));
    }
    std::sort(sequences.begin(), sequences.end());
    return sequences;
}

bool AutosaveStore::WriteInfo(const std::string& key, const std::string& mapPath,
                              std::string& error) const {
    AtomicFileWriter writer;
    if (!writer.Open(PathOf(key + kInfoSuffix)) ||
        !writer.Write("pid=" + std::to_string(getpid()) + "\npath=" + mapPath) ||
        !writer.Commit()) {
        error = writer.Error();
        return false;
    }
    return true;
}

bool AutosaveStore::Write(const std::string& key, const std::string& mapPath, std::string_view data,
                          std::string& error) {
    if (!EnsureDirectory(error) || !WriteInfo(key, mapPath, error)) {
        return false;
    }
    std::vector<std::uint64_t> sequences = Sequences(key);
    const std::uint64_t next = sequences.empty() ? 1 : sequences.back() + 1;
    AtomicFileWriter writer;
    if (!writer.Open(PathOf(FileName(key, next))) || !writer.Write(data.data(), data.size()) ||
        !writer.Commit()) {
        error = writer.Error();
        return false;
    }
    sequences.push_back(next);
    const std::size_t excess =
        sequences.size() > static_cast<std::size_t>(kKeep) ? sequences.size() - kKeep : 0;
    for (std::size_t i = 0; i < excess; ++i) {
        ::unlink(PathOf(FileName(key, sequences[i])).c_str());
    }
    return true;
}

bool AutosaveStore::Claim(const std::string& key, const std::string& mapPath, std::string& error) {
    return EnsureDirectory(error) && WriteInfo(key, mapPath, error);
}

void AutosaveStore::Remove(const std::string& key) {
    for (std::uint64_t sequence : Sequences(key)) {
        ::unlink(PathOf(FileName(key, sequence)).c_str());
    }
    ::unlink(PathOf(key + kInfoSuffix).c_str());
}

std::vector<std::string> AutosaveStore::Files(const std::string& key) const {
    std::vector<std::string> files;
    for (std::uint64_t sequence : Sequences(key)) {
        files.push_back(PathOf(FileName(key, sequence)));
    }
    return files;
}

bool AutosaveStore::Find(const std::string& key, AutosaveEntry& entry) const {
    const std::vector<std::uint64_t> sequences = Sequences(key);
    if (sequences.empty()) {
        return false;
    }
    entry = AutosaveEntry{};
    entry.key = key;
    entry.file = PathOf(FileName(key, sequences.back()));
    bool exists = false;
    entry.modifiedNs = ModifiedNs(entry.file, exists);
    std::string info;
    if (ReadSmallFile(PathOf(key + kInfoSuffix), info)) {
        const std::size_t pathAt = info.find("\npath=");
        if (info.compare(0, 4, "pid=") == 0) {
            entry.ownerPid = std::atoi(info.c_str() + 4);
        }
        if (pathAt != std::string::npos) {
            entry.mapPath = info.substr(pathAt + 6);
        }
    }
    return exists;
}

std::vector<AutosaveEntry> AutosaveStore::List() const {
    std::vector<AutosaveEntry> entries;
    for (const std::string& name : DirectoryNames(m_directory)) {
        if (name[0] == '.' || !EndsWith(name, kInfoSuffix)) {
            continue;
        }
        AutosaveEntry entry;
        if (Find(name.substr(0, name.size() - std::strlen(kInfoSuffix)), entry)) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

bool AutosaveStore::IsNewerThanMap(const AutosaveEntry& entry) {
    if (entry.mapPath.empty()) {
        return true;
    }
    bool exists = false;
    const std::int64_t mapTime = ModifiedNs(entry.mapPath, exists);
    return !exists || entry.modifiedNs > mapTime;
}

std::vector<AutosaveEntry> AutosaveStore::Recoverable() const {
    std::vector<AutosaveEntry> entries;
    for (AutosaveEntry& entry : List()) {
        if (!AutosaveSession::IsLive(m_directory, entry.ownerPid) && IsNewerThanMap(entry)) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

void AutosaveStore::RemoveOutdated() {
    AutosaveSession::RemoveStaleLocks(m_directory);
    for (const AutosaveEntry& entry : List()) {
        if (!AutosaveSession::IsLive(m_directory, entry.ownerPid) && !IsNewerThanMap(entry)) {
            Remove(entry.key);
        }
    }
}
