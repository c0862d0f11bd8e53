#include "session/GameDataStartup.h"

#include "gamedata/GameDataSet.h"
#include "gamedata/TextureManager.h"
#include "session/EditorContext.h"

bool LoadGameData(const std::string& path) {
    EditorContext& editor = Editor();
    bool ok = editor.GameData().Load(path);
    editor.entityClasses = &editor.GameData();
    return ok;
}

void LoadTextureFiles(const std::vector<std::string>& paths) {
    EditorContext& editor = Editor();
    editor.TextureCatalogue().LoadAllWadFiles(paths);
    editor.textures = &editor.TextureCatalogue();
}

void ApplyBrightness(float brightness) {
    Editor().GameData().Palette().SetBrightness(brightness);
}
