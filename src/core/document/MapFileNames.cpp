#include "document/MapFileNames.h"

std::string CompleteMapFileName(const std::string& path, int filterIndex) {
    if (path.empty()) {
        return path;
    }
    const std::string::size_type slash = path.rfind('/');
    const std::string::size_type start = slash == std::string::npos ? 0 : slash + 1;
    if (path.find('.', start) != std::string::npos) {
        return path;
    }
    return path + (filterIndex == 1 ? ".map" : ".rmf");
}
