#include "common/ProgramDirectory.h"

#include "common/EditorContext.h"

std::string ResolveProgramPath(const std::string& path) {
    const std::string& directory = Editor().programDirectory;
    if (path.empty() || path.front() == '/' || directory.empty()) {
        return path;
    }
    if (directory.back() == '/') {
        return directory + path;
    }
    return directory + "/" + path;
}
