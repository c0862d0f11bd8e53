#include "common/StartupArguments.h"

StartupArguments ParseStartupArguments(const std::vector<std::string>& args) {
    StartupArguments result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "nologo" || arg == "-nologo" || arg == "--nologo") {
            result.showLogo = false;
        } else if (arg == "--screenshot") {
            if (i + 1 < args.size()) {
                result.screenshotPath = args[++i];
            }
        } else if (!arg.empty() && arg[0] == '-') {
            continue; // options of the toolkit or of later versions
        } else if (result.fileToOpen.empty()) {
            result.fileToOpen = arg;
        }
    }
    return result;
}
