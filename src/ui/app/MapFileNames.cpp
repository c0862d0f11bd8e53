#include "app/MapFileNames.h"

#include <filesystem>
#include <system_error>

namespace {
bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}
} // namespace

std::string CompleteMapFileName(const std::string& path, int filterIndex) {
    if (path.empty()) {
        return path;
    }
    const std::string::size_type slash = path.rfind('/');
    const std::string::size_type start = slash == std::string::npos ? 0 : slash + 1;
    if (path.find('.', start) != std::string::npos) {
        return path;
    }
    if (filterIndex == 0) {
        const bool onlyMap = !FileExists(path + ".rmf") && FileExists(path + ".map");
        return path + (onlyMap ? ".map" : ".rmf");
    }
    return path + (filterIndex == 2 ? ".map" : ".rmf");
}
