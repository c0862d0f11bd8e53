#pragma once

#include <functional>
#include <string>
#include <vector>

class SettingsStore;

// The editor's persistent settings, read at start-up and written when the main window closes.
class Options {
public:
    // Apply() bits.
    static constexpr int kApplyTextures = 1;
    static constexpr int kApplyBrightness = 2;
    static constexpr int kApplyViews = 4;

    // "General"
    std::vector<std::string> textureFiles;
    std::string mapDirectory;
    std::string quakeDirectory;
    float brightness = 1.0f;
    int undoLevels = 50;
    // Seconds between autosaves of modified maps; 0 turns autosave off.
    int autosaveInterval = 300;
    // Keep the previous file as NAME.bak when a map is saved over it.
    bool keepBackup = true;
    // Texture lock for standard maps and for maps of the texture-axis dialect, whose editors
    // keep textures locked to their solids by default.
    bool textureLock = false;
    bool textureLockAxisMaps = true;
    // "2D Views"
    bool crosshairs = false;
    bool groupCarve = true;
    bool scrollbars = true;
    bool rotateConstrain = false;
    bool drawVertices = true;
    int defaultGrid = 64;
    // "3D Views"
    bool hardware = true;
    bool reverseY = true;

    // What Apply() triggers; the shell and the texture manager install these. A missing
    // action is skipped (at start-up only the textures can be loaded).
    std::function<void()> reloadTextures;
    std::function<void(float brightness)> applyBrightness;
    std::function<void()> updateViews;

    // Binds to the store, writes the first-run defaults when the store was never configured,
    // then loads. existsCheck decides whether a listed WAD path is kept (default: the file
    // exists, relative paths resolved against the program folder).
    void Initialize(SettingsStore& store);
    void Load();
    void Save();
    void Apply(int flags);
    void SetFirstRunDefaults();

    // Brightness as stored: whole tenths.
    static int BrightnessToTenths(float brightness);

    std::function<bool(const std::string& path)> pathExists;

private:
    SettingsStore* m_store = nullptr;
};
