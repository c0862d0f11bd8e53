#pragma once

#include <string>

// The filters of the map file dialogs: index 0 RMF, index 1 MAP.
inline constexpr const char* kMapFileFilter = "Brickhaven Maps (*.rmf);;Quake Maps (*.map)";

// A chosen file name without a '.' in its last path component gets ".rmf" when the first
// filter was selected and ".map" when the second was; other names stay as they are.
std::string CompleteMapFileName(const std::string& path, int filterIndex);
