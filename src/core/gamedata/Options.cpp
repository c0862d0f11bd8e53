#include "gamedata/Options.h"

#include "common/CoreServices.h"
#include "common/ProgramDirectory.h"
#include "common/SettingsStore.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace {
const char* const kGeneral = "General";
const char* const kViews2D = "2D Views";
const char* const kViews3D = "3D Views";
const char* const kConfigured = "Configured";

std::string DefaultQuakeDirectory() {
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "") + "/quake";
}

bool DefaultPathExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(ResolveProgramPath(path), ec);
}
} // namespace

int Options::BrightnessToTenths(float value) {
    return static_cast<int>(std::lround(static_cast<double>(value) * 10.0));
}

void Options::SetFirstRunDefaults() {
    textureFiles = {"textures.wad"};
    mapDirectory = "./";
    quakeDirectory = DefaultQuakeDirectory();
    brightness = 1.0f;
    undoLevels = 50;
    autosaveInterval = 300;
    keepBackup = true;
    textureLock = false;
    textureLockAxisMaps = true;
    crosshairs = false;
    groupCarve = true;
    scrollbars = true;
    rotateConstrain = false;
    drawVertices = true;
    defaultGrid = 64;
    hardware = true;
    reverseY = false;
}

void Options::Initialize(SettingsStore& store) {
    m_store = &store;
    if (store.GetInt(kConfigured, kConfigured, 0) != 2) {
        SetFirstRunDefaults();
        Save();
    }
    Load();
}

void Options::Load() {
    if (!m_store || m_store->GetInt(kConfigured, kConfigured, 0) == 0) {
        return;
    }
    SettingsStore& s = *m_store;
    auto exists = pathExists ? pathExists : DefaultPathExists;
    textureFiles.clear();
    int count = s.GetInt(kGeneral, "TextureFileCount", 0);
    for (int i = 0; i < count; ++i) {
        std::string path = s.GetString(kGeneral, "TextureFile" + std::to_string(i), "");
        if (!path.empty() && exists(path)) {
            textureFiles.push_back(path);
        } else if (!path.empty()) {
            // Left out of the list, but the user learns which textures will be missing.
            CoreServices::Installed().messages.AddLine(
                MessageLog::Error, "The texture file %s was not found; it is left out.",
                ResolveProgramPath(path).c_str());
        }
    }
    mapDirectory = s.GetString(kGeneral, "Map Files", "");
    quakeDirectory = s.GetString(kGeneral, "Quake Directory", "");
    brightness = static_cast<float>(s.GetInt(kGeneral, "Brightness", 10) * 0.1);
    undoLevels = s.GetInt(kGeneral, "Undo Levels", 50);
    autosaveInterval = std::max(0, s.GetInt(kGeneral, "Autosave Interval", 300));
    keepBackup = s.GetInt(kGeneral, "Keep Backup", 1) != 0;
    textureLock = s.GetInt(kGeneral, "Texture Lock", 0) != 0;
    textureLockAxisMaps = s.GetInt(kGeneral, "Texture Lock 220", 1) != 0;
    crosshairs = s.GetInt(kViews2D, "Crosshairs", 0) != 0;
    groupCarve = s.GetInt(kViews2D, "GroupCarve", 1) != 0;
    scrollbars = s.GetInt(kViews2D, "Scrollbars", 1) != 0;
    rotateConstrain = s.GetInt(kViews2D, "RotateConstrain", 0) != 0;
    drawVertices = s.GetInt(kViews2D, "Draw Vertices", 1) != 0;
    defaultGrid = s.GetInt(kViews2D, "Default Grid", 64);
    hardware = s.GetInt(kViews3D, "Hardware", 1) != 0;
    reverseY = s.GetInt(kViews3D, "Reverse Y", 1) != 0;
    Apply(kApplyTextures | kApplyBrightness | kApplyViews);
}

void Options::Save() {
    if (!m_store) {
        return;
    }
    SettingsStore& s = *m_store;
    s.WriteInt(kConfigured, kConfigured, 2);
    s.WriteInt(kGeneral, "TextureFileCount", static_cast<int>(textureFiles.size()));
    for (std::size_t i = 0; i < textureFiles.size(); ++i) {
        s.WriteString(kGeneral, "TextureFile" + std::to_string(i), textureFiles[i]);
    }
    s.WriteString(kGeneral, "Map Files", mapDirectory);
    s.WriteString(kGeneral, "Quake Directory", quakeDirectory);
    s.WriteInt(kGeneral, "Brightness", BrightnessToTenths(brightness));
    s.WriteInt(kGeneral, "Undo Levels", undoLevels);
    s.WriteInt(kGeneral, "Autosave Interval", autosaveInterval);
    s.WriteInt(kGeneral, "Keep Backup", keepBackup);
    s.WriteInt(kGeneral, "Texture Lock", textureLock);
    s.WriteInt(kGeneral, "Texture Lock 220", textureLockAxisMaps);
    s.WriteInt(kViews2D, "Crosshairs", crosshairs);
    s.WriteInt(kViews2D, "GroupCarve", groupCarve);
    s.WriteInt(kViews2D, "Scrollbars", scrollbars);
    s.WriteInt(kViews2D, "RotateConstrain", rotateConstrain);
    s.WriteInt(kViews2D, "Draw Vertices", drawVertices);
    s.WriteInt(kViews2D, "Default Grid", defaultGrid);
    s.WriteInt(kViews3D, "Hardware", hardware);
    s.WriteInt(kViews3D, "Reverse Y", reverseY);
}

void Options::Apply(int flags) {
    if ((flags & kApplyTextures) && reloadTextures) {
        reloadTextures();
    }
    if ((flags & kApplyBrightness) && applyBrightness) {
        applyBrightness(brightness);
    }
    if ((flags & kApplyViews) && updateViews) {
        updateViews();
    }
}
