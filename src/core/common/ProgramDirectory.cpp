#include "common/ProgramDirectory.h"

#include "common/CoreServices.h"

#include <filesystem>
#include <system_error>

std::string ResolveProgramPath(const std::string& path) {
    const std::string& directory = CoreServices::Installed().programDirectory;
    if (path.empty() || path.front() == '/' || directory.empty()) {
        return path;
    }
    if (directory.back() == '/') {
        return directory + path;
    }
    return directory + "/" + path;
}

namespace {
bool HoldsShippedData(const std::filesystem::path& folder) {
    std::error_code ec;
    return std::filesystem::is_regular_file(folder / kShippedDataMarker, ec);
}
} // namespace

std::string ChooseProgramDirectory(const std::string& executableDirectory,
                                   const std::string& installedDataDirectory) {
    const std::filesystem::path beside(executableDirectory);
    if (executableDirectory.empty() || HoldsShippedData(beside) || installedDataDirectory.empty()) {
        return executableDirectory;
    }
    std::filesystem::path installed(installedDataDirectory);
    if (installed.is_relative()) {
        installed = beside / installed;
    }
    if (!HoldsShippedData(installed)) {
        return executableDirectory;
    }
    std::error_code ec;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(installed, ec);
    return (ec ? installed.lexically_normal() : canonical).string();
}

std::string RunningExecutableDirectory() {
    std::error_code ec;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : executable.parent_path().string();
}
