#pragma once

#include "common/TextureLookup.h"
#include "gamedata/QuakeGraphic.h"
#include "gamedata/TextureList.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class ByteSource;
class GamePalette;

// An opened WAD file; kept open for the rest of the run so pixels can be read on first use.
struct WadFileEntry {
    std::string path;
    int id = 0;
    std::unique_ptr<ByteSource> source;
    bool directoryRead = false;
};

// The catalogue of every texture found in the WAD files, the lists the texture bar offers,
// the recently used textures, and the pictures made from the pixels through the palette.
class TextureManager : public TextureLookup {
public:
    static constexpr std::size_t kMaxRecentlyUsed = 8;
    static constexpr const char* kAllTexturesName = "All textures";

    enum class Change {
        ListsChanged,   // WAD files were loaded: texture bars refill
        PaletteChanged, // every picture was remade from the new working palette
    };
    using Observer = std::function<void(Change)>;

    TextureManager();
    ~TextureManager() override;
    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;

    // Catalogues a WAD2 file (a relative path is taken beside the program). The same path
    // (case-sensitive) returns the id it got before without reading again. 0 when the file
    // cannot be opened or does not start with "WAD2".
    int AddWadFile(const std::string& path);
    // The same for a file held in memory; name stands in for the path.
    int AddWadFromMemory(const std::string& name, std::vector<std::uint8_t> bytes);
    // Adds every path in order, sorts "All textures" and tells observers the lists changed.
    void LoadAllWadFiles(const std::vector<std::string>& paths);
    void SortAllTextures();

    // TextureLookup: the first texture of the current list with this name (ignoring case;
    // names are cut to 15 characters), else a placeholder when allowed.
    QuakeGraphic* FindTexture(const std::string& name, bool makePlaceholder) override;
    // The same; position receives the texture's position in the current list, or -1.
    QuakeGraphic* FindTexture(const std::string& name, bool makePlaceholder, int* position);

    int TextureCount() const { return static_cast<int>(m_textures.size()); }
    QuakeGraphic* TextureAt(int globalIndex);
    int PlaceholderCount() const { return static_cast<int>(m_placeholders.size()); }

    // The lists: "All textures" first, then one per WAD file in opening order.
    int ListCount() const { return static_cast<int>(m_lists.size()); }
    const TextureList& ListAt(int index) const { return m_lists[static_cast<std::size_t>(index)]; }
    const TextureList& AllTextures() const { return m_lists.front(); }
    void SelectList(int index);
    int CurrentListIndex() const { return m_currentList; }
    const TextureList& CurrentList() const { return ListAt(m_currentList); }

    // Positions of the texture bar: with withRecentlyUsed the recently used textures come
    // first, then the current list.
    int PositionCount(bool withRecentlyUsed) const;
    QuakeGraphic* TextureAtPosition(int position, bool withRecentlyUsed);

    // Puts the texture at the head of the recently used list (at most 8, no repeats).
    void MarkUsed(QuakeGraphic* texture);
    const std::vector<QuakeGraphic*>& RecentlyUsed() const { return m_recentlyUsed; }

    int WadCount() const { return static_cast<int>(m_wads.size()); }
    // The index of the WAD file opened from this file (paths compared after resolving them
    // against the program folder and tidying "." and ".."), or -1.
    int FindWadFile(const std::string& path) const;
    // Whether the WAD file at this index, or any WAD file (index -1), holds a texture of this
    // name (ignoring case; cut to 15 characters).
    bool WadHoldsTexture(int wadIndex, const std::string& name) const;
    const WadFileEntry& WadAt(int index) const { return m_wads[static_cast<std::size_t>(index)]; }

    // Reads the texture's pixels on first use and stretches them to powers of two.
    bool LoadPixels(QuakeGraphic& texture);
    // The stretched picture (for the 3D view) and the picture at its own size (for 2D
    // drawing), made through the working palette. Null for a texture without a picture
    // ("No Image": placeholders, width 0, unreadable pixels).
    const TextureImage* GetScaledImage(QuakeGraphic& texture);
    const TextureImage* GetNaturalImage(QuakeGraphic& texture);

    // The palette pictures are made with; the manager follows its changes.
    void SetPalette(GamePalette* palette);
    GamePalette* Palette() const { return m_palette; }
    // Remakes every picture already made and tells observers.
    void NotifyPaletteChanged();

    int AddObserver(Observer observer);
    void RemoveObserver(int token);

private:
    int AddWadSource(const std::string& path, std::unique_ptr<ByteSource> source);
    void MakeImage(const std::vector<std::uint8_t>& indices, int width, int height,
                   TextureImage& image);
    unsigned PaletteGeneration() const;
    void Notify(Change change);

    std::deque<QuakeGraphic> m_textures; // stable addresses
    std::vector<std::string> m_lowerNames;
    std::vector<WadFileEntry> m_wads;
    std::vector<TextureList> m_lists;
    int m_currentList = 0;
    std::vector<QuakeGraphic*> m_recentlyUsed;
    std::deque<QuakeGraphic> m_placeholders;
    std::unordered_map<std::string, QuakeGraphic*> m_placeholderByName;
    int m_nextWadId = 1;

    GamePalette* m_palette = nullptr;
    int m_paletteObserver = 0;
    std::vector<std::pair<int, Observer>> m_observers;
    int m_nextObserverToken = 1;
};
