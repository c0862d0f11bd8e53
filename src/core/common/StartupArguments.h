#pragma once

#include <string>
#include <vector>

// What the editor's command line asks for: `Tarno [file] [nologo]`, and
// `--screenshot PNG` to write a picture of the main window once every view has painted.
// `--help` (`-h`) and `--version` print their text and end the program before any window.
struct StartupArguments {
    bool showLogo = true;
    bool showHelp = false;
    bool showVersion = false;
    std::string fileToOpen;
    std::string screenshotPath;
};

// args excludes the program name. "nologo" (also written "-nologo" or "--nologo") turns the
// logo window off; the first other argument that is not an option names the file to open.
StartupArguments ParseStartupArguments(const std::vector<std::string>& args);

// The text of `Tarno --help`: the ways to start Tarno, its options, the files it reads and
// writes and its exit codes. dataDirectory is the folder the shipped data is read from.
std::string CommandLineHelp(const std::string& dataDirectory);

// The text of `Tarno --version`: one line with the program, product and version.
std::string VersionLine(const std::string& version);
