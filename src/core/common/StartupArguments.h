#pragma once

#include <string>
#include <vector>

// What the editor's command line asks for: `Tarno [file] [nologo]`, and
// `--screenshot PNG` to write a picture of the main window once every view has painted.
struct StartupArguments {
    bool showLogo = true;
    std::string fileToOpen;
    std::string screenshotPath;
};

// args excludes the program name. "nologo" (also written "-nologo" or "--nologo") turns the
// logo window off; the first other argument that is not an option names the file to open.
StartupArguments ParseStartupArguments(const std::vector<std::string>& args);
