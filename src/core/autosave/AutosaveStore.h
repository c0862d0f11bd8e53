#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One map's autosaves in the autosave folder, as found on disk.
struct AutosaveEntry {
    std::string key;             // names the map's files in the folder
    std::string mapPath;         // the map the autosaves belong to; empty for a never-saved map
    std::string file;            // the newest autosave
    std::int64_t modifiedNs = 0; // its modification time, nanoseconds since the epoch
    int ownerPid = 0;            // the Tarno process that wrote it
};

// The autosave folder ($XDG_STATE_HOME/Brickhaven/autosave): for every map a key made of
// the map's file name and a hash of its full path (so two maps of the same name in different
// folders never mix), KEY.info with the map's path and the writing process, and up to kKeep
// autosaves KEY.000001.rmf, KEY.000002.rmf, ... written atomically. The operations are plain
// file work on separate keys; the autosave worker calls them from its own thread.
class AutosaveStore {
public:
    static constexpr int kKeep = 10;

    explicit AutosaveStore(std::string directory);
    const std::string& Directory() const { return m_directory; }

    // $XDG_STATE_HOME/Brickhaven/autosave, or ~/.local/state/Brickhaven/autosave.
    static std::string DefaultDirectory();
    // "NAME.rmf-0123456789abcdef" for /some/folder/NAME.rmf.
    static std::string KeyForMap(const std::string& mapPath);
    // A key for a never-saved map of this process ("Untitled-..."), unique per serial.
    static std::string KeyForUntitled(std::uint64_t serial);

    // Writes data as the newest autosave of key and removes all but the newest kKeep.
    // False with error when the file could not be written (older autosaves stay).
    bool Write(const std::string& key, const std::string& mapPath, std::string_view data,
               std::string& error);
    // Records this process as the writer of key's autosaves (a recovered map continues them).
    bool Claim(const std::string& key, const std::string& mapPath, std::string& error);
    // Deletes every file of key.
    void Remove(const std::string& key);
    // The autosave files of key, oldest first.
    std::vector<std::string> Files(const std::string& key) const;
    // Every key with at least one autosave, by key.
    std::vector<AutosaveEntry> List() const;
    // The entry of key, if it has autosaves.
    bool Find(const std::string& key, AutosaveEntry& entry) const;

    // What a start-up offers: autosaves of no running Tarno that are newer than their maps
    // (or whose map has no file).
    std::vector<AutosaveEntry> Recoverable() const;
    // Deletes the autosaves of no running Tarno that are older than their maps, and the
    // session locks of Tarnos that ended.
    void RemoveOutdated();
    // True when the entry's autosave is newer than its map file, or the map has no file.
    static bool IsNewerThanMap(const AutosaveEntry& entry);

private:
    std::string PathOf(const std::string& name) const { return m_directory + "/" + name; }
    bool EnsureDirectory(std::string& error) const;
    bool WriteInfo(const std::string& key, const std::string& mapPath, std::string& error) const;
    std::vector<std::uint64_t> Sequences(const std::string& key) const;
    std::string FileName(const std::string& key, std::uint64_t sequence) const;

    std::string m_directory;
};
