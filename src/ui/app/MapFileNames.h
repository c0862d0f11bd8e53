#pragma once

#include <string>

// The filters of the Open dialog: index 0 every map file (so MAP files show at once), index 1
// RMF, index 2 MAP.
inline constexpr const char* kMapFileFilter =
    "All map files (*.rmf *.map);;Brickhaven Maps (*.rmf);;Quake Maps (*.map)";

// A chosen file name without a '.' in its last path component gets ".rmf" when the RMF filter
// was selected and ".map" when the MAP filter was; with every map file shown it gets ".map"
// when only that file exists, else ".rmf". Other names stay as they are.
std::string CompleteMapFileName(const std::string& path, int filterIndex);
