#pragma once

#include "common/EntityClassLookup.h"
#include "gamedata/EntityClassDef.h"
#include "gamedata/GamePalette.h"

#include <memory>
#include <string>
#include <vector>

// The game data: which entity classes the game knows, the palette textures are drawn with and
// the class given to entities made from solids. Read from a YMX file; the one set of a run
// lives in the document services.
class GameDataSet : public EntityClassLookup {
public:
    static constexpr int kMaxErrors = 5;
    static constexpr std::size_t kMaxName = 127;

    // Reads the file (a relative path is taken beside the program) and adds what it declares.
    // Parse errors go to the message log as "error parsing <path>, line <n>: <message>".
    // True only when the file was read, an @Main section was read (its palette included) and
    // no error was reported.
    bool Load(const std::string& path);
    // The same for text already in memory; fileName only appears in messages.
    bool LoadFromText(const std::string& text, const std::string& fileName);

    const std::string& Name() const { return m_name; }
    const std::string& PaletteFile() const { return m_paletteFile; }
    const std::string& DefaultClass() const { return m_defaultClass; }
    GamePalette& Palette() { return m_palette; }
    const GamePalette& Palette() const { return m_palette; }

    // Classes in file order; a class's position identifies it in slot references.
    int ClassCount() const { return static_cast<int>(m_classes.size()); }
    EntityClassDef* ClassAt(int position) const;
    const std::vector<std::unique_ptr<EntityClassDef>>& Classes() const { return m_classes; }

    // Exact, case-sensitive; the first match in list order. position receives its index or -1.
    EntityClassDef* FindClass(const std::string& name, int* position) const;

    // EntityClassLookup
    const EntityClassDef* FindClass(const std::string& name) const override;
    std::string DefaultClassName() const override { return m_defaultClass; }

    // Errors reported by the last load.
    int ErrorCount() const { return m_errorCount; }

private:
    friend class GameDataParser;

    std::string m_name;
    std::string m_paletteFile;
    std::string m_defaultClass;
    std::vector<std::unique_ptr<EntityClassDef>> m_classes;
    GamePalette m_palette;
    int m_errorCount = 0;
};
