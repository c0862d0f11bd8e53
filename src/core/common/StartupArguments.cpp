#include "common/StartupArguments.h"

StartupArguments ParseStartupArguments(const std::vector<std::string>& args) {
    StartupArguments result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "nologo" || arg == "-nologo" || arg == "--nologo") {
            result.showLogo = false;
        } else if (arg == "--help" || arg == "-h") {
            result.showHelp = true;
        } else if (arg == "--version") {
            result.showVersion = true;
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

std::string CommandLineHelp(const std::string& dataDirectory) {
    std::string text =
        "Usage: Tarno [FILE] [nologo]\n"
        "       Tarno --info FILE | --check FILE | --convert IN OUT | --recover-list\n"
        "\n"
        "Brickhaven's level editor for Quake. FILE is a map to open: RMF (.rmf) or\n"
        "Quake MAP text (.map).\n"
        "\n"
        "Options:\n"
        "  nologo              start without the logo window\n"
        "  --screenshot PNG    save a picture of the main window once every view has\n"
        "                      painted, then quit\n"
        "  -h, --help          show this text and exit\n"
        "  --version           show the version and exit\n"
        "\n"
        "Batch options (no window, no display needed):\n"
        "  --info FILE         the map's counts of solids, faces and entities, and the\n"
        "                      solids that could not be loaded\n"
        "  --check FILE        the problem checker's list, one problem a line\n"
        "  --convert IN OUT    convert between MAP and RMF, by the files' extensions\n"
        "  --recover-list      autosaves waiting for recovery: map, autosave file, time\n"
        "\n"
        "Files:\n"
        "  $XDG_CONFIG_HOME/Brickhaven/Brickhaven.ini   settings (~/.config/...)\n"
        "  $XDG_STATE_HOME/Brickhaven/autosave/         autosaves (~/.local/state/...)\n"
        "  $XDG_DATA_HOME/Brickhaven/prefabs/           prefab libraries when the data\n"
        "                                               folder is read-only\n";
    text += "  " + (dataDirectory.empty() ? std::string("(not found)") : dataDirectory) +
            "\n                      game data, palette, textures, example map, manual\n";
    text += "\n"
            "Exit status: 0 on success; 1 when a file could not be read or written (for\n"
            "--check: the map has problems); 2 for a wrong command line (for --check: the\n"
            "map could not be read).\n"
            "\n"
            "See Tarno(1) for more.\n";
    return text;
}

std::string VersionLine(const std::string& version) {
    return "Tarno (Brickhaven) " + version + "\n";
}
