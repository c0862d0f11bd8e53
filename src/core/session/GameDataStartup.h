#pragma once

#include <string>
#include <vector>

// Start-up steps of the editor's game data and textures, on the current editor context.

// Loads the game data file (default "quake.ymx", relative to the program directory) into the
// editor's game data set and makes it the current game data whether or not the load succeeded.
bool LoadGameData(const std::string& path);
// Catalogues the WAD files in order and makes the texture manager the current texture lookup.
void LoadTextureFiles(const std::vector<std::string>& paths);
// Sets the brightness of the game data palette; every texture picture is remade.
void ApplyBrightness(float brightness);
