#pragma once

#include "document/ProcessOutput.h"
#include "platform/ProcessRunner.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class SettingsStore;

// Choices of the "Run Map" dialog, kept in the settings section "Run Map".
struct RunMapSettings {
    enum QbspMode { QbspNo = 0, QbspNormal = 1, QbspEntitiesOnly = 2 };
    enum LightMode { LightNo = 0, LightNormal = 1, LightExtra = 2 };
    enum VisMode { VisNo = 0, VisFast = 1, VisFull = 2 };
    static constexpr std::size_t kMaxQuakeParms = 123;

    int qbsp = QbspNo;
    int light = LightNo;
    int vis = VisNo;
    bool noQuake = false;
    std::string quakeParms;
    // Not stored: starts unticked on every run.
    bool visibleOnly = false;
    // Where the compile tools are looked for before the program folder and PATH ("Tools
    // Directory"), and the game program ("Game": a path, or a name looked for in the Quake
    // directory, the tools directory and PATH; empty: "quake" in the Quake directory, else
    // quakespasm or darkplaces as the system installs them).
    std::string toolsDirectory;
    std::string game;

    static RunMapSettings Read(SettingsStore& store);
    void Write(SettingsStore& store) const;
};

// The files of a run. The compile tools work on a MAP file of the run's own beside the
// document: never the document's own file, and never a file there that the editor did not
// write for compiling (those carry kCompileHeader as their first line).
struct RunMapPaths {
    std::string mapPath; // the MAP file the tools compile
    std::string bspPath; // qbsp's BSP beside it
    std::string ptsPath; // qbsp's pointfile beside it, when the map leaks
    std::string mapName; // the document's name: the game's map name and the BSP's name there
    bool isRmf = false;
    // The names beside the document: the extension is matched without regard to case and
    // the rest of the path is kept as it is.
    static std::optional<RunMapPaths> FromDocumentPath(const std::string& documentPath);
    // The same, with a MAP file the run may write: NAME.map when it is free or was written
    // for compiling, else NAME_compile.map (then NAME_compile2.map, ...).
    static std::optional<RunMapPaths> ForCompile(const std::string& documentPath);
};

// What Run Map needs of the document and of the user interface.
class RunMapHost {
public:
    virtual ~RunMapHost() = default;
    virtual std::string DocumentPath() const = 0;
    virtual bool DocumentModified() const = 0;
    // Save (asks for a file name when the document has none). False when not saved.
    virtual bool SaveDocument() = 0;
    // Writes the map as Quake MAP text for compiling to path, header as its first line;
    // false on failure.
    virtual bool ExportMap(const std::string& path, bool visibleOnly,
                           const std::string& header) = 0;
    // Shows the "Run Map" dialog with these choices for these files; nothing when cancelled.
    virtual std::optional<RunMapSettings> ShowRunMapDialog(const RunMapSettings& initial,
                                                           const RunMapPaths& paths) = 0;
    // Opens the options sheet "Configure Brickhaven".
    virtual void ShowOptions() = 0;
    // Shows and activates the process window.
    virtual void ShowProcessWindow() = 0;
    // qbsp left a pointfile: the document shows its leak line.
    virtual void LoadPointfile(const std::string& path) { (void)path; }
    // Polled while a tool runs: true stops it (the process window's Stop button).
    virtual bool StopRequested() { return false; }
    // Called while tools run so the interface stays alive.
    virtual void KeepAlive() {}
};

// Saves, exports, runs qbsp, light and vis with their output in the process window, copies
// the BSP into the game's maps folder and starts the game. Each tool's exit status is
// checked: a tool that is missing, fails or is stopped ends the run there. The run ends with
// a summary line in the process window and in the message window.
class RunMap {
public:
    RunMap(RunMapHost& host, ProcessRunner& runner, ProcessOutput& output);

    // First line of every MAP file a run writes.
    static constexpr const char* kCompileHeader =
        "// Written by Tarno for compiling; Run Map writes this file anew at every run.";

    enum class Outcome {
        NoTextures,
        NotSaved,
        Cancelled,
        ExportFailed,
        // qbsp missing or not started.
        QbspNotStarted,
        // A tool ended with an exit status other than 0, or light or vis was missing.
        ToolFailed,
        NoBsp,
        // qbsp left a pointfile: the map leaks; nothing after qbsp ran.
        Leak,
        CopyFailed,
        GameNotStarted,
        // "Stop" ended a tool; the rest of the run was skipped.
        Stopped,
        Finished,
    };
    Outcome Run();

    // The summary line of the last run ("room1: qbsp 1.2 s, light skipped, vis skipped; no
    // leak").
    const std::string& Summary() const { return m_summary; }

    // The command line as shown in the process window: each argument followed by one blank,
    // paths quoted.
    static std::string CommandLineText(const std::string& program,
                                       const std::vector<std::string>& args);
    // The additional parameters split at blanks.
    static std::vector<std::string> SplitParameters(const std::string& text);

    // Where a compile tool ("qbsp", "light", "vis") is: the tools folder, the program folder,
    // then PATH. Empty when it is in none of them.
    static std::string FindTool(const std::string& name, const std::string& toolsDirectory);
    // Where the tools are looked for, for messages.
    static std::string ToolPlaces(const std::string& toolsDirectory);
    // The game program the settings name, or the one found when none is named; empty when
    // there is none.
    static std::string FindGame(const RunMapSettings& settings, const std::string& quakeDirectory);
    // Whether the file at path is one a run wrote (its first line is kCompileHeader).
    static bool IsCompileFile(const std::string& path);

private:
    // One compile stage: "* Executing TITLE..." and the tool's output. False when the run
    // must stop (the reason is printed and in the summary).
    bool RunStage(const char* title, const std::string& tool, const std::vector<std::string>& args,
                  const std::string& workingDirectory, bool first);
    Outcome Finish(Outcome outcome);

    RunMapHost& m_host;
    ProcessRunner& m_runner;
    ProcessOutput& m_output;
    RunMapSettings m_settings;
    RunMapPaths m_paths;
    std::vector<std::string> m_parts;
    std::string m_tail;
    std::string m_summary;
    bool m_stopped = false;
};
