#pragma once

#include "prefabs/Prefab.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class AtomicFileWriter;
class ByteSource;

// A prefab library file (".ol") and its prefabs. All numbers are 32-bit little-endian:
//
//   0    27   header text "Brickhaven Prefab Library\r\n"
//   27   4    version, the float 0.1
//   31   4    offset of the directory
//   35   4    number of directory entries
//   39   504  description, zero-terminated and zero-padded
//   543  ...  each prefab's map as an RMF stream
//   directory: 544 bytes per entry: data offset (4), data size (4), name (31, zero-
//   terminated), notes (501, zero-terminated), kind (4, always 0)
//
// The file stays open for reading while the library is loaded, so a prefab's map is read
// only when it is needed, and saving copies the data of prefabs that were not loaded as it is.
class CPrefabLibrary {
public:
    static constexpr std::string_view kHeaderText{"Brickhaven Prefab Library\r\n", 27};
    static constexpr float kVersion = 0.1f;
    static constexpr std::size_t kInfoSize = 516;
    static constexpr std::size_t kDescriptionField = 504;
    static constexpr std::size_t kDataStart = kHeaderText.size() + kInfoSize; // 543
    static constexpr std::size_t kEntrySize = 544;
    static constexpr std::size_t kNameField = 31;
    static constexpr std::size_t kNotesField = 501;
    static constexpr std::size_t kMaxName = 30;
    static constexpr std::size_t kMaxDescription = 500;
    static constexpr std::size_t kCopyChunk = 64000;
    static constexpr const char* kExtension = ".ol";

    // An empty library with the next identifier of the editor's libraries.
    CPrefabLibrary();
    ~CPrefabLibrary();
    CPrefabLibrary(const CPrefabLibrary&) = delete;
    CPrefabLibrary& operator=(const CPrefabLibrary&) = delete;

    std::uint32_t Id() const { return m_id; }
    const std::string& Name() const { return m_name; }
    // Keeps at most 30 characters. The file is not touched (see Rename).
    void SetName(std::string_view name);
    const std::string& Description() const { return m_description; }
    // Keeps at most 500 characters.
    void SetDescription(std::string_view description);
    const std::string& Path() const { return m_path; }
    void SetPath(const std::string& path) { m_path = path; }
    std::uint32_t DirectoryOffset() const { return m_directoryOffset; }

    // Reads the file at path: 1, or -1 when it cannot be opened, does not begin with the
    // header text, or its directory does not lie inside the file. Directory entries whose
    // data lies outside the file, whose name or notes are not terminated, or whose kind is
    // not 0 are left out (and counted in the message window).
    int Load(const std::string& path);
    // The same from any source of bytes; path names the library.
    int Load(std::unique_ptr<ByteSource> source, const std::string& path);

    // Rewrites the whole file, at newPath when one is given (the library takes that path and
    // its name from it), else at its path (for a library without one, the prefab directory
    // plus the name plus ".ol"). The new file is written beside the old one and replaces it
    // only when complete. 0, or -1 after telling the user; the old file is then unchanged.
    int Save(const std::string& newPath = {});

    // Moves the library's file into the prefab directory under newName + ".ol". An existing
    // file of that name is never replaced: false, after telling the user.
    bool Rename(std::string_view newName);

    const std::vector<std::unique_ptr<CPrefab>>& Prefabs() const { return m_prefabs; }
    int PrefabCount() const { return static_cast<int>(m_prefabs.size()); }
    CPrefab* FindPrefab(std::uint32_t prefabId) const;
    // Appends a prefab; it now belongs to this library. A prefab that comes from another
    // library is loaded first, since its data lies in the other file.
    CPrefab* AddPrefab(std::unique_ptr<CPrefab> prefab);
    // Takes a prefab out of the library; its library becomes 0xFFFF and only a loaded map goes
    // along with it (its data stays in this library's file). Null when not found.
    std::unique_ptr<CPrefab> RemovePrefab(std::uint32_t prefabId);

    // Reads a prefab's stored data from the library file.
    bool ReadPrefabData(const CPrefab& prefab, std::string& data);
    // The library's name from a path: the file name cut at its first '.', up to 30 characters.
    static std::string NameFromPath(const std::string& path);

private:
    bool CopyStoredData(const CPrefab& prefab, AtomicFileWriter& writer);

    std::uint32_t m_id;
    std::string m_name;
    std::string m_description;
    std::string m_path;
    std::uint32_t m_directoryOffset = 0;
    std::unique_ptr<ByteSource> m_source;
    std::vector<std::unique_ptr<CPrefab>> m_prefabs;
};
