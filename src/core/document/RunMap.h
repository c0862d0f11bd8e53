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
    // Where the compile tools are looked for before PATH ("Tools Directory"), and the game
    // program ("Game": a path, or a name looked for in the Quake directory, the tools
    // directory and PATH).
    std::string toolsDirectory;
    std::string game = "quake";

    static RunMapSettings Read(SettingsStore& store);
    void Write(SettingsStore& store) const;
};

// What Run Map needs of the document and of the user interface.
class RunMapHost {
public:
    virtual ~RunMapHost() = default;
    virtual std::string DocumentPath() const = 0;
    virtual bool DocumentModified() const = 0;
    // Save (asks for a file name when the document has none). False when not saved.
    virtual bool SaveDocument() = 0;
    // Writes the map as Quake MAP text to path; false on failure.
    virtual bool ExportMap(const std::string& path, bool visibleOnly) = 0;
    // Shows the "Run Map" dialog with these choices; nothing when cancelled.
    virtual std::optional<RunMapSettings> ShowRunMapDialog(const RunMapSettings& initial) = 0;
    // Opens the options sheet "Configure Brickhaven".
    virtual void ShowOptions() = 0;
    // Shows and activates the process window.
    virtual void ShowProcessWindow() = 0;
    // Polled while a tool runs: true stops it (the process window's Stop button).
    virtual bool StopRequested() { return false; }
    // Called while tools run so the interface stays alive.
    virtual void KeepAlive() {}
};

// The map name and file paths Run Map works with, from the document's path. The extension
// is matched without regard to case and the rest of the path is kept as it is.
struct RunMapPaths {
    std::string mapPath;
    std::string bspPath;
    bool isRmf = false;
    static std::optional<RunMapPaths> FromDocumentPath(const std::string& documentPath);
};

// Saves, exports, runs qbsp, light and vis with their output in the process window, copies
// the BSP into the game's maps folder and starts the game.
class RunMap {
public:
    RunMap(RunMapHost& host, ProcessRunner& runner, ProcessOutput& output);

    enum class Outcome {
        NoTextures,
        NotSaved,
        Cancelled,
        ExportFailed,
        QbspNotStarted,
        NoBsp,
        CopyFailed,
        GameNotStarted,
        // "Stop" ended a tool; the rest of the run was skipped.
        Stopped,
        Finished,
    };
    Outcome Run();

    // Runs one tool with its output streamed into the process window. 0, or -1 when the
    // program did not start.
    int RunTool(const std::string& program, const std::vector<std::string>& args);

    // The command line as shown in the process window: each argument followed by one blank,
    // paths quoted.
    static std::string CommandLineText(const std::string& program,
                                       const std::vector<std::string>& args);
    // The additional parameters split at blanks.
    static std::vector<std::string> SplitParameters(const std::string& text);

private:
    std::string FindTool(const std::string& name) const;
    std::string FindGame(const std::string& quakeDirectory) const;

    RunMapHost& m_host;
    ProcessRunner& m_runner;
    ProcessOutput& m_output;
    RunMapSettings m_settings;
    bool m_stopped = false;
};
